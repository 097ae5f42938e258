#include "script/mrand.h"

namespace {
// Lag of the shorter tap of the recurrence.
constexpr int kShortLag = 32;
}  // namespace

void CMRand::Seed(uint32_t seed) {
  // The first 17 words take the top bit of 32 consecutive steps of a linear
  // congruential generator; the bits keep flowing from one word into the next.
  uint32_t s = seed;
  uint32_t u = 0;
  for (int i = 0; i <= 16; ++i) {
    for (int bit = 0; bit < 32; ++bit) {
      s = s * 1566083941u + 1u;
      u = (u >> 1) | (s & 0x80000000u);
    }
    m_words[i] = u;
  }
  m_words[16] = (m_words[16] << 23) ^ (m_words[0] >> 9) ^ m_words[15];
  for (int i = 17; i < kWordCount; ++i) {
    m_words[i] = (m_words[i - 17] << 23) ^ (m_words[i - 16] >> 9) ^ m_words[i - 1];
  }
  for (int warmUp = 0; warmUp < 3; ++warmUp) Regenerate();
  m_index = kWordCount - 1;
}

void CMRand::Regenerate() {
  // The first 32 words still need the previous array's tail; the rest reuse words
  // already renewed in this pass.
  for (int i = 0; i < kShortLag; ++i) m_words[i] ^= m_words[i + kWordCount - kShortLag];
  for (int i = kShortLag; i < kWordCount; ++i) m_words[i] ^= m_words[i - kShortLag];
}

uint32_t CMRand::Next() {
  ++m_index;
  if (m_index >= static_cast<uint32_t>(kWordCount)) {
    Regenerate();
    m_index = 0;
  }
  return m_words[m_index];
}
