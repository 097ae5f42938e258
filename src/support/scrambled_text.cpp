#include "support/scrambled_text.h"

#include "script/mrand.h"

namespace {

// floor(r * 2^-32 * 255), exact in integer arithmetic: a key from 0 to 254.
char16_t KeyOf(uint32_t r) { return static_cast<char16_t>((uint64_t{r} * 255u) >> 32); }

}  // namespace

void ScrambleUnits(std::u16string& units) {
  CMRand stream;
  stream.Seed(kScrambleSeed);
  for (char16_t& unit : units) unit = static_cast<char16_t>(unit ^ KeyOf(stream.Next()));
}

std::string EncodeScrambledText(std::u16string_view text) {
  std::u16string units(text);
  units += u'\0';
  ScrambleUnits(units);
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (char16_t unit : units) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::optional<std::u16string> DecodeScrambledText(std::string_view bytes) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    const auto low = static_cast<unsigned char>(bytes[2 * i]);
    const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
    units[i] = static_cast<char16_t>(low | (high << 8));
  }
  ScrambleUnits(units);
  const size_t end = units.find(u'\0');
  if (end == std::u16string::npos) return std::nullopt;
  units.resize(end);
  return units;
}
