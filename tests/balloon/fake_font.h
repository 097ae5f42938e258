#pragma once
// A font whose glyphs the test chooses: every glyph has the same advance and line
// measures; the black box is a row of every level of the asked format, so the atlas
// shows exactly what the renderer made of each level.
#include <vector>

#include "platform/text.h"

class CFakeFont final : public IFont {
 public:
  int advance = 10;
  int originX = 0;
  SFontMetrics metrics{16, 12};
  int calls = 0;

  const SFontDescription& Description() const override { return description_; }
  SFontMetrics Metrics() override { return metrics; }
  bool Glyph(char32_t, int format, SGlyphOutline& outline, std::vector<uint8_t>& bits) override {
    ++calls;
    const int levels = GlyphLevels(format);
    outline = {};
    outline.blackBoxWidth = levels + 1;  // one column per level, 0 first
    outline.blackBoxHeight = 2;
    outline.originX = originX;
    outline.originY = 10;
    outline.advanceX = advance;
    const int pitch = GlyphPitch(format, outline.blackBoxWidth);
    bits.assign(static_cast<size_t>(pitch) * 2, 0);
    for (int row = 0; row < 2; ++row) {
      for (int x = 0; x <= levels; ++x) {
        if (format == GLYPH_FORMAT_MONO) {
          if (x == 1) bits[static_cast<size_t>(row * pitch)] |= 0x40;
        } else {
          bits[static_cast<size_t>(row * pitch + x)] = static_cast<uint8_t>(x);
        }
      }
    }
    return true;
  }

  SFontDescription description_;
};

// A text capability that hands out fake fonts; the last one made stays reachable.
class CFakeText final : public IText {
 public:
  int PixelsPerInchY() const override { return 96; }
  std::unique_ptr<IFont> MakeFont(const SFontDescription& description) override {
    auto font = std::make_unique<CFakeFont>();
    font->description_ = description;
    font->advance = advance;
    font->metrics = metrics;
    last = font.get();
    ++made;
    return font;
  }
  int advance = 10;
  SFontMetrics metrics{16, 12};
  CFakeFont* last = nullptr;
  int made = 0;  // fonts made so far
};
