// The part of a frame a window sends again: rows and columns that differ, padding past
// a row's width ignored, and the frame's own hint about which rows it touched.
#include "platform/qt/frame_difference.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct SFrame {
  int width;
  int height;
  int stride;
  std::vector<uint32_t> pixels;
  SFrame(int w, int h, int s, uint32_t fill) : width(w), height(h), stride(s), pixels(size_t(s) * size_t(h), fill) {}
  uint32_t& At(int x, int y) { return pixels[size_t(y) * size_t(stride) + size_t(x)]; }
};

SRect Difference(const SFrame& was, const SFrame& now, SRect hint = {}) {
  return DifferingPart(was.pixels.data(), was.stride, now.pixels.data(), now.stride, now.width, now.height, hint);
}

void ExpectRect(const SRect& got, int left, int top, int right, int bottom) {
  EXPECT_EQ(got.left, left);
  EXPECT_EQ(got.top, top);
  EXPECT_EQ(got.right, right);
  EXPECT_EQ(got.bottom, bottom);
}

TEST(FrameDifference, TheBoundsOfEveryChangedPixelAndNothingMore) {
  const SFrame was(9, 7, 9, 0xFF000000u);
  SFrame now(9, 7, 12, 0xFF000000u);
  // Padding past the width differs but is not part of the picture.
  for (int y = 0; y < now.height; ++y) now.At(10, y) = 0x12345678u;
  EXPECT_EQ(Difference(was, now).Height(), 0);

  now.At(4, 3) = 0xFFFFFFFFu;
  ExpectRect(Difference(was, now), 4, 3, 5, 4);
  // A change further left in a later row and further right in an earlier one: the
  // column bounds come from different rows.
  now.At(1, 5) = 1;
  now.At(7, 2) = 1;
  ExpectRect(Difference(was, now), 1, 2, 8, 6);
  // Rows in between that are equal do not shrink the bounds.
  now.At(0, 0) = 1;
  now.At(8, 6) = 1;
  ExpectRect(Difference(was, now), 0, 0, 9, 7);
}

TEST(FrameDifference, RowsOutsideTheHintCountAsEqualAndAHintPastTheFrameIsCut) {
  const SFrame was(6, 8, 6, 0u);
  SFrame now(6, 8, 6, 0u);
  now.At(2, 1) = 7;  // outside the hint below: taken as drawn already
  now.At(3, 5) = 7;
  ExpectRect(Difference(was, now, SRect{0, 4, 6, 7}), 3, 5, 4, 6);
  ExpectRect(Difference(was, now, SRect{-5, -5, 60, 60}), 2, 1, 4, 6);
  // An empty hint says nothing: every row is compared.
  ExpectRect(Difference(was, now, SRect{0, 4, 0, 4}), 2, 1, 4, 6);
  EXPECT_EQ(Difference(was, now, SRect{0, 6, 6, 8}).Height(), 0);
}

}  // namespace
