#pragma once
// The metadata keys of config.ini. Lines are "key=value" after normalisation; the
// first line of a key wins, keys match exactly, and a missing key reads as empty.
#include <string_view>

#include "chardef/chara_info.h"
#include "chardef/chara_numbering.h"
#include "support/string_list.h"

// Fills `info` from config.ini's normalised lines: texts, about-image position, line
// height, cursor and button-sound names, and the group and character numbers (which
// may add entries to `numbering`). Never fails: a bad value falls back as each key
// allows. Media named here are not loaded.
void ApplyCharaConfig(const CStringList& lines, CCharaInfo& info, SCharaNumbering& numbering);

// A config.ini integer: blanks around it ignored, an optional leading "-", then
// decimal digits; anything else, or nothing, is 0.
int LenientInteger(std::u16string_view text);

// The line height for a LineHeight value and the move area's height: "N" or an empty
// value follow the move area (automatic); otherwise a decimal number clamped to
// [10, areaHeight] with the lower bound applied first; an invalid number gives 10.
struct SLineHeight {
  int height;
  bool automatic;
};
SLineHeight ParseLineHeight(std::u16string_view value, int areaHeight);

// Whether a button-sound name may be kept: its extension, lower-cased, is ".wav".
bool IsWavName(std::u16string_view name);
