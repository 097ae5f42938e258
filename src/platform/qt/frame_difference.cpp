#include "platform/qt/frame_difference.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

SRect DifferingPart(const uint32_t* was, int wasStride, const uint32_t* now, int nowStride, int width, int height,
                    const SRect& rowsHint) {
  int top = 0;
  int bottom = height;
  if (rowsHint.Width() > 0 && rowsHint.Height() > 0) {
    top = std::clamp(rowsHint.top, 0, height);
    bottom = std::clamp(rowsHint.bottom, top, height);
  }
  auto wasRow = [&](int y) { return was + static_cast<size_t>(y) * static_cast<size_t>(wasStride); };
  auto nowRow = [&](int y) { return now + static_cast<size_t>(y) * static_cast<size_t>(nowStride); };
  const size_t rowBytes = static_cast<size_t>(width) * sizeof(uint32_t);
  // Rows first, compared from both ends, so the rows in between are never compared whole.
  while (top < bottom && std::memcmp(wasRow(top), nowRow(top), rowBytes) == 0) ++top;
  while (bottom > top && std::memcmp(wasRow(bottom - 1), nowRow(bottom - 1), rowBytes) == 0) --bottom;
  if (top == bottom) return {0, top, width, top};
  // Then the columns: each row is scanned only up to the bounds found so far.
  int left = width;
  int right = 0;
  for (int y = top; y < bottom; ++y) {
    const uint32_t* a = wasRow(y);
    const uint32_t* b = nowRow(y);
    int x = 0;
    while (x < left && a[x] == b[x]) ++x;
    left = x;
    int end = width;
    while (end > right && end > left && a[end - 1] == b[end - 1]) --end;
    right = std::max(right, end);
  }
  return {left, top, std::max(left, right), bottom};
}
