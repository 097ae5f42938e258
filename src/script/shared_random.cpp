#include "script/shared_random.h"

#include <chrono>
#include <mutex>

#include "script/mrand.h"

namespace {

// The generator is advanced from the frame thread and the main thread; one short lock
// keeps its state whole.
struct SSharedRandom {
  std::mutex mutex;
  CMRand generator;
  bool seeded = false;
};

SSharedRandom& Shared() {
  static SSharedRandom shared;
  return shared;
}

uint32_t ClockMilliseconds() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace

void SeedSharedRandom(uint32_t seed) {
  SSharedRandom& shared = Shared();
  std::lock_guard lock(shared.mutex);
  shared.generator.Seed(seed);
  shared.seeded = true;
}

uint32_t NextSharedRandom() {
  SSharedRandom& shared = Shared();
  std::lock_guard lock(shared.mutex);
  if (!shared.seeded) {
    shared.generator.Seed(ClockMilliseconds());
    shared.seeded = true;
  }
  return shared.generator.Next();
}

int32_t ScaleRandomWord(uint32_t word, int32_t n) {
  // In double, so that n + 1 cannot overflow for the largest n.
  const double fraction = static_cast<double>(word) * (1.0 / 4294967296.0);
  return static_cast<int32_t>(fraction * (static_cast<double>(n) + 1.0));
}
