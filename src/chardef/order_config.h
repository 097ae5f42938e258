#pragma once
// COrderConfig: one function of a character (an ORDER_REG block) — what starts it,
// what it shows and plays, where it goes and which functions may follow it. Names are
// kept as written; the resolved fields are filled after every register is built.
#include <array>
#include <string>
#include <vector>

#include "chardef/func_expression.h"
#include "chardef/func_list.h"
#include "chardef/root_config.h"
#include "script/vocabulary.h"

class CConditionEventConfig;
struct SCursorImage;

// The internal function type of the built-in |ORDER_OBJECT_HIDE| function.
inline constexpr int kHideObjectFuncType = 224;
// The fuzzy range of a function that sets none.
inline constexpr int kDefaultFuzzyRange = 30;

class COrderConfig : public CRootConfig {
 public:
  explicit COrderConfig(std::u16string entryName) : CRootConfig(ORDER_REG, std::move(entryName)) {
    timer.Compile(u"-1");
  }

  int funcType = -1;  // FUNC_TYPE START_EVENT..REGION_EVENT, or kHideObjectFuncType
  std::u16string motionName;
  int motionId = -1;
  CNameList imageLayerNames;
  std::vector<int> imageLayerIds;
  std::u16string bgmSoundName;
  int bgmSoundLoop = 0;
  std::u16string lButtonSoundName;
  std::u16string rButtonSoundName;
  std::u16string cursorName;
  const SCursorImage* cursor = nullptr;
  int eventLineX = 0;
  int eventLineY = 0;
  bool timerReset = true;
  bool menuFunctions = true;
  bool customMenuItem = true;
  std::u16string customMenuItemText;
  bool lButton = true;
  bool capture = true;
  bool capturePosition = true;
  bool hideFunction = true;
  bool addToList = true;
  int fuzzyRange = kDefaultFuzzyRange;
  bool lineUpCandidate = true;
  bool lineDownCandidate = true;
  CFuncExpression positionX;
  CFuncExpression positionY;
  CFuncExpression timer;
  // Indexed by FUNC_LIST (FuncListEvent..FuncListBottomEvent).
  std::array<COptionalNameList, FUNC_LIST_END> funcLists;
  std::array<CWeightMap, FUNC_LIST_END> resolvedFuncLists;
  COptionalNameList hitAreaList;
  COptionalNameList hitEventList;
  COptionalNameList conditionEventList;
  std::vector<CConditionEventConfig*> conditionEvents;
  // Filled by the hit-test set-up from ListHitArea and ListHitEvent.
  CVectorMap<int, int> hitTestMap;
  COptionalNameList balloonList;
  CWeightMap resolvedBalloonList;
};

class CRegisterBuildContext;
class CScriptParam;

// Builds one ORDER_REG block into the definition, or reports why it cannot.
void BuildOrderBlock(CRegisterBuildContext& context, const CScriptParam& block);
