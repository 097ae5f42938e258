#pragma once
// The process-wide state that the main thread and the frame thread share. Each value
// is written by one side and read by the other, so each is atomic.
#include <atomic>

struct SProgramState {
  std::atomic<bool> running{true};         // the frame worker loops while set
  std::atomic<bool> framesEnabled{false};  // per-frame work runs only when set
  std::atomic<bool> errorFlag{false};      // a fatal set-up or script error happened

  // The cursor as the frame thread sampled it last, and its move since the frame before.
  std::atomic<int> cursorX{0};
  std::atomic<int> cursorY{0};
  std::atomic<double> cursorDx{0.0};
  std::atomic<double> cursorDy{0.0};
};
