#pragma once
// Text: fonts created by the backend from a plain description, and one glyph of such a
// font at a time as the balloon text layers reveal their characters: the glyph's black
// box as 1-bit or grey levels, where it sits against the pen, its advance, and the
// font's line height and ascent.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// How a font's glyphs are rasterised, with the numbers text styles store.
enum EGlyphFormat : int {
  GLYPH_FORMAT_MONO = 1,   // one bit per pixel
  GLYPH_FORMAT_GRAY2 = 4,  // grey levels 0 to 4
  GLYPH_FORMAT_GRAY4 = 5,  // grey levels 0 to 16
  GLYPH_FORMAT_GRAY8 = 6,  // grey levels 0 to 64
};

// The highest grey level of a grey format (4, 16 or 64); 1 for the 1-bit format.
inline int GlyphLevels(int format) {
  switch (format) {
    case GLYPH_FORMAT_GRAY2: return 4;
    case GLYPH_FORMAT_GRAY4: return 16;
    case GLYPH_FORMAT_GRAY8: return 64;
    default: return 1;
  }
}

// Bytes per row of a glyph's bits: rows are padded to 4 bytes in every format.
inline int GlyphPitch(int format, int width) {
  if (width <= 0) return 0;
  if (format == GLYPH_FORMAT_MONO) return ((width + 31) / 32) * 4;
  return (width + 3) & ~3;
}

// The font's vertical measures in pixels: the line height (ascent plus descent) and
// the ascent above the baseline.
struct SFontMetrics {
  int height = 0;
  int ascent = 0;
};

// Where one rasterised glyph sits. The black box is the smallest rectangle holding its
// ink; its top-left corner is (originX, originY) from the pen on the baseline, with y
// growing upwards (originY is the box's height above the baseline). An empty glyph, a
// space, has a 0 × 0 box and only an advance.
struct SGlyphOutline {
  int blackBoxWidth = 0;
  int blackBoxHeight = 0;
  int originX = 0;
  int originY = 0;
  int advanceX = 0;  // how far the pen moves on
};

struct SFontDescription {
  // Face names longer than this are cut: font systems take at most 31 characters.
  static constexpr size_t kMaxFaceLength = 31;
  static constexpr int kNormalWeight = 400;

  // Empty: the backend's default face. Set through SetFace.
  std::u16string face;
  // Negative: the character height in pixels (what a point size gives); 0: default.
  int height = 0;
  int weight = kNormalWeight;
  int glyphFormat = GLYPH_FORMAT_GRAY8;

  // Stores at most kMaxFaceLength code units of `name`, never half of a surrogate pair.
  void SetFace(std::u16string_view name) {
    if (name.size() > kMaxFaceLength) {
      size_t length = kMaxFaceLength;
      if (name[length - 1] >= 0xD800 && name[length - 1] <= 0xDBFF) --length;
      name = name.substr(0, length);
    }
    face = std::u16string(name);
  }
};

// The description's height for a size in points on a screen of `pixelsPerInch`:
// -(points × pixelsPerInch / 72), rounded half away from zero and kept in int range.
inline int FontHeightForPoints(int points, int pixelsPerInch) {
  constexpr int64_t kPointsPerInch = 72;
  const int64_t product = static_cast<int64_t>(points) * pixelsPerInch;
  const int64_t half = product < 0 ? -kPointsPerInch / 2 : kPointsPerInch / 2;
  int64_t pixels = (product + half) / kPointsPerInch;
  if (pixels > INT32_MAX) pixels = INT32_MAX;
  if (pixels < -INT32_MAX) pixels = -INT32_MAX;
  return static_cast<int>(-pixels);
}

class IFont {
 public:
  virtual ~IFont() = default;
  virtual const SFontDescription& Description() const = 0;
  virtual SFontMetrics Metrics() = 0;
  // Rasterises `code` in `format` (1, 4, 5 or 6): `bits` receives the black box top-down,
  // GlyphPitch bytes per row — 1: one bit per pixel, the leftmost in the high bit;
  // 4, 5, 6: one byte per pixel holding a level from 0 to GlyphLevels. `bits` keeps its
  // room between calls. A character the font lacks gives the font's missing-glyph
  // shape. False when nothing could be rasterised; the outline is then all 0.
  // Fonts may be used from another thread than the one that made them, one at a time.
  virtual bool Glyph(char32_t code, int format, SGlyphOutline& outline, std::vector<uint8_t>& bits) = 0;
};

class IText {
 public:
  virtual ~IText() = default;
  // The screen's vertical pixels per logical inch, for point sizes.
  virtual int PixelsPerInchY() const = 0;
  // A font for the description; null when the backend has none to give. Cheap: glyphs
  // are made when they are asked for.
  virtual std::unique_ptr<IFont> MakeFont(const SFontDescription& description) = 0;
};
