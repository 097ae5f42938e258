#include "platform/freetype/freetype_text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cstring>

#include "platform/freetype/freetype_faces.h"
#include "support/utf.h"

namespace {

// A description without a height asks for the system's usual text size: 12 points at
// 96 pixels per inch.
constexpr int kDefaultEmPixels = 16;
constexpr int kBoldWeight = 600;

class CFreeTypeFont final : public IFont {
 public:
  CFreeTypeFont(const SFontDescription& description, std::shared_ptr<CFreeTypeFaces> faces)
      : description_(description), faces_(std::move(faces)), faceName_(ToUtf8(description.face)) {}

  const SFontDescription& Description() const override { return description_; }

  SFontMetrics Metrics() override {
    std::lock_guard<std::mutex> hold(faces_->Lock());
    FT_Face face = faces_->FaceFor(faceName_);
    if (face == nullptr || !Size(face)) return {};
    return MetricsOf(face);
  }

  bool Glyph(char32_t code, int format, SGlyphOutline& outline, std::vector<uint8_t>& bits) override {
    outline = {};
    std::lock_guard<std::mutex> hold(faces_->Lock());
    FT_Face face = faces_->FaceFor(faceName_);
    if (face == nullptr) return false;
    FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0) {
      // The named face lacks the character: a fallback face may have it.
      FT_Face fallback = faces_->FallbackFor(code);
      if (fallback != nullptr && fallback != face) {
        const FT_UInt other = FT_Get_Char_Index(fallback, code);
        if (other != 0) {
          face = fallback;
          index = other;
        }
      }
    }
    if (!Size(face)) return false;
    const bool mono = format == GLYPH_FORMAT_MONO;
    const FT_Int32 flags = mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_LIGHT;
    if (FT_Load_Glyph(face, index, flags) != 0) return false;
    if (description_.weight >= kBoldWeight && face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
      FT_GlyphSlot_Embolden(face->glyph);
    }
    if (FT_Render_Glyph(face->glyph, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_LIGHT) != 0) return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    outline.blackBoxWidth = static_cast<int>(bitmap.width);
    outline.blackBoxHeight = static_cast<int>(bitmap.rows);
    outline.originX = slot->bitmap_left;
    outline.originY = slot->bitmap_top;
    outline.advanceX = static_cast<int>((slot->advance.x + 32) >> 6);
    if (outline.blackBoxWidth == 0 || outline.blackBoxHeight == 0) {
      outline.blackBoxWidth = 0;
      outline.blackBoxHeight = 0;
      return true;
    }
    const int pitch = GlyphPitch(format, outline.blackBoxWidth);
    bits.assign(static_cast<size_t>(pitch) * static_cast<size_t>(outline.blackBoxHeight), 0);
    const int sourcePitch = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
    for (int y = 0; y < outline.blackBoxHeight; ++y) {
      const int sourceRow = bitmap.pitch < 0 ? outline.blackBoxHeight - 1 - y : y;
      const uint8_t* source = bitmap.buffer + static_cast<size_t>(sourceRow) * static_cast<size_t>(sourcePitch);
      uint8_t* target = bits.data() + static_cast<size_t>(y) * static_cast<size_t>(pitch);
      if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
        if (mono) {
          std::memcpy(target, source, static_cast<size_t>((outline.blackBoxWidth + 7) / 8));
        } else {
          const int levels = GlyphLevels(format);
          for (int x = 0; x < outline.blackBoxWidth; ++x) {
            if ((source[x / 8] >> (7 - x % 8)) & 1) target[x] = static_cast<uint8_t>(levels);
          }
        }
      } else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
        const int grays = std::max(2, static_cast<int>(bitmap.num_grays)) - 1;
        if (mono) {
          for (int x = 0; x < outline.blackBoxWidth; ++x) {
            if (source[x] * 2 > grays) target[x / 8] = static_cast<uint8_t>(target[x / 8] | (0x80 >> (x % 8)));
          }
        } else {
          const int levels = GlyphLevels(format);
          for (int x = 0; x < outline.blackBoxWidth; ++x) {
            target[x] = static_cast<uint8_t>((source[x] * levels + grays / 2) / grays);
          }
        }
      } else {
        // Colour or LCD bitmaps are not asked for; such a glyph shows its cell only.
        outline.blackBoxWidth = 0;
        outline.blackBoxHeight = 0;
        return true;
      }
    }
    return true;
  }

 private:
  // Sets the face to this font's size; false when the face refuses it.
  bool Size(FT_Face face) {
    FT_UInt pixels = kDefaultEmPixels;
    if (description_.height < 0) {
      pixels = static_cast<FT_UInt>(-static_cast<int64_t>(description_.height));
    } else if (description_.height > 0) {
      // A positive height is the whole line: the em is that part of it the face's
      // ascender and descender leave.
      const int64_t line = face->ascender - face->descender;
      pixels = line > 0 ? static_cast<FT_UInt>(description_.height * int64_t{face->units_per_EM} / line)
                        : static_cast<FT_UInt>(description_.height);
    }
    pixels = std::clamp<FT_UInt>(pixels, 1, kMaxEmPixels);
    return FT_Set_Pixel_Sizes(face, 0, pixels) == 0;
  }

  static SFontMetrics MetricsOf(FT_Face face) {
    const FT_Size_Metrics& size = face->size->metrics;
    const int ascent = static_cast<int>((size.ascender + 63) >> 6);
    const int descent = static_cast<int>((-size.descender + 63) >> 6);
    return {ascent + descent, ascent};
  }

  // Larger glyphs than this could not fit any balloon; FreeType would only spend time.
  static constexpr FT_UInt kMaxEmPixels = 2048;

  SFontDescription description_;
  std::shared_ptr<CFreeTypeFaces> faces_;
  std::string faceName_;
};

}  // namespace

CFreeTypeText::CFreeTypeText(int pixelsPerInch)
    : pixelsPerInch_(pixelsPerInch), faces_(std::make_shared<CFreeTypeFaces>()) {}

CFreeTypeText::~CFreeTypeText() = default;

std::unique_ptr<IFont> CFreeTypeText::MakeFont(const SFontDescription& description) {
  return std::make_unique<CFreeTypeFont>(description, faces_);
}

std::string CFreeTypeText::FaceFileOf(std::u16string_view face) {
  std::lock_guard<std::mutex> hold(faces_->Lock());
  return faces_->Match(ToUtf8(std::u16string(face))).first;
}
