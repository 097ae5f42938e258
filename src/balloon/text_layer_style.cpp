#include "balloon/text_layer_style.h"

void STextLayerStyle::CopyFrom(const CTextStyleConfig& style) {
  fontName = style.fontName;
  colour = style.colour;
  fontSize = style.fontSize;
  glyphFormat = style.glyphFormat;
  speed = style.speed;
  styleReserved = style.styleReserved;
}

void STextLayerStyle::MakeFont(IText& text) {
  SFontDescription description;
  description.SetFace(fontName);
  description.height = FontHeightForPoints(fontSize, text.PixelsPerInchY());
  description.glyphFormat = glyphFormat;
  font.reset();
  font = text.MakeFont(description);
  metrics = font != nullptr ? font->Metrics() : SFontMetrics{};
}

SGlyphStyle STextLayerStyle::GlyphStyle() const {
  SGlyphStyle style;
  style.font = font.get();
  style.metrics = metrics;
  switch (glyphFormat) {
    case GLYPH_FORMAT_MONO:
    case GLYPH_FORMAT_GRAY2:
    case GLYPH_FORMAT_GRAY4: style.format = glyphFormat; break;
    default: style.format = GLYPH_FORMAT_GRAY8; break;  // 0 and anything unknown
  }
  style.colour = colour;
  return style;
}
