#include "balloon/text_layer_style.h"

void STextLayerStyle::CopyFrom(const CTextStyleConfig& style) {
  fontName = style.fontName;
  colour = style.colour;
  fontSize = style.fontSize;
  glyphFormat = style.glyphFormat;
  speed = style.speed;
  styleReserved = style.styleReserved;
}

void STextLayerStyle::ResetKeepingFont() {
  std::unique_ptr<IFont> kept = std::move(font);
  const SFontMetrics keptMetrics = metrics;
  std::u16string keptFace = std::move(fontMadeFace_);
  const int keptHeight = fontMadeHeight_;
  const int keptFormat = fontMadeFormat_;
  *this = STextLayerStyle{};
  font = std::move(kept);
  metrics = keptMetrics;
  fontMadeFace_ = std::move(keptFace);
  fontMadeHeight_ = keptHeight;
  fontMadeFormat_ = keptFormat;
}

void STextLayerStyle::MakeFont(IText& text) {
  const int height = FontHeightForPoints(fontSize, text.PixelsPerInchY());
  if (font != nullptr && height == fontMadeHeight_ && glyphFormat == fontMadeFormat_ && fontName == fontMadeFace_) {
    return;
  }
  SFontDescription description;
  description.SetFace(fontName);
  description.height = height;
  description.glyphFormat = glyphFormat;
  font.reset();
  font = text.MakeFont(description);
  metrics = font != nullptr ? font->Metrics() : SFontMetrics{};
  fontMadeFace_ = fontName;
  fontMadeHeight_ = height;
  fontMadeFormat_ = glyphFormat;
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
