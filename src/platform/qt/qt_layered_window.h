#pragma once
// A character or balloon window on the Qt desktop: a frameless, translucent top-level
// widget outside the window manager's control (no taskbar or pager entry, never the
// keyboard focus). The frame thread hands each frame over into a reused buffer; the GUI
// thread presents it when the frame signal wakes it (on X11 by putting the changed rows
// straight into the X window), moves the window for position-only frames and keeps the X input shape (and, without a compositor, the bounding shape) in
// step with the pixels, so clicks on transparent pixels reach what lies below.
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
  // For the widget's paint: the pixels shown now.
  const std::vector<uint32_t>& ShownPixels() const { return shown_.pixels; }
  int ShownWidth() const { return shown_.width; }
  int ShownHeight() const { return shown_.height; }
  SPoint ShownPosition() const { return shownPosition_; }

 private:
  struct SFrameSlot {
    std::vector<uint32_t> pixels;
    int width = 1;
    int height = 1;
    std::vector<SShapeRect> shape;
  };
  void DestroyOnGuiThread();
  // Runs `call` now on the GUI thread, or posts it there from any other.
  template <typename Call>
  void OnGui(Call call);
  // Runs a Qt call that shows, hides or resizes the window with the server's structure
  // notifications on, so Qt hears of it, and turns them off again for our own moves.
  // The requests go out in order on Qt's connection, so nothing in between is missed.
  template <typename Call>
  void WithQtGeometry(Call call);
  // The smallest rectangle outside which `frame` equals the pixels last handed over (all
  // of it when its size or alpha differs); empty when it shows exactly those. Under mutex_.
  SRect ChangedPart(const SLayeredFrame& frame) const;

  CQtLayeredWindows& windows_;
  IMainWindow& owner_;
  ILayeredWindowHandler& handler_;

  std::mutex mutex_;  // guards pending_ and the fields up to pendingChanged_
  SFrameSlot pending_;
  bool pendingPixels_ = false;
  SPoint pendingPosition_;
  uint8_t pendingAlpha_ = 255;
  SRect pendingChanged_;  // the part the pending pixels change against the shown ones
  std::atomic<bool> presentQueued_{false};

  // GUI thread only.
  SFrameSlot shown_;
  SPoint shownPosition_;
  uint8_t shownAlpha_ = 255;
  std::vector<SShapeRect> appliedShape_;
  bool shapeApplied_ = false;
  bool boundingApplied_ = false;
  bool topmost_ = false;
  bool captured_ = false;
  uint32_t qtEventMask_ = 0;  // 0: unknown, moves go through Qt
  CQtLayeredWidget* widget_ = nullptr;  // deleted through the event loop when destroyed
  // New pixels go straight to the X window when it takes them; else Qt repaints.
  std::unique_ptr<CX11WindowImage> image_;

  std::atomic<bool> alive_{true};
  std::atomic<bool> visible_{false};
};
