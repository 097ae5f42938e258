// The glyph atlas: levels of each glyph format, the left-bearing shift, the colour,
// the rows and a full atlas.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "balloon/glyph_cache.h"
#include "balloon/glyph_renderer.h"
#include "fake_font.h"

namespace {

SGlyphStyle StyleOf(CFakeFont& font, int format, uint32_t colour = 0xFF000000u) {
  SGlyphStyle style;
  style.font = &font;
  style.metrics = font.metrics;
  style.format = format;
  style.colour = colour;
  return style;
}

std::set<uint32_t> AlphaLevelsOfCell(const CGlyphRenderer& renderer, const SGlyphCell& cell) {
  std::set<uint32_t> levels;
  for (int y = cell.top; y < cell.bottom; ++y) {
    for (int x = cell.left; x < cell.right; ++x) levels.insert(renderer.Atlas().At(x, y) >> 24);
  }
  return levels;
}

TEST(GlyphRenderer, EachFormatGivesItsNumberOfAlphaLevels) {
  const std::pair<int, size_t> formats[] = {{1, 2}, {4, 5}, {5, 17}, {6, 65}};
  for (auto [format, expected] : formats) {
    CFakeFont font;
    font.advance = 70;  // the whole black box inside the cell
    CGlyphCache cache;
    CGlyphRenderer renderer(200, 100);
    ASSERT_TRUE(renderer.RenderGlyph(U'a', StyleOf(font, format), cache));
    EXPECT_EQ(AlphaLevelsOfCell(renderer, renderer.Cells()[0]).size(), expected) << "format " << format;
  }
}

TEST(GlyphRenderer, GreyLevelsArePremultipliedAndTheColourAlphaIsIgnored) {
  CFakeFont font;
  font.advance = 70;
  CGlyphCache cache;
  CGlyphRenderer renderer(200, 100);
  // Half-transparent red written: the glyph is drawn in opaque red all the same.
  ASSERT_TRUE(renderer.RenderGlyph(U'a', StyleOf(font, 4, 0x40FF0000u), cache));
  const int row = font.metrics.ascent - 10;
  EXPECT_EQ(renderer.Atlas().At(0, row), 0u);                       // level 0 stays clear
  EXPECT_EQ(renderer.Atlas().At(2, row), (127u << 24) | (127u << 16));  // level 2 of 4
  EXPECT_EQ(renderer.Atlas().At(4, row), 0xFFFF0000u);              // full level
  CGlyphRenderer mono(200, 100);
  ASSERT_TRUE(mono.RenderGlyph(U'a', StyleOf(font, 1, 0x0000FF00u), cache));
  EXPECT_EQ(mono.Atlas().At(1, row), 0xFF00FF00u);
  EXPECT_EQ(mono.Atlas().At(0, row), 0u);
}

TEST(GlyphRenderer, NegativeLeftBearingIsShiftedIntoTheCell) {
  CFakeFont font;
  font.originX = -3;
  font.advance = 70;
  CGlyphCache cache;
  CGlyphRenderer renderer(300, 100);
  ASSERT_TRUE(renderer.RenderGlyph(U'a', StyleOf(font, 6), cache));
  ASSERT_TRUE(renderer.RenderGlyph(U'b', StyleOf(font, 6), cache));
  const SGlyphCell& first = renderer.Cells()[0];
  EXPECT_EQ(first.Width(), 73);  // the shift widens the cell
  const int row = font.metrics.ascent - 10;
  // Column 1 of the black box holds level 1: it lands at the cell's left + 1, not 3
  // pixels further left in the cell before it.
  // (level 1 of 64 is alpha 3; unshifted, level 4 would be there).
  EXPECT_EQ(renderer.Atlas().At(first.left + 1, row) >> 24, 3u);
  const SGlyphCell& second = renderer.Cells()[1];
  EXPECT_EQ(second.left, first.right);
  EXPECT_EQ(renderer.Atlas().At(second.left + 1, row) >> 24, 3u);
}

TEST(GlyphRenderer, CellsFillRowsAndAFullAtlasRefusesUntilReset) {
  CFakeFont font;  // cells of 10 x 16
  CGlyphCache cache;
  CGlyphRenderer renderer(25, 40);
  EXPECT_TRUE(renderer.RenderGlyph(U'a', StyleOf(font, 6), cache));
  EXPECT_TRUE(renderer.RenderGlyph(U'b', StyleOf(font, 6), cache));
  EXPECT_TRUE(renderer.RenderGlyph(U'c', StyleOf(font, 6), cache));  // second row
  EXPECT_EQ(renderer.Cells()[2].left, 0);
  EXPECT_EQ(renderer.Cells()[2].top, 16);
  EXPECT_TRUE(renderer.RenderGlyph(U'd', StyleOf(font, 6), cache));
  // A third row would reach past the bottom (32 + 16 > 40).
  EXPECT_FALSE(renderer.RenderGlyph(U'e', StyleOf(font, 6), cache));
  EXPECT_EQ(renderer.Cells().size(), 4u);
  renderer.Reset();
  EXPECT_TRUE(renderer.RenderGlyph(U'e', StyleOf(font, 6), cache));
  EXPECT_EQ(renderer.Cells()[0].top, 0);
}

TEST(GlyphCache, AGlyphIsRasterisedOncePerFontSizeAndFormat) {
  CFakeFont font;
  CGlyphCache cache;
  cache.Glyph(font, U'a', 6);
  cache.Glyph(font, U'a', 6);
  cache.Glyph(font, U'a', 1);
  font.description_.height = -20;
  cache.Glyph(font, U'a', 6);
  EXPECT_EQ(font.calls, 3);
  EXPECT_EQ(cache.Hits(), 1u);
  EXPECT_EQ(cache.Misses(), 3u);
}

}  // namespace
