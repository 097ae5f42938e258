#include "chardef/hit_event_config.h"

#include <memory>

#include "chardef/func_info.h"
#include "chardef/register_build_context.h"
#include "script/name_tables.h"

void BuildHitEventBlock(CRegisterBuildContext& context, const CScriptParam& block) {
  BuildBlock(context, block, [&] {
    auto config = std::make_unique<CHitEventConfig>(block.FuncName());
    context.RequireFreeName(config->name);
    // An unknown hit type is no error: the event never fires.
    if (const int hit = FindHitType(block.ValueOf(u"HitType")); hit != kNameNotFound) config->hitType = hit;
    if (config->hitType == STROKE_CURSOR) config->strokeParams = std::make_unique<CStrokeParam>();
    config->cursorName = block.ValueOf(u"CursorName");
    if (std::u16string sound = block.ValueOf(u"SoundName"); IsSoundName(sound)) config->soundName = std::move(sound);
    config->targetList = OptionalNameList(block.ValueOf(u"TargetID"));
    config->targetAreaList = OptionalNameList(block.ValueOf(u"TargetHitArea"));
    config->ownAreaList = OptionalNameList(block.ValueOf(u"MyHitArea"));
    config->funcList = OptionalNameList(block.ValueOf(u"FuncListHit"));
    context.Definition().Register(std::make_unique<CCreateFuncInfo>(std::move(config)));
  });
}
