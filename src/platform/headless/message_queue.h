#pragma once
// The main thread's queue of posted messages: any thread pushes without waiting for the
// main thread; the message loop pops them in the order they were posted.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

class CHeadlessMainWindow;

struct SQueuedMessage {
  CHeadlessMainWindow* window = nullptr;  // null for the quit message
  uint32_t message = 0;
  intptr_t param = 0;  // the quit code for the quit message
};

class CMessageQueue {
 public:
  void Push(const SQueuedMessage& message);
  std::optional<SQueuedMessage> TryPop();
  // Waits until a message is queued or, when given, `deadline` has passed.
  void WaitUntil(std::optional<std::chrono::steady_clock::time_point> deadline);

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<SQueuedMessage> messages_;
};
