#pragma once
// Plain geometry shared by the core and every backend.

struct SPoint {
  int x = 0;
  int y = 0;
};

// Edges as the desktop reports them: right = left + width, bottom = top + height.
struct SRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};
