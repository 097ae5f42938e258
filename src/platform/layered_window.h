#pragma once
// Per-pixel-alpha top-level windows: the characters and their balloons. A backend
// creates them owned by the main window (no taskbar button), shows and stacks them, takes
// one frame of premultiplied pixels at a time, and reports mouse messages in client
// coordinates and commands back to a handler on the main thread. Clicks on fully
// transparent pixels pass through to whatever lies below.
#include <cstdint>
#include <string>

#include "platform/geometry.h"

class IMainWindow;
class ILayeredWindow;

// The mouse messages a layered window reports, with the system's own message numbers.
enum class ELayeredMouse : uint32_t {
  SetCursor = 0x0020,
  MouseMove = 0x0200,
  LeftButtonDown = 0x0201,
  LeftButtonUp = 0x0202,
  RightButtonDown = 0x0204,
  RightButtonUp = 0x0205,
  CaptureChanged = 0x0215,
  ExitSizeMove = 0x0232,
};

// The window procedure of layered windows, implemented by the core. One handler may
// serve many windows; every call arrives on the main thread. A call that returns false
// leaves the message to the system's default handling.
class ILayeredWindowHandler {
 public:
  virtual ~ILayeredWindowHandler() = default;
  // x and y are client coordinates (0 for messages without a position).
  virtual bool OnMouse(ILayeredWindow& window, ELayeredMouse message, int x, int y) = 0;
  virtual bool OnCommand(ILayeredWindow& window, int commandId) = 0;
  // A menu of the window is about to open, or a sound buffer it owns is done; `param`
  // is the message's first parameter.
  virtual void OnMenuOpened(ILayeredWindow& window, intptr_t param) = 0;
  // The window is being destroyed.
  virtual void OnDestroy(ILayeredWindow& window) = 0;
};

// One frame for a layered window: where it goes, how large it is, its pixels (0xAARRGGBB,
// premultiplied, rows top to bottom, `stride` pixels apart) and the constant alpha the
// system multiplies them with when it composes the desktop.
struct SLayeredFrame {
  SPoint position;
  int width = 0;
  int height = 0;
  const uint32_t* pixels = nullptr;  // null: a position-only update
  int stride = 0;
  uint8_t constantAlpha = 255;
  // The part of the pixels that may differ from the window's last full frame, in the
  // frame's own coordinates; empty: any of them. Only a frame of the same size as the
  // last may name a part, and a window may then take just that part (the rest of its
  // pixels are known to be the same).
  SRect changed;
};

class ILayeredWindow {
 public:
  virtual ~ILayeredWindow() = default;
  // Visibility; main thread.
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool Visible() const = 0;
  // Stacking; main thread. BringToTop raises the window to the top of its band;
  // PlaceBelow puts it directly below `other` and into `other`'s band; SetTopmost moves
  // it into (or out of) the band that stays above all ordinary windows.
  virtual void BringToTop() = 0;
  virtual void PlaceBelow(ILayeredWindow& other) = 0;
  virtual void SetTopmost(bool topmost) = 0;
  // Sets position, size, pixels and constant alpha in one step; the pixels are copied
  // before it returns. A frame without pixels only moves the window: size, pixels and
  // constant alpha stay as the last full frame left them, and nothing is copied.
  // Callable from the frame thread. False when the system refused the update. Costs one
  // copy of the frame.
  virtual bool Update(const SLayeredFrame& frame) = 0;
  // Mouse capture; main thread. The window loses capture with a CaptureChanged message.
  virtual void SetCapture() = 0;
  virtual void ReleaseCapture() = 0;
  // Destroys the window (also from the frame thread, after a refused Update): the
  // handler's OnDestroy runs before this returns. The object
  // stays valid (and inert) for the life of the platform.
  virtual void Destroy() = 0;
};

class ILayeredWindows {
 public:
  virtual ~ILayeredWindows() = default;
  // Creates a hidden 1 × 1 window at 0, 0 titled `title`, owned by `owner`, whose
  // messages go to `handler`; null on failure. The window is in its owner's band and
  // follows the owner when it moves between bands (IMainWindow::SetTopmost). Main thread.
  virtual ILayeredWindow* Create(IMainWindow& owner, const std::u16string& title,
                                 ILayeredWindowHandler& handler) = 0;
};
