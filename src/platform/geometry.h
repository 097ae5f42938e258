#pragma once
// Plain geometry shared by the core and every backend.

struct SPoint {
  int x = 0;
  int y = 0;
};

// `value` held to the range of int: sums and differences of edges that come from files
// saturate instead of overflowing.
inline int SaturatedInt(long long value) {
  return value > 2147483647LL ? 2147483647 : value < -2147483648LL ? -2147483647 - 1 : static_cast<int>(value);
}

// Edges as the desktop reports them: right = left + width, bottom = top + height.
struct SRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return SaturatedInt(static_cast<long long>(right) - left); }
  int Height() const { return SaturatedInt(static_cast<long long>(bottom) - top); }
};

// `rect` cut to the area from (0, 0) to (width, height).
inline SRect ClippedTo(const SRect& rect, int width, int height) {
  return {rect.left > 0 ? rect.left : 0, rect.top > 0 ? rect.top : 0, rect.right < width ? rect.right : width,
          rect.bottom < height ? rect.bottom : height};
}
