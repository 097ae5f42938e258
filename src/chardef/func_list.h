#pragma once
// The name lists of register keys: function lists with weights, plain name lists, and
// the image-layer name list, as written in the blocks and before names are resolved.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/vector_map.h"

using CNameList = std::vector<std::u16string>;
// A list that is absent when its key is absent or empty.
using COptionalNameList = std::optional<CNameList>;
// Resolved weighted list: entry id -> weight, in the order first named.
using CWeightMap = CVectorMap<int, int>;

// Every piece between the commas of `text`, empty pieces and the last one included:
// "" gives one empty piece.
CNameList SplitAtCommas(std::u16string_view text);
// No list for an empty value, otherwise SplitAtCommas.
COptionalNameList OptionalNameList(std::u16string_view value);

// One item of a weighted list: the name before the first "*" and the weight after it,
// a non-negative decimal integer with blanks around it allowed; 1 when the weight is
// missing or invalid.
struct SWeightedItem {
  std::u16string name;
  int weight = 1;
};
SWeightedItem ParseWeightedItem(std::u16string_view item);

// Whether a media name may be kept, by its extension lower-cased.
bool IsSoundName(std::u16string_view name);  // ".wav"
bool IsImageName(std::u16string_view name);  // ".png" or ".tga"
