#pragma once
// A character or balloon window on the Qt desktop: a frameless, translucent top-level
// widget outside the window manager's control (no taskbar or pager entry, never the
// keyboard focus). It keeps the X input shape (and, without a compositor, the bounding
// shape) in step with the pixels, so clicks on transparent pixels reach what lies below.
//
// On X11 the frame thread presents a frame itself: it puts the changed part straight
// into the X window, moves it, reshapes it and sets its constant alpha on Qt's
// connection (libxcb is thread-safe) while the GUI thread sleeps, so a walking
// character or a fading balloon costs no GUI wake-up a frame. The X window only grows:
// a smaller frame sits in its top-left corner. A frame takes the GUI thread's way
// instead (handed over into a reused buffer, presented when the frame signal wakes it)
// when it needs Qt: a window too small for it, pixels Qt paints (no X11), or while the
// GUI thread is showing, hiding, resizing or presenting the window itself.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/layered_window.h"
#include "platform/qt/alpha_shape.h"

class CQtLayeredWidget;
class CQtLayeredWindows;
class CX11WindowImage;
struct xcb_connection_t;

class CQtLayeredWindow final : public ILayeredWindow {
 public:
  CQtLayeredWindow(CQtLayeredWindows& windows, IMainWindow& owner, const std::u16string& title,
                   ILayeredWindowHandler& handler, bool topmost);
  ~CQtLayeredWindow() override;
  CQtLayeredWindow(const CQtLayeredWindow&) = delete;
  CQtLayeredWindow& operator=(const CQtLayeredWindow&) = delete;

  void Show() override;
  void Hide() override;
  bool Visible() const override { return visible_.load(std::memory_order_acquire); }
  void BringToTop() override;
  void PlaceBelow(ILayeredWindow& other) override;
  void SetTopmost(bool topmost) override;
  bool Update(const SLayeredFrame& frame) override;
  void SetCapture() override;
  void ReleaseCapture() override;
  void Destroy() override;

  // GUI thread.
  // Shows what the frame thread handed over since the last call.
  void Present();
  // Sets the shape again, e.g. after a compositor came or went.
  void ReapplyShape();
  // Passes a mouse message from the widget to the handler; false when it was left to
  // the default handling or the window is gone.
  bool DeliverMouse(ELayeredMouse message, int x, int y);
  void DeliverCommand(int commandId);
  void DeliverMenuOpened(intptr_t param);
  bool Alive() const { return alive_.load(std::memory_order_acquire); }
  bool Topmost() const { return topmost_; }
  void SetTopmostFlag(bool topmost) { topmost_ = topmost; }
  const IMainWindow& OwnerWindow() const { return owner_; }
  // The X window, 0 once destroyed.
  uint32_t NativeId() const;
  // The widget lost its mouse grab without ReleaseCapture (e.g. a pop-up menu took it).
  void OnGrabLost();
  bool HasCapture() const { return captured_; }
  // The cursor goes back to the system arrow (unless the window is gone).
  void ShowArrowIfAlive();
  // The widget saw the pointer move over it or, holding the capture, anywhere.
  void NotePointerMoved();
  // For the widget's paint: runs `use(pixels, width, height)` on the pixels shown now,
  // which no present changes meanwhile.
  template <typename Use>
  void WithShownPixels(Use use) const {
    std::lock_guard lock(mutex_);
    use(shown_.pixels.data(), shown_.width, shown_.height);
  }
  // Qt painted the window (GUI thread). Its pixels reach the server when Qt flushes,
  // after a frame the frame thread may have put meanwhile: the shown pixels are put
  // again once Qt is done, so the window never keeps an older frame than the last.
  void AfterQtPainted();
  // What is shown now, for tests.
  std::vector<uint32_t> ShownPixels() const;
  const uint32_t* ShownBuffer() const;
  int ShownWidth() const;
  int ShownHeight() const;
  SPoint ShownPosition() const;

 private:
  struct SFrameSlot {
    std::vector<uint32_t> pixels;
    int width = 1;
    int height = 1;
    std::vector<SShapeRect> shape;
  };
  void DestroyOnGuiThread();
  // Under xMutex_ and mutex_, nothing waiting for the GUI thread, and the window already
  // the frame's size and constant alpha: shows the part `changed` of the frame from the
  // calling thread.
  void PresentHere(const SLayeredFrame& frame, const SRect& changed);
  // Under xMutex_: moves the X window from the calling thread.
  void MoveHere(SPoint position);
  // Under xMutex_: sends appliedShape_.
  void ApplyShape();
  // Under xMutex_: the window's constant alpha, from the calling thread on X11.
  void SetOpacity(uint8_t alpha);
  // Under xMutex_, the shown pixels still: sends their shape if it changed, clears what
  // earlier frames left beyond them and puts their part `changed` into the X window.
  // False when the pixels cannot go to the X server, and Qt must paint them.
  bool SendShown(const SRect& changed);
  // Under xMutex_, X11: clears what earlier frames drew outside a frame of `width` ×
  // `height` in the window's top-left corner.
  void ClearOutside(int width, int height);
  // Runs `call` now on the GUI thread, or posts it there from any other.
  template <typename Call>
  void OnGui(Call call);
  // Runs a Qt call that shows, hides or resizes the window with the server's structure
  // notifications on, so Qt hears of it, and turns them off again for our own moves.
  // The requests go out in order on Qt's connection, so nothing in between is missed.
  // Under xMutex_.
  template <typename Call>
  void WithQtGeometry(Call call);
  // The smallest rectangle outside which `frame` equals the pixels last handed over (all
  // of it when its size or alpha differs); empty when it shows exactly those. Under mutex_.
  // A different constant alpha counts as all of it changed when `alphaCounts`.
  SRect ChangedPart(const SLayeredFrame& frame, bool alphaCounts) const;

  CQtLayeredWindows& windows_;
  IMainWindow& owner_;
  ILayeredWindowHandler& handler_;

  // Guards what the X window shows and its state on the server: held by the GUI thread
  // while it shows, hides, resizes, reshapes or presents the window, tried by a frame
  // thread that presents itself (which takes the GUI thread's way when it is held).
  // Recursive: a Qt call under it may deliver an event whose handler updates the window.
  // Taken before mutex_.
  mutable std::recursive_mutex xMutex_;
  bool presentHere_ = false;  // the window takes frames from other threads (X11)
  int windowWidth_ = 1;       // the X window's size as last set
  int windowHeight_ = 1;
  int coveredWidth_ = 1;      // the part of it the last frame presented covers
  int coveredHeight_ = 1;
  SPoint shownPosition_;
  uint8_t shownAlpha_ = 255;
  std::vector<SShapeRect> appliedShape_;
  bool shapeApplied_ = false;
  bool boundingApplied_ = false;
  std::vector<SShapeRect> shapeScratch_;

  mutable std::mutex mutex_;  // guards the pixel buffers and the fields up to pendingChanged_
  SFrameSlot pending_;
  SFrameSlot shown_;
  bool pendingPixels_ = false;
  SPoint pendingPosition_;
  uint8_t pendingAlpha_ = 255;
  SRect pendingChanged_;  // the part the pending pixels change against the shown ones
  std::atomic<bool> presentQueued_{false};

  // GUI thread only.
  bool topmost_ = false;
  bool captured_ = false;
  uint32_t qtEventMask_ = 0;  // 0: unknown, moves go through Qt
  CQtLayeredWidget* widget_ = nullptr;  // deleted through the event loop when destroyed
  uint32_t xid_ = 0;                     // the X window, for any thread
  xcb_connection_t* connection_ = nullptr;  // Qt's, on X11
  // New pixels go straight to the X window when it takes them; else Qt repaints. Under
  // xMutex_.
  std::unique_ptr<CX11WindowImage> image_;

  std::atomic<bool> alive_{true};
  std::atomic<bool> visible_{false};
};
