#include "chardef/func_list.h"

#include "support/number.h"
#include "support/path.h"
#include "support/text.h"

CNameList SplitAtCommas(std::u16string_view text) {
  CNameList pieces;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(u',', start);
    if (comma == std::u16string_view::npos) {
      pieces.emplace_back(text.substr(start));
      return pieces;
    }
    pieces.emplace_back(text.substr(start, comma - start));
    start = comma + 1;
  }
}

COptionalNameList OptionalNameList(std::u16string_view value) {
  if (value.empty()) return std::nullopt;
  return SplitAtCommas(value);
}

SWeightedItem ParseWeightedItem(std::u16string_view item) {
  SWeightedItem parsed;
  const size_t star = item.find(u'*');
  parsed.name = std::u16string(item.substr(0, star));
  if (star != std::u16string_view::npos) {
    const int weight = ToUnsignedOrMinusOne(item.substr(star + 1));
    // Weights beyond INT_MAX wrap to negative numbers; they are as invalid as text.
    if (weight >= 0) parsed.weight = weight;
  }
  return parsed;
}

bool IsSoundName(std::u16string_view name) { return ToLower(ExtensionOf(name)) == u".wav"; }

bool IsImageName(std::u16string_view name) {
  const std::u16string extension = ToLower(ExtensionOf(name));
  return extension == u".png" || extension == u".tga";
}
