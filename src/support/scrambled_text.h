#pragma once
// The scrambled text format of the per-character state files: UTF-16 units, little-
// endian on disk, each XORed with a key from a CMRand stream seeded with a fixed seed.
// A fresh stream starts for every file, so each file starts at the stream's beginning.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr uint32_t kScrambleSeed = 51738264;

// XORs each unit with the next key of a fresh stream; applying it twice restores the text.
void ScrambleUnits(std::u16string& units);
// The file bytes for a text: the text and a terminating zero unit, scrambled.
std::string EncodeScrambledText(std::u16string_view text);
// The text before the first zero unit of scrambled file bytes; nullopt when the bytes
// are not a whole number of units or hold no terminating zero (a truncated or foreign
// file), so damaged state is never taken for a shorter valid one.
std::optional<std::u16string> DecodeScrambledText(std::string_view bytes);
