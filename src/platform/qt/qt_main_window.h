#pragma once
// The program's main window on Qt: a hidden, titled native window (so the census of
// other copies finds it) with the message queue and timers of the core's main window
// procedure. Posted messages wait in our own queue, which the GUI thread empties when
// the queue's eventfd wakes it: the hand-over from the frame thread is a mutex and a
// system call, so nothing crosses threads inside Qt's uninstrumented event queue.
// Messages still waiting when the window is destroyed are dropped.
#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <QObject>

#include "platform/qt/frame_signal.h"
#include "platform/user_interface.h"

class QTimer;
class QWidget;

class CQtMainWindow final : public IMainWindow {
 public:
  // `onTopmost` hears when the window moves between bands; `onDestroyed` after the
  // handler's OnDestroy.
  CQtMainWindow(const SMainWindowDesc& desc, IMainWindowHandler& handler,
                std::function<void(CQtMainWindow&, bool)> onTopmost,
                std::function<void(CQtMainWindow&)> onDestroyed);
  ~CQtMainWindow() override;

  void PostAppMessage(uint32_t message, intptr_t param) override;
  void Destroy() override;
  void BringToForeground() override;
  void SetTopmost(bool topmost) override;
  void StartTimer(int timerId, uint32_t intervalMs) override;
  void StopTimer(int timerId) override;

  IMainWindowHandler& Handler() { return handler_; }
  bool Alive() const { return alive_.load(std::memory_order_acquire); }

 private:
  // GUI thread: hands every message posted so far to the handler, in order.
  void DeliverPosted();

  IMainWindowHandler& handler_;
  std::function<void(CQtMainWindow&, bool)> onTopmost_;
  std::function<void(CQtMainWindow&)> onDestroyed_;
  QObject receiver_;  // lives on the GUI thread: the timers' signals arrive through it
  std::mutex postedMutex_;  // guards posted_
  std::deque<std::pair<uint32_t, intptr_t>> posted_;
  CFrameSignal postedSignal_{[this] { DeliverPosted(); }};
  std::unique_ptr<QWidget> widget_;
  std::map<int, std::unique_ptr<QTimer>> timers_;
  std::atomic<bool> alive_{true};
};
