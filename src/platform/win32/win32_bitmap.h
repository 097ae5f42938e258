#pragma once
// Premultiplied pixels of the core as a GDI bitmap. Controls that show bitmaps copy them
// to the screen without blending, so the pixels are laid over a background colour first
// and the bitmap comes out opaque: it looks the same whichever control draws it.
#include "platform/win32/win32_system.h"

#include <cstdint>

// `pixel` (premultiplied 0xAARRGGBB) over the opaque `background` (a COLORREF,
// 0x00BBGGRR), as opaque 0xFFRRGGBB.
uint32_t CompositeOver(uint32_t pixel, COLORREF background);

// A 32-bit top-down DIB section of `width` × `height` pixels, `pixels` rows top to
// bottom, `width` apart, each laid over `background`. Null when there are no pixels,
// a side is not positive or too large, or the system makes no bitmap. The caller
// deletes it with DeleteObject.
HBITMAP CreateOpaqueBitmap(const uint32_t* pixels, int width, int height, COLORREF background);
