#pragma once
// CMRand: a generalised feedback shift register over 521 words of 32 bits with the
// recurrence x[n] = x[n - 521] ^ x[n - 32]. Cheap, reproducible from a 32-bit seed and
// identical on every platform, which the scrambled state files depend on.
#include <array>
#include <cstdint>

class CMRand {
 public:
  static constexpr int kWordCount = 521;

  CMRand() = default;
  virtual ~CMRand() = default;

  // Fills the state from the seed, warms it up with three regenerations and positions
  // the read index so that the next word starts a fresh array. Costs about 2000 steps.
  void Seed(uint32_t seed);
  // Advances the whole state by 521 words of the recurrence. Costs 521 XORs.
  void Regenerate();
  // Returns the next word of the sequence; every 521st call regenerates the state.
  uint32_t Next();

 private:
  uint32_t m_index = kWordCount - 1;
  std::array<uint32_t, kWordCount> m_words{};
};
