#pragma once
// STextLayerStyle: the text style a layer types with — its own copy, since the text
// commands change it while the character's registers stay as built.
#include <cstdint>
#include <memory>
#include <string>

#include "balloon/glyph_renderer.h"
#include "chardef/text_style_config.h"
#include "platform/text.h"

struct STextLayerStyle {
  std::u16string fontName;
  uint32_t colour = CTextStyleConfig::kDefaultColour;
  int fontSize = CTextStyleConfig::kDefaultFontSize;
  int glyphFormat = GLYPH_FORMAT_GRAY8;
  int speed = CTextStyleConfig::kDefaultSpeed;
  int styleReserved = 1;
  std::unique_ptr<IFont> font;
  SFontMetrics metrics;

 private:
  // What `font` was made for.
  std::u16string fontMadeFace_;
  int fontMadeHeight_ = 0;
  int fontMadeFormat_ = 0;

 public:

  // Takes every value of a registered style (its font is made by MakeFont).
  void CopyFrom(const CTextStyleConfig& style);
  // Every value back to the default style's, keeping the font made last, so the next
  // MakeFont can take it again.
  void ResetKeepingFont();
  // Makes the font for the face name, size and format on a screen of `text`'s
  // resolution and reads its measures. When the font made last was made for the same
  // three, it stays: a balloon entered again (chained, or repeating itself) asks for
  // the same font each time, and making one allocates.
  void MakeFont(IText& text);
  // What the glyph renderer draws with. A format other than 1, 4 or 5 draws as 6.
  SGlyphStyle GlyphStyle() const;
};
