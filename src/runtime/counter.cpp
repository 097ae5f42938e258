#include "runtime/counter.h"

#include <algorithm>
#include <cstdlib>

ICounter::~ICounter() = default;

void CRootCounter::StepForward() {
  const int direction = end_ >= start_ ? 1 : -1;
  // Summed in 64 bits: a large step near the end of the int range must clamp, not wrap.
  const int64_t next = int64_t{value_} + Distance(direction);
  value_ = static_cast<int>(direction > 0 ? std::min<int64_t>(next, end_) : std::max<int64_t>(next, end_));
}

void CRootCounter::StepBack() {
  const int direction = end_ >= start_ ? -1 : 1;
  const int64_t next = int64_t{value_} + Distance(direction);
  value_ = static_cast<int>(direction < 0 ? std::max<int64_t>(next, start_) : std::min<int64_t>(next, start_));
}

void CRootCounter::Restart(int end) {
  value_ = 0;
  end_ = end;
  step_ = 1;
  subCount_ = 0;
}

int64_t CRootCounter::Distance(int direction) {
  if (step_ > 0) return int64_t{step_} * direction;
  subCount_ += direction;
  // -INT32_MIN does not fit an int; capping the period keeps the sub-count from overflowing.
  const int64_t every = std::min<int64_t>(-int64_t{step_}, INT32_MAX);
  if (std::llabs(subCount_) < every) return 0;
  subCount_ = 0;
  return direction;
}
