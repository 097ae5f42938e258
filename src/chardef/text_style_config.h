#pragma once
// CTextStyleConfig: a text style (TEXT_STYLE_REG) — font face and size, colour, glyph
// rendering and typing speed — with the font made from it.
#include <cstdint>
#include <memory>
#include <string>

#include "chardef/func_info.h"
#include "chardef/root_config.h"
#include "platform/text.h"

class CRegisterBuildContext;
class CScriptParam;

class CTextStyleConfig : public CRootConfig {
 public:
  static constexpr uint32_t kDefaultColour = 0xFF000000u;  // opaque black
  static constexpr int kDefaultFontSize = 14;              // points
  static constexpr int kDefaultSpeed = 20;                 // characters per second

  // Every value at its default; the font description's height follows the default size
  // on a screen of `pixelsPerInch`. No font yet.
  CTextStyleConfig(std::u16string entryName, int pixelsPerInch);

  // Sets the size in points and the description's height with it.
  void SetFontSize(int points);
  // Makes the font from the description, with the glyph format current.
  void MakeFont(IText& text);

  std::u16string fontName;  // as written; the description keeps at most 31 characters
  uint32_t colour = kDefaultColour;
  int fontSize = kDefaultFontSize;
  int glyphFormat = GLYPH_FORMAT_GRAY8;
  int speed = kDefaultSpeed;
  int styleReserved = 1;
  SFontDescription fontDescription;
  std::unique_ptr<IFont> font;

 private:
  int pixelsPerInch_;
};

// Builds one TEXT_STYLE_REG block into the context's definition. Failures go to the
// latch: a taken name, a FontSize that is not an integer, a Speed that is not a
// non-negative integer.
void BuildTextStyleBlock(CRegisterBuildContext& context, const CScriptParam& block, IText& text);

// The built-in |DEFAULT_TEXT_STYLE_FUNC| entry (id 5): every default, its font made.
std::unique_ptr<CCreateFuncInfo> DefaultTextStyleEntry(IText& text);
