#include "script/mrand.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A direct transcription of the generator over a growing sequence rather than a ring:
// seeding fills words 0..520, the warm-up and every later output extend the sequence
// with x[n] = x[n-521] ^ x[n-32].
std::vector<uint32_t> ReferenceOutputs(uint32_t seed, size_t count) {
  std::vector<uint32_t> x(521);
  uint32_t s = seed;
  uint32_t u = 0;
  for (int i = 0; i < 17; ++i) {
    for (int j = 0; j < 32; ++j) {
      s = s * 1566083941u + 1u;
      u = (u >> 1) | (s & 0x80000000u);
    }
    x[i] = u;
  }
  x[16] = (x[16] << 23) ^ (x[0] >> 9) ^ x[15];
  for (int i = 17; i < 521; ++i) x[i] = (x[i - 17] << 23) ^ (x[i - 16] >> 9) ^ x[i - 1];
  const size_t warmUp = 3 * 521;
  while (x.size() < 521 + warmUp + count) {
    const size_t n = x.size();
    x.push_back(x[n - 521] ^ x[n - 32]);
  }
  return std::vector<uint32_t>(x.end() - static_cast<std::ptrdiff_t>(count), x.end());
}

TEST(MRand, MatchesTheRecurrenceAcrossRegenerations) {
  for (uint32_t seed : {0u, 1u, 51738264u, 0xFFFFFFFFu}) {
    const size_t count = 3 * 521 + 7;  // crosses several regenerations
    const std::vector<uint32_t> expected = ReferenceOutputs(seed, count);
    CMRand rand;
    rand.Seed(seed);
    for (size_t i = 0; i < count; ++i) {
      ASSERT_EQ(rand.Next(), expected[i]) << "seed " << seed << " output " << i;
    }
  }
}

TEST(MRand, ReseedingRestartsTheSequence) {
  CMRand rand;
  rand.Seed(51738264);
  std::vector<uint32_t> first;
  for (int i = 0; i < 600; ++i) first.push_back(rand.Next());
  rand.Seed(51738264);
  for (int i = 0; i < 600; ++i) ASSERT_EQ(rand.Next(), first[static_cast<size_t>(i)]);
}

}  // namespace
