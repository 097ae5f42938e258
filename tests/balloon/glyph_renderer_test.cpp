// The glyph atlas: levels of each glyph format, the left-bearing shift, the colour,
// the rows and a full atlas; and glyphs from the real FreeType faces.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "balloon/glyph_cache.h"
#include "balloon/glyph_renderer.h"
#include "fake_font.h"
#include "platform/freetype/freetype_text.h"

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

// Whether `file` is IPAGothic's, which fontconfig may reach through a link.
bool IsIpaGothic(const std::string& file) {
  std::error_code error;
  const std::filesystem::path real = std::filesystem::canonical(file, error);
  return !error && real.filename().string().find("ipag") != std::string::npos;
}

// The real faces: skipped where fontconfig has none of the faces the project installs.
class FreeTypeGlyphs : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!IsIpaGothic(text_.FaceFileOf(u"IPAGothic"))) {
      GTEST_SKIP() << "IPAGothic is not installed (scripts/install-deps.sh installs it)";
    }
  }
  std::unique_ptr<IFont> Font(const std::u16string& face, int points) {
    SFontDescription description;
    description.SetFace(face);
    description.height = FontHeightForPoints(points, text_.PixelsPerInchY());
    return text_.MakeFont(description);
  }
  CFreeTypeText text_{96};
};

TEST_F(FreeTypeGlyphs, JapaneseAndLatinGlyphsHaveInkAdvanceAndLineMeasures) {
  std::unique_ptr<IFont> font = Font(u"IPAGothic", 14);
  const SFontMetrics metrics = font->Metrics();
  EXPECT_GE(metrics.height, 18);
  EXPECT_GT(metrics.ascent, 0);
  EXPECT_LT(metrics.ascent, metrics.height);
  SGlyphOutline outline;
  std::vector<uint8_t> bits;
  ASSERT_TRUE(font->Glyph(U'あ', 6, outline, bits));
  EXPECT_GT(outline.blackBoxWidth, 8);
  EXPECT_GT(outline.advanceX, 12);
  EXPECT_EQ(bits.size(), static_cast<size_t>(GlyphPitch(6, outline.blackBoxWidth) * outline.blackBoxHeight));
  uint8_t highest = 0;
  for (uint8_t level : bits) highest = std::max(highest, level);
  EXPECT_EQ(highest, 64);  // grey levels of format 6 run to 64
  ASSERT_TRUE(font->Glyph(U' ', 6, outline, bits));
  EXPECT_EQ(outline.blackBoxWidth, 0);  // a space has only its advance
  EXPECT_GT(outline.advanceX, 0);
  ASSERT_TRUE(font->Glyph(U'A', 1, outline, bits));
  EXPECT_EQ(bits.size(), static_cast<size_t>(GlyphPitch(1, outline.blackBoxWidth) * outline.blackBoxHeight));
}

TEST_F(FreeTypeGlyphs, UnknownFacesAndMissingCharactersFallBackToAJapaneseFace) {
  // A name fontconfig does not know still gives a face that draws Japanese.
  std::unique_ptr<IFont> unknown = Font(u"No Such Face 12345", 14);
  SGlyphOutline outline;
  std::vector<uint8_t> bits;
  ASSERT_TRUE(unknown->Glyph(U'日', 6, outline, bits));
  EXPECT_GT(outline.blackBoxWidth, 8);
  if (text_.FaceFileOf(u"DejaVu Sans").find("DejaVuSans") == std::string::npos) return;
  // DejaVu Sans has no kana: the fallback face draws it at the same size.
  std::unique_ptr<IFont> latin = Font(u"DejaVu Sans", 14);
  SGlyphOutline kana;
  ASSERT_TRUE(latin->Glyph(U'あ', 6, kana, bits));
  EXPECT_GT(kana.blackBoxWidth, 8);
  EXPECT_LT(kana.advanceX, 30);
}

}  // namespace
