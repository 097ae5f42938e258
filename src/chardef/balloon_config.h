#pragma once
// CBalloonConfig: a balloon function (BALLOON_ORDER_REG) — its motion, image layers and
// text layers, its sound and cursor, where it appears, and which balloons may follow.
// Also how the balloon, text-layer and text-style registers join the register build.
#include <memory>
#include <string>
#include <vector>

#include "chardef/func_expression.h"
#include "chardef/func_info_map.h"
#include "chardef/func_list.h"
#include "chardef/register_build.h"
#include "chardef/root_config.h"
#include "platform/text.h"
#include "script/vocabulary.h"

class CTextLayerConfig;
struct SCursorImage;

class CBalloonConfig : public CRootConfig {
 public:
  explicit CBalloonConfig(std::u16string entryName);

  int callType = NORMAL;  // BALLOON_CALL_TYPE NORMAL, WAIT or FORCE
  std::u16string motionName;  // a BALLOON_MOTION_REG name
  int motionId = -1;
  CNameList imageLayerNames;  // BALLOON_IMAGE_LAYER_REG names
  std::vector<int> imageLayerIds;
  // The balloon's own text layer first (when it has one), then FuncNameTextLayer's.
  CNameList textLayerNames;
  std::vector<const CTextLayerConfig*> textLayers;
  std::u16string bgmSoundName;  // ".wav" only
  int bgmSoundLoop = 0;
  std::u16string cursorName;
  const SCursorImage* cursor = nullptr;
  CFuncExpression positionX;
  CFuncExpression positionY;
  CFuncExpression popupPositionX;  // "0" unless the block says otherwise
  CFuncExpression popupPositionY;
  COptionalNameList nextBalloonList;
  CWeightMap nextBalloons;  // balloon id -> weight, resolved after every register is built
};

// Builds one BALLOON_ORDER_REG block and then the text layer of the block's own text.
// Failures go to the latch; a failing own text layer leaves the balloon with its listed
// text layers only.
void BuildBalloonBlock(CRegisterBuildContext& context, const CScriptParam& block);

// The built-in |BALLOON_ORDER_OBJECT_HIDE| entry (id 3): the hidden balloon motion,
// 1 × 1, every position "0".
std::unique_ptr<CCreateFuncInfo> HiddenBalloonEntry();

// Registers the built-in entries of these registers, ids 3 and 5; the definition's
// constructor registers the others.
void RegisterReservedBalloonEntries(CCreateFuncInfoMap& definition, IText& text);

// Sets the builders of BALLOON_ORDER_REG, TEXT_LAYER_REG and TEXT_STYLE_REG; text
// styles make their fonts through `text`, which must outlive the builders.
void AddBalloonRegisterBuilders(SRegisterBuilders& builders, IText& text);
