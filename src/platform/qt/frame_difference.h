#pragma once
// Where two frames of the same size differ, so a window sends the X server (and the
// compositor repaints) only that part.
#include <cstdint>

#include "platform/geometry.h"

// The smallest rectangle outside which `now` equals `was` (both `width` × `height`,
// rows `wasStride` and `nowStride` words apart); its height is 0 when they are equal.
// When `rowsHint` is not empty, rows outside its top and bottom are taken as equal.
SRect DifferingPart(const uint32_t* was, int wasStride, const uint32_t* now, int nowStride, int width, int height,
                    const SRect& rowsHint);
