#include "platform/headless/message_queue.h"

void CMessageQueue::Push(const SQueuedMessage& message) {
  {
    std::lock_guard lock(mutex_);
    messages_.push_back(message);
  }
  posted_.notify_one();
}

std::optional<SQueuedMessage> CMessageQueue::TryPop() {
  std::lock_guard lock(mutex_);
  if (messages_.empty()) return std::nullopt;
  SQueuedMessage message = messages_.front();
  messages_.pop_front();
  return message;
}

void CMessageQueue::WaitUntil(std::optional<std::chrono::steady_clock::time_point> deadline) {
  std::unique_lock lock(mutex_);
  auto hasMessage = [this] { return !messages_.empty(); };
  if (deadline) {
    posted_.wait_until(lock, *deadline, hasMessage);
  } else {
    posted_.wait(lock, hasMessage);
  }
}
