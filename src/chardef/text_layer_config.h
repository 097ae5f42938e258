#pragma once
// CTextLayerConfig: a text layer (TEXT_LAYER_REG, or the one a balloon block's own text
// makes) — the rectangle of a balloon its text is typed into, the text style it starts
// with, and its text statements.
#include <string>
#include <vector>

#include "chardef/func_expression.h"
#include "chardef/root_config.h"

class CRegisterBuildContext;
class CScriptParam;
class CTextStyleConfig;

// What a balloon's own text layer is called: the balloon's name followed by this.
inline constexpr std::u16string_view kImplicitTextLayerSuffix = u"-<SET_TEXT>";

class CTextLayerConfig : public CRootConfig {
 public:
  explicit CTextLayerConfig(std::u16string entryName);

  std::u16string textStyleName;  // FuncNameTextStyle; |DEFAULT_TEXT_STYLE_FUNC| when empty
  const CTextStyleConfig* textStyle = nullptr;  // resolved after every register is built
  // The text area in balloon coordinates; evaluated when the balloon runs.
  CFuncExpression areaWidth;
  CFuncExpression areaHeight;
  CFuncExpression areaX;
  CFuncExpression areaY;
  // One statement per line of the text section, already quoted and compiled.
  std::vector<CFuncExpression> text;
};

// Builds a text layer from `block` and registers it; returns its name, or the empty
// text when it failed (the failure is on the latch). With `implicit` the block is a
// balloon's: the layer is named after the balloon with kImplicitTextLayerSuffix and its
// area keys are TextAreaWidth, TextAreaHeight, TextAreaPosX and TextAreaPosY instead of
// Width, Height, PosX and PosY.
std::u16string BuildTextLayer(CRegisterBuildContext& context, const CScriptParam& block, bool implicit);

// The register builder of TEXT_LAYER_REG blocks.
void BuildTextLayerBlock(CRegisterBuildContext& context, const CScriptParam& block);
