// Glyphs from the real FreeType faces through fontconfig, as the headless and Linux
// backends draw them.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/freetype/freetype_text.h"

namespace {

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

// Unnamed text, and a face the machine lacks, are set in a proportional face that covers
// Japanese (IPAPGothic, from the same package as IPAGothic); a face that is there, even a
// monospaced one, is the face named.
TEST_F(FreeTypeGlyphs, TextWithoutAFaceTheMachineHasIsSetProportionally) {
  std::error_code error;
  const std::filesystem::path fallback = std::filesystem::canonical(text_.FaceFileOf(u""), error);
  if (error || fallback.filename() != "ipagp.ttf") GTEST_SKIP() << "IPAPGothic is not installed";
  EXPECT_EQ(std::filesystem::canonical(text_.FaceFileOf(u"No Such Face 12345")), fallback);
  EXPECT_TRUE(IsIpaGothic(text_.FaceFileOf(u"IPAGothic")));
  EXPECT_NE(std::filesystem::canonical(text_.FaceFileOf(u"IPAGothic")), fallback);

  auto advance = [](IFont& font, char32_t code) {
    SGlyphOutline outline;
    std::vector<uint8_t> bits;
    EXPECT_TRUE(font.Glyph(code, 6, outline, bits));
    return outline.advanceX;
  };
  for (const std::u16string face : {u"", u"No Such Face 12345"}) {
    std::unique_ptr<IFont> font = Font(face, 14);
    EXPECT_LT(advance(*font, U'i') * 2, advance(*font, U'W')) << "a proportional face";
    EXPECT_GT(advance(*font, U'日'), 12);
  }
  std::unique_ptr<IFont> monospaced = Font(u"IPAGothic", 14);
  EXPECT_EQ(advance(*monospaced, U'i'), advance(*monospaced, U'W'));
}

}  // namespace
