#include "chardef/colour_parse.h"

#include <array>

#include "support/text.h"

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;
constexpr int64_t kLongMax = 0x7FFFFFFF;
constexpr int64_t kLongMinMagnitude = 0x80000000;

struct SNamedColour {
  std::u16string_view name;
  uint32_t colour;
};

constexpr std::array<SNamedColour, 16> kNamedColours = {{
    {u"black", 0xFF000000u},  {u"gray", 0xFF808080u},  {u"silver", 0xFFC0C0C0u}, {u"white", 0xFFFFFFFFu},
    {u"maroon", 0xFF800000u}, {u"red", 0xFFFF0000u},   {u"purple", 0xFF800080u}, {u"fuchsia", 0xFFFF00FFu},
    {u"green", 0xFF008000u},  {u"lime", 0xFF00FF00u},  {u"olive", 0xFF808000u},  {u"yellow", 0xFFFFFF00u},
    {u"navy", 0xFF000080u},   {u"blue", 0xFF0000FFu},  {u"teal", 0xFF008080u},   {u"aqua", 0xFF00FFFFu},
}};

bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// wcstol(text, nullptr, 16) with a 32-bit long.
int32_t ReadHexLong(std::u16string_view text) {
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) negative = text[pos++] == u'-';
  // "0x" counts only when a digit follows; otherwise the "0" alone is read.
  if (pos + 2 < text.size() && text[pos] == u'0' && (text[pos + 1] == u'x' || text[pos + 1] == u'X') &&
      HexDigit(text[pos + 2]) >= 0) {
    pos += 2;
  }
  int64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    const int digit = HexDigit(text[pos]);
    if (digit < 0) break;
    // Past the range every further digit keeps it past: stop growing.
    if (magnitude <= kLongMinMagnitude) magnitude = magnitude * 16 + digit;
  }
  if (negative) return static_cast<int32_t>(magnitude >= kLongMinMagnitude ? -kLongMinMagnitude : -magnitude);
  return static_cast<int32_t>(magnitude > kLongMax ? kLongMax : magnitude);
}

}  // namespace

const CColourNameTable& ColourNames() {
  static const CColourNameTable table = [] {
    CColourNameTable names;
    for (const SNamedColour& named : kNamedColours) names.Add(std::u16string(named.name), named.colour);
    return names;
  }();
  return table;
}

uint32_t ParseColour(std::u16string_view text) {
  const CColourNameTable& names = ColourNames();
  if (const int index = names.IndexOf(ToLower(std::u16string(text))); index >= 0) return names.ValueAt(index);
  return static_cast<uint32_t>(ReadHexLong(text)) | kOpaque;
}
