#pragma once
// Wakes the GUI thread from the frame thread without allocating: an eventfd the GUI
// thread's event loop watches. Many raises before the GUI thread looks count as one,
// so frames coalesce.
#include <functional>
#include <memory>

class QSocketNotifier;

class CFrameSignal {
 public:
  // `onRaised` runs on the GUI thread, once for any number of raises since the last run.
  explicit CFrameSignal(std::function<void()> onRaised);
  ~CFrameSignal();
  CFrameSignal(const CFrameSignal&) = delete;
  CFrameSignal& operator=(const CFrameSignal&) = delete;

  // Safe from any thread; a system call, no allocation.
  void Raise();

 private:
  int fd_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::function<void()> onRaised_;
};
