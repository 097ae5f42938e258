#pragma once
// What the window procedure of character and balloon windows needs from the
// application: the global mouse setting and the two ways of ending.
class IImageWndHost {
 public:
  virtual ~IImageWndHost() = default;
  // Whether the mouse is enabled for characters (the global setting); main thread.
  virtual bool MouseEnabled() const = 0;
  // The exit menu's quit item: destroys the main window.
  virtual void QuitNow() = 0;
  // An image window was destroyed: the application ends with `code`. Also called from
  // the frame thread, when a refused update destroys a window.
  virtual void PostQuit(int code) = 0;
};
