#pragma once
// CConditionEventConfig: a condition checked at an interval while a function that
// lists it runs (CONDITION_EVENT_REG); when it holds, a function of its list follows.
#include <string>
#include <utility>

#include "chardef/func_expression.h"
#include "chardef/func_list.h"
#include "chardef/root_config.h"
#include "script/vocabulary.h"

class CConditionEventConfig : public CRootConfig {
 public:
  explicit CConditionEventConfig(std::u16string entryName)
      : CRootConfig(CONDITION_EVENT_REG, std::move(entryName)) {}

  int intervalType = ONLY_ONCE;  // INTERVAL_TYPE
  COptionalNameList funcList;    // FuncListCondition, items "name" or "name*weight"
  CWeightMap resolvedFuncList;
  CFuncExpression condition;
};

class CRegisterBuildContext;
class CScriptParam;

// Builds one CONDITION_EVENT_REG block into the definition, or reports why it cannot.
void BuildConditionEventBlock(CRegisterBuildContext& context, const CScriptParam& block);
