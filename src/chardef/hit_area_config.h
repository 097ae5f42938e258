#pragma once
// CHitAreaConfig: a rectangle on the character that hit events test (HIT_AREA_REG).
// Its geometry stays text here: it is evaluated against each function's motion when
// the hit test is set up.
#include <string>
#include <utility>

#include "chardef/root_config.h"
#include "script/vocabulary.h"

class CHitAreaConfig : public CRootConfig {
 public:
  explicit CHitAreaConfig(std::u16string entryName) : CRootConfig(HIT_AREA_REG, std::move(entryName)) {}

  int areaType = RECT;  // RECT or OUT_RECT
  bool autoFlip = true;
  std::u16string widthText;
  std::u16string heightText;
  std::u16string xText;
  std::u16string yText;
};

class CRegisterBuildContext;
class CScriptParam;

// Builds one HIT_AREA_REG block into the definition, or reports why it cannot.
void BuildHitAreaBlock(CRegisterBuildContext& context, const CScriptParam& block);
