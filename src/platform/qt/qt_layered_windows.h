#pragma once
// The character and balloon windows of the Qt backend: creates them, keeps the band
// each one is in (ordinary or always on top, which we keep ourselves since the windows
// bypass the window manager), and presents on the GUI thread the frames the frame thread
// could not put into the X windows itself (see CQtLayeredWindow). Calls the frame
// thread makes on a window (show, hide, stacking, capture, destroy) are posted here and
// run on the GUI thread, in order, before the frames handed over with them are presented.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/layered_window.h"
#include "platform/qt/frame_signal.h"

class CQtLayeredWindow;

class CQtLayeredWindows final : public ILayeredWindows {
 public:
  // `showArrow` puts the system arrow back when a window leaves the cursor to the
  // default handling.
  explicit CQtLayeredWindows(std::function<void()> showArrow);
  ~CQtLayeredWindows() override;
  CQtLayeredWindows(const CQtLayeredWindows&) = delete;
  CQtLayeredWindows& operator=(const CQtLayeredWindows&) = delete;

  ILayeredWindow* Create(IMainWindow& owner, const std::u16string& title,
                         ILayeredWindowHandler& handler) override;

  // The main window `owner` moved into or out of the topmost band; its windows follow,
  // as do the ones it creates later.
  void SetOwnerTopmost(const IMainWindow& owner, bool topmost);
  // Whether the windows clip to their shape because no compositor blends them; set by
  // the platform's watch on the compositor, GUI thread.
  void SetBoundingShapes(bool bounding);
  bool BoundingShapes() const { return bounding_.load(std::memory_order_acquire); }
  // Raises the always-on-top windows over the rest, keeping their order.
  void RaiseTopmostBand();
  // `moved` runs (GUI thread) whenever one of the windows sees the pointer move.
  void OnPointerMoved(std::function<void()> moved) { pointerMoved_ = std::move(moved); }

  // Frame thread: between these two, the windows' presents and posted calls wake the
  // GUI thread once, at the end, rather than once for each window (with two cores the
  // GUI thread would otherwise wake, present one window and flush to the X server for
  // every window of every frame), and what the windows sent the X server themselves
  // leaves in one write at the end.
  void BeginFrame() { inFrame_ = true; }
  void EndFrame();

  // Used by the windows.
  // Any thread. One wake-up of the GUI thread serves every window with a new frame.
  void RequestPresent() {
    if (!presentRequested_.exchange(true, std::memory_order_acq_rel)) Wake();
  }
  // Any thread: a window sent requests of its own on Qt's connection; they leave at the
  // end of the frame, or now outside one.
  void FlushAfterFrame();
  void ShowArrow() { showArrow_(); }
  void PointerMoved() {
    if (pointerMoved_) pointerMoved_();
  }
  // Any thread: runs `task` on the GUI thread, after the tasks posted before it.
  void PostToGui(std::function<void()> task);

 private:
  // Raises the signal now, or at the end of the frame the calling thread is in.
  void Wake();
  void OnSignal();
  void RunPostedTasks();
  void PresentAll();

  std::function<void()> showArrow_;
  std::function<void()> pointerMoved_;
  std::mutex tasksMutex_;  // guards tasks_
  std::vector<std::function<void()>> tasks_;
  CFrameSignal signal_;
  std::atomic<bool> presentRequested_{false};
  // Frame thread only: inside BeginFrame/EndFrame, and whether a wake-up waits for the end.
  // Other threads (the GUI thread, tests) are never in a frame and wake at once.
  static thread_local bool inFrame_;
  static thread_local bool wakeAtEnd_;
  static thread_local bool flushAtEnd_;
  std::vector<std::unique_ptr<CQtLayeredWindow>> windows_;  // GUI thread only
  std::vector<const IMainWindow*> topmostOwners_;
  std::atomic<bool> bounding_{false};  // written on the GUI thread, read by presents on any
};
