#pragma once
// Font colours of text styles and of the SetFontColor text command: one of sixteen
// colour names, or a hexadecimal RRGGBB number. Colours are always opaque.
#include <cstdint>
#include <string>
#include <string_view>

#include "support/vector_map.h"

// Lower-case colour name -> opaque 0xAARRGGBB, in a fixed order. Filled on first use
// and shared by every character of the process; read-only afterwards.
using CColourNameTable = CVectorMap<std::u16string, uint32_t>;
const CColourNameTable& ColourNames();

// The colour of `text`: a colour name in any letter case, else the text read as a
// hexadecimal number the way C's wcstol reads base 16 (leading blanks, a sign and "0x"
// allowed, reading stops at the first other character, 0 when there is no digit,
// clamped to the range of a 32-bit long) with the top byte forced to 0xFF. Never fails.
uint32_t ParseColour(std::u16string_view text);
