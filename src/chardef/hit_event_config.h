#pragma once
// CHitEventConfig: what happens on contact with another character, the desktop map or
// the cursor, on a click or on a cursor stroke (HIT_EVENT_REG).
#include <memory>
#include <string>
#include <utility>

#include "chardef/func_list.h"
#include "chardef/root_config.h"
#include "chardef/stroke_param.h"
#include "script/vocabulary.h"

struct SCursorImage;

class CHitEventConfig : public CRootConfig {
 public:
  explicit CHitEventConfig(std::u16string entryName) : CRootConfig(HIT_EVENT_REG, std::move(entryName)) {}

  int hitType = 0;  // HIT_CHARA..STROKE_CURSOR; 0 matches no kind of hit
  std::u16string cursorName;
  const SCursorImage* cursor = nullptr;
  std::u16string soundName;                    // ".wav" only
  std::unique_ptr<CStrokeParam> strokeParams;  // STROKE_CURSOR events only
  COptionalNameList targetList;                // TargetID: GroupID or CharaID texts, or "ALL"
  COptionalNameList targetAreaList;            // TargetHitArea
  COptionalNameList ownAreaList;               // MyHitArea
  COptionalNameList funcList;                  // FuncListHit, items "name" or "name*weight"
  CWeightMap resolvedFuncList;
  // Filled by the hit test.
  CVectorMap<int, int> targetMap;
  int reservedValue = 0;
};

class CRegisterBuildContext;
class CScriptParam;

// Builds one HIT_EVENT_REG block into the definition, or reports why it cannot.
void BuildHitEventBlock(CRegisterBuildContext& context, const CScriptParam& block);
