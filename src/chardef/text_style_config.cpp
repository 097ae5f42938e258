#include "chardef/text_style_config.h"

#include "chardef/colour_parse.h"
#include "chardef/register_build_context.h"
#include "script/name_tables.h"
#include "support/number.h"
#include "support/text.h"

CTextStyleConfig::CTextStyleConfig(std::u16string entryName, int pixelsPerInch)
    : CRootConfig(TEXT_STYLE_REG, std::move(entryName)), pixelsPerInch_(pixelsPerInch) {
  SetFontSize(kDefaultFontSize);
}

void CTextStyleConfig::SetFontSize(int points) {
  fontSize = points;
  fontDescription.height = FontHeightForPoints(points, pixelsPerInch_);
}

void CTextStyleConfig::MakeFont(IText& text) {
  fontDescription.glyphFormat = glyphFormat;
  font = text.MakeFont(fontDescription);
}

void BuildTextStyleBlock(CRegisterBuildContext& context, const CScriptParam& block, IText& text) {
  BuildBlock(context, block, [&] {
    auto owned = std::make_unique<CTextStyleConfig>(block.FuncName(), text.PixelsPerInchY());
    CTextStyleConfig& style = *owned;
    context.RequireFreeName(style.name);

    if (std::u16string name = block.ValueOf(u"FontName"); !name.empty()) {
      style.fontDescription.SetFace(name);
      style.fontName = std::move(name);
    }
    if (const std::u16string size = block.ValueOf(u"FontSize"); !size.empty()) style.SetFontSize(ToSigned(size));
    if (block.ValueOf(u"FontQuality") == u"LOW") style.glyphFormat = GLYPH_FORMAT_MONO;
    if (const std::u16string speed = block.ValueOf(u"Speed"); !speed.empty()) {
      style.speed = static_cast<int>(ToUnsigned(speed));
    }
    if (const std::u16string colour = block.ValueOf(u"FontColor"); !colour.empty()) style.colour = ParseColour(colour);
    // Made last, once every value that shapes the font is known.
    style.MakeFont(text);

    context.Definition().Register(std::make_unique<CCreateFuncInfo>(std::move(owned)));
  });
}

std::unique_ptr<CCreateFuncInfo> DefaultTextStyleEntry(IText& text) {
  auto style = std::make_unique<CTextStyleConfig>(std::u16string(NameOf(kFreeFuncNames, DEFAULT_TEXT_STYLE_FUNC)),
                                                  text.PixelsPerInchY());
  style->id = DEFAULT_TEXT_STYLE_FUNC;
  style->MakeFont(text);
  return std::make_unique<CCreateFuncInfo>(std::move(style));
}
