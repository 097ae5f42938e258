#include "platform/qt/qt_main_window.h"

#include <QTimer>
#include <QWidget>

#include "platform/qt/qt_strings.h"

CQtMainWindow::CQtMainWindow(const SMainWindowDesc& desc, IMainWindowHandler& handler,
                             std::function<void(CQtMainWindow&, bool)> onTopmost,
                             std::function<void(CQtMainWindow&)> onDestroyed)
    : handler_(handler), onTopmost_(std::move(onTopmost)), onDestroyed_(std::move(onDestroyed)) {
  if (desc.taskbarButton) {
    // An ordinary window far off the desktop: only its taskbar button shows.
    widget_ = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
    widget_->setWindowTitle(ToQString(desc.title));
    widget_->setGeometry(-10000, 0, 1, 1);
    widget_->show();
  } else {
    widget_ = std::make_unique<QWidget>(nullptr, Qt::Tool);
    widget_->setWindowTitle(ToQString(desc.title));
    // Created but never shown: other copies of the program still find it by its title.
    (void)widget_->winId();
  }
}

CQtMainWindow::~CQtMainWindow() = default;

void CQtMainWindow::PostAppMessage(uint32_t message, intptr_t param) {
  {
    std::lock_guard lock(postedMutex_);
    posted_.emplace_back(message, param);
  }
  postedSignal_.Raise();
}

void CQtMainWindow::DeliverPosted() {
  for (;;) {
    std::pair<uint32_t, intptr_t> next;
    bool more = false;
    {
      std::lock_guard lock(postedMutex_);
      if (posted_.empty()) return;
      next = posted_.front();
      posted_.pop_front();
      more = !posted_.empty();
    }
    // A handler may run a nested event loop (a message box): the rest wake it, in order,
    // as Qt's own queue would.
    if (more) postedSignal_.Raise();
    if (Alive()) handler_.OnAppMessage(next.first, next.second);
  }
}

void CQtMainWindow::Destroy() {
  if (!alive_.exchange(false, std::memory_order_acq_rel)) return;
  // Destroy may run inside a timer's own timeout: the timers go through the event loop.
  for (auto& [id, timer] : timers_) {
    timer->stop();
    timer.release()->deleteLater();
  }
  timers_.clear();
  handler_.OnDestroy();
  widget_.reset();
  onDestroyed_(*this);
}

void CQtMainWindow::BringToForeground() {
  if (!Alive() || !widget_ || !widget_->isVisible()) return;
  widget_->raise();
  widget_->activateWindow();
}

void CQtMainWindow::SetTopmost(bool topmost) {
  if (Alive()) onTopmost_(*this, topmost);
}

void CQtMainWindow::StartTimer(int timerId, uint32_t intervalMs) {
  if (!Alive()) return;
  auto& timer = timers_[timerId];
  if (!timer) {
    timer = std::make_unique<QTimer>();
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer.get(), &QTimer::timeout, &receiver_, [this, timerId] {
      if (Alive()) handler_.OnTimer(timerId);
    });
  }
  timer->start(static_cast<int>(intervalMs));
}

void CQtMainWindow::StopTimer(int timerId) {
  auto found = timers_.find(timerId);
  if (found != timers_.end()) found->second->stop();
}
