#pragma once
// Readers of Windows cursor files, from memory. Every read is bounds-checked; a file
// that is cut short or inconsistent fails instead of reading past its end.
#include <optional>
#include <string_view>

#include "media/cursor_image.h"

// Decodes one icon or cursor image: a PNG file, or a device-independent bitmap (header
// of 40 or more bytes, uncompressed, 1, 4, 8, 24 or 32 bits) followed by its AND mask.
// Pixels whose mask bit is set are transparent; a 32-bit image with any alpha uses its
// alpha instead. Returns an empty surface on failure.
CPixelSurface DecodeIconImage(std::string_view bytes);

// A static cursor file (icon directory of type 2). Of several images the one closest to
// the standard 32 × 32 cursor size is taken, then the one with most colours.
std::optional<SCursorFrame> ReadCurFile(std::string_view file);

// An animated cursor file (RIFF "ACON": "anih", optional "rate" and "seq ", and the
// "fram" list of cursor images). Durations come from jiffies of 1/60 s.
std::optional<SCursorImage> ReadAniFile(std::string_view file);

// A .cur or .ani file, told apart by content.
std::optional<SCursorImage> ReadCursorFile(std::string_view file);
