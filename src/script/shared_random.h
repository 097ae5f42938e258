#pragma once
// The process-wide random generator that the script built-in Rand and the character
// runtime draw from. Seeded from the clock on first use unless seeded before.
#include <cstdint>

// Restarts the shared sequence from `seed`.
void SeedSharedRandom(uint32_t seed);
// The next word of the shared sequence. Safe from any thread.
uint32_t NextSharedRandom();
// Scales a word to 0..n (n >= 0) or n+1..0 (n < 0): (word * 2^-32) * (n + 1), truncated
// toward zero.
int32_t ScaleRandomWord(uint32_t word, int32_t n);
