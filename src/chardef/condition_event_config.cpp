#include "chardef/condition_event_config.h"

#include <memory>

#include "chardef/func_info.h"
#include "chardef/register_build_context.h"
#include "script/name_tables.h"

void BuildConditionEventBlock(CRegisterBuildContext& context, const CScriptParam& block) {
  BuildBlock(context, block, [&] {
    auto config = std::make_unique<CConditionEventConfig>(block.FuncName());
    context.RequireFreeName(config->name);
    // An unknown interval is no error: the event runs once.
    if (const int interval = FindIntervalType(block.ValueOf(u"IntervalType")); interval != kNameNotFound) {
      config->intervalType = interval;
    }
    config->funcList = OptionalNameList(block.ValueOf(u"FuncListCondition"));
    config->condition.Compile(block.ValueOf(u"Condition"));
    context.Definition().Register(std::make_unique<CCreateFuncInfo>(std::move(config)));
  });
}
