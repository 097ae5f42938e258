#include "platform/headless/timer_schedule.h"

#include <algorithm>

void CTimerSchedule::Start(CHeadlessMainWindow* window, int timerId, uint32_t intervalMs,
                           uint64_t nowMs) {
  Stop(window, timerId);
  const uint32_t interval = std::max(intervalMs, kMinimumIntervalMs);
  timers_.push_back({window, timerId, interval, nowMs + interval, nextOrder_++});
}

void CTimerSchedule::Stop(CHeadlessMainWindow* window, int timerId) {
  std::erase_if(timers_, [&](const STimer& t) { return t.window == window && t.timerId == timerId; });
}

void CTimerSchedule::StopAll(CHeadlessMainWindow* window) {
  std::erase_if(timers_, [&](const STimer& t) { return t.window == window; });
}

std::optional<uint64_t> CTimerSchedule::NextDue() const {
  if (timers_.empty()) return std::nullopt;
  return std::min_element(timers_.begin(), timers_.end(),
                          [](const STimer& a, const STimer& b) { return a.dueMs < b.dueMs; })
      ->dueMs;
}

std::optional<STimerDue> CTimerSchedule::PopDue(uint64_t nowMs) {
  auto earliest = timers_.end();
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->dueMs > nowMs) continue;
    if (earliest == timers_.end() || it->dueMs < earliest->dueMs ||
        (it->dueMs == earliest->dueMs && it->order < earliest->order)) {
      earliest = it;
    }
  }
  if (earliest == timers_.end()) return std::nullopt;
  earliest->dueMs += earliest->intervalMs;
  if (earliest->dueMs <= nowMs) earliest->dueMs = nowMs + earliest->intervalMs;
  return STimerDue{earliest->window, earliest->timerId};
}
