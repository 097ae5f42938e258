#pragma once
// CImageLayerConfig: an image strip drawn over a function's or balloon's motion at a
// position of its own.
#include <string>
#include <utility>

#include "chardef/func_expression.h"
#include "chardef/motion_config.h"

class CImageLayerConfig : public CImageStripConfig {
 public:
  // `registerType` is IMAGE_LAYER_REG or BALLOON_IMAGE_LAYER_REG.
  CImageLayerConfig(SCRIPT_TYPE registerType, std::u16string entryName)
      : CImageStripConfig(registerType, std::move(entryName)) {}

  // Compiled with Width and Height bound to the layer's cell size.
  CFuncExpression positionX;
  CFuncExpression positionY;
};

class CRegisterBuildContext;
class CScriptParam;

// Builds one IMAGE_LAYER_REG or BALLOON_IMAGE_LAYER_REG block (`registerType`) into the
// definition, or reports why it cannot.
void BuildImageLayerBlock(CRegisterBuildContext& context, const CScriptParam& block, SCRIPT_TYPE registerType);
