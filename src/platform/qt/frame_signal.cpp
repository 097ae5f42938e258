#include "platform/qt/frame_signal.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cstdint>
#include <cstdio>

CFrameSignal::CFrameSignal(std::function<void()> onRaised) : onRaised_(std::move(onRaised)) {
  fd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (fd_ < 0) {
    std::perror("zelvotta: eventfd");
    return;
  }
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    uint64_t count = 0;
    // Reading resets the counter: later raises wake the loop again.
    if (::read(fd_, &count, sizeof count) == static_cast<ssize_t>(sizeof count)) onRaised_();
  });
}

CFrameSignal::~CFrameSignal() {
  notifier_.reset();
  if (fd_ >= 0) ::close(fd_);
}

void CFrameSignal::Raise() {
  if (fd_ < 0) return;
  const uint64_t one = 1;
  // A full counter (never in practice) only means a wake-up is already pending.
  [[maybe_unused]] const ssize_t written = ::write(fd_, &one, sizeof one);
}
