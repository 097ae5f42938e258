#include "runtime/weighted_pick.h"

#include <cstdint>

#include "script/shared_random.h"

namespace {

constexpr double kWordScale = 1.0 / 4294967296.0;

}  // namespace

int PickByWeight(const CWeightMap& list) {
  if (list.Count() == 0) return -1;
  double sum = 0.0;
  for (int i = 0; i < list.Count(); ++i) sum += list.ValueAt(i);
  const auto r = static_cast<int64_t>(static_cast<double>(NextSharedRandom()) * kWordScale * sum);
  int64_t running = 0;
  for (int i = 0; i < list.Count(); ++i) {
    const int64_t weight = list.ValueAt(i);
    if (running <= r && r < running + weight) return list.KeyAt(i);
    running += weight;
  }
  return -1;
}
