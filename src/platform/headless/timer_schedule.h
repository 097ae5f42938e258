#pragma once
// The main window timers, kept on the main thread: each repeats at its interval and
// falls due at its own time on whatever clock the message loop uses.
#include <cstdint>
#include <optional>
#include <vector>

class CHeadlessMainWindow;

struct STimerDue {
  CHeadlessMainWindow* window = nullptr;
  int timerId = 0;
};

class CTimerSchedule {
 public:
  // Shorter intervals are raised to this, as the system does, so that a zero interval
  // cannot stall a virtual clock.
  static constexpr uint32_t kMinimumIntervalMs = 10;

  // Starts or restarts the timer; its first expiry is `nowMs + intervalMs`.
  void Start(CHeadlessMainWindow* window, int timerId, uint32_t intervalMs, uint64_t nowMs);
  void Stop(CHeadlessMainWindow* window, int timerId);
  void StopAll(CHeadlessMainWindow* window);
  // The earliest expiry, if any timer runs.
  std::optional<uint64_t> NextDue() const;
  // The earliest timer due at or before `nowMs` (ties in the order they were started),
  // rescheduled for its next expiry. A timer that fell behind by more than an interval
  // fires once and resumes from `nowMs`, like a system timer.
  std::optional<STimerDue> PopDue(uint64_t nowMs);

 private:
  struct STimer {
    CHeadlessMainWindow* window;
    int timerId;
    uint32_t intervalMs;
    uint64_t dueMs;
    uint64_t order;
  };
  std::vector<STimer> timers_;
  uint64_t nextOrder_ = 0;
};
