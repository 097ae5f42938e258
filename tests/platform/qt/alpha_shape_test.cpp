// The shape of a window from its alpha: what reaches the X server decides where clicks
// land and, without a compositor, what of the window shows.
#include "platform/qt/alpha_shape.h"

#include <gtest/gtest.h>

#include <random>
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

// Whether the list is YX-banded, as the X server is told it is (it refuses others): in
// order of y, then x; rectangles of a band share y and height and do not overlap; bands
// do not overlap.
void ExpectYXBanded(const std::vector<SShapeRect>& rects) {
  for (size_t i = 1; i < rects.size(); ++i) {
    const SShapeRect& a = rects[i - 1];
    const SShapeRect& b = rects[i];
    if (a.y == b.y) {
      EXPECT_EQ(a.height, b.height) << "rectangle " << i;
      EXPECT_LT(a.x + a.width, b.x) << "rectangle " << i << " touches or overlaps the one before";
    } else {
      EXPECT_GE(b.y, a.y + a.height) << "rectangle " << i << " starts inside the band before";
    }
  }
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
  ExpectYXBanded(rects);
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

// Redoing only the changed rows must give exactly the list a full pass gives, whatever
// the rows around them hold: bands cut at either edge of the change, bands that join
// across it, rows that empty or fill.
TEST(AlphaShape, RedoingTheChangedRowsGivesTheFullPassesList) {
  std::mt19937 random(7);
  const int width = 9;
  const int height = 12;
  std::vector<SShapeRect> full;
  std::vector<SShapeRect> again;
  std::vector<SShapeRect> scratch;
  for (int round = 0; round < 3000; ++round) {
    // Few distinct rows, so that equal neighbours (and so bands) are common.
    std::vector<uint32_t> rows[3];
    for (auto& row : rows) {
      row.resize(width);
      for (uint32_t& pixel : row) pixel = random() % 2 != 0 ? 0xFF000000u : 0u;
    }
    std::vector<uint32_t> before(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
      const auto& row = rows[random() % 3];
      std::copy(row.begin(), row.end(), before.begin() + y * width);
    }
    const int top = static_cast<int>(random() % (height + 1));
    const int bottom = top + static_cast<int>(random() % (height + 1 - top));
    std::vector<uint32_t> after = before;
    for (int y = top; y < bottom; ++y) {
      const auto& row = rows[random() % 3];
      std::copy(row.begin(), row.end(), after.begin() + y * width);
      if (random() % 4 == 0) after[static_cast<size_t>(y) * width + random() % width] ^= 0xFF000000u;
    }
    AlphaShapeRects(before.data(), width, height, width, again);
    AlphaShapeRectsAgain(after.data(), width, height, width, top, bottom, again, scratch);
    AlphaShapeRects(after.data(), width, height, width, full);
    ASSERT_EQ(again, full) << "round " << round << ", rows " << top << " to " << bottom;
    ExpectYXBanded(full);
  }
}

}  // namespace
