// The shape of a window from its alpha: what reaches the X server decides where clicks
// land and, without a compositor, what of the window shows.
#include "platform/qt/alpha_shape.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Pixels from text rows: '#' opaque, '+' half transparent, '.' fully transparent.
std::vector<uint32_t> Pixels(const std::vector<std::string>& rows) {
  std::vector<uint32_t> pixels;
  for (const std::string& row : rows) {
    for (char c : row) pixels.push_back(c == '#' ? 0xFF102030u : c == '+' ? 0x01000000u : 0u);
  }
  return pixels;
}

std::vector<SShapeRect> Shape(const std::vector<std::string>& rows) {
  const std::vector<uint32_t> pixels = Pixels(rows);
  const int width = static_cast<int>(rows.at(0).size());
  std::vector<SShapeRect> out;
  AlphaShapeRects(pixels.data(), width, static_cast<int>(rows.size()), width, out);
  return out;
}

// Whether the rectangles cover exactly the pixels that are not fully transparent, each
// pixel once.
void ExpectCoversExactly(const std::vector<std::string>& rows, const std::vector<SShapeRect>& rects) {
  const int width = static_cast<int>(rows[0].size());
  std::vector<int> covered(rows.size() * static_cast<size_t>(width), 0);
  for (const SShapeRect& r : rects) {
    for (int y = r.y; y < r.y + r.height; ++y) {
      for (int x = r.x; x < r.x + r.width; ++x) ++covered[static_cast<size_t>(y) * width + x];
    }
  }
  for (size_t y = 0; y < rows.size(); ++y) {
    for (int x = 0; x < width; ++x) {
      EXPECT_EQ(covered[y * width + x], rows[y][x] == '.' ? 0 : 1) << "at " << x << "," << y;
    }
  }
}

TEST(AlphaShape, CoversEveryVisiblePixelOnceAndMergesRepeatedRows) {
  const std::vector<std::string> rows = {
      "..##..",
      "..##..",
      "#+..##",
      "#+..##",
      "......",
      "..##..",
  };
  const std::vector<SShapeRect> rects = Shape(rows);
  ExpectCoversExactly(rows, rects);
  // Rows 0–1 are one band of one rectangle, rows 2–3 one band of two, row 5 one more:
  // the list stays as short as the picture allows.
  ASSERT_EQ(rects.size(), 4u);
  EXPECT_EQ(rects[0], (SShapeRect{2, 0, 2, 2}));
  EXPECT_EQ(rects[1], (SShapeRect{0, 2, 2, 2}));
  EXPECT_EQ(rects[2], (SShapeRect{4, 2, 2, 2}));
  EXPECT_EQ(rects[3], (SShapeRect{2, 5, 2, 1}));
}

TEST(AlphaShape, SameRunsAfterAGapStartANewBand) {
  const std::vector<std::string> rows = {"#..", "...", "#.."};
  const std::vector<SShapeRect> rects = Shape(rows);
  ExpectCoversExactly(rows, rects);
  EXPECT_EQ(rects.size(), 2u);
}

TEST(AlphaShape, EdgesAndEmptyPictures) {
  ExpectCoversExactly({"###", "#.#", "###"}, Shape({"###", "#.#", "###"}));
  EXPECT_TRUE(Shape({"...", "..."}).empty());

  // The stride is honoured: the padding pixels beyond the width never count.
  const std::vector<uint32_t> padded = {0, 0xFF000000u, 0xFF000000u, 0xFF000000u};
  std::vector<SShapeRect> out = {SShapeRect{9, 9, 9, 9}};
  AlphaShapeRects(padded.data(), 1, 2, 2, out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0], (SShapeRect{0, 1, 1, 1}));

  // Unusable input gives an empty shape (the window takes no clicks) and no crash.
  AlphaShapeRects(nullptr, 4, 4, 4, out);
  EXPECT_TRUE(out.empty());
  AlphaShapeRects(padded.data(), 2, 2, 1, out);
  EXPECT_TRUE(out.empty());
}

}  // namespace
