#pragma once
// Text: fonts created by the backend from a plain description. The balloon text layers
// ask for glyphs of these fonts; the glyph rasteriser is added with them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// How a font's glyphs are rasterised, with the numbers text styles store.
enum EGlyphFormat : int {
  GLYPH_FORMAT_MONO = 1,   // one bit per pixel
  GLYPH_FORMAT_GRAY8 = 6,  // smooth: grey levels
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
