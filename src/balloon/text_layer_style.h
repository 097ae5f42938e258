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

  // Takes every value of a registered style (its font is made anew by MakeFont).
  void CopyFrom(const CTextStyleConfig& style);
  // (Re)creates the font from the face name and size on a screen of `text`'s
  // resolution, and reads its measures.
  void MakeFont(IText& text);
  // What the glyph renderer draws with. A format other than 1, 4 or 5 draws as 6.
  SGlyphStyle GlyphStyle() const;
};
