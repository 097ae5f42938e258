#include "chardef/hit_area_config.h"

#include <memory>

#include "chardef/func_info.h"
#include "chardef/register_build_context.h"
#include "script/name_tables.h"

void BuildHitAreaBlock(CRegisterBuildContext& context, const CScriptParam& block) {
  BuildBlock(context, block, [&] {
    auto config = std::make_unique<CHitAreaConfig>(block.FuncName());
    context.RequireFreeName(config->name);
    if (const int area = FindHitAreaType(block.ValueOf(u"AreaType")); area != kNameNotFound) config->areaType = area;
    config->widthText = block.ValueOf(u"Width");
    config->heightText = block.ValueOf(u"Height");
    config->xText = block.ValueOf(u"PosX");
    config->yText = block.ValueOf(u"PosY");
    config->autoFlip = block.ValueOf(u"FlagAutoFlip") != u"OFF";
    context.Definition().Register(std::make_unique<CCreateFuncInfo>(std::move(config)));
  });
}
