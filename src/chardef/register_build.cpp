#include "chardef/register_build.h"

#include "chardef/condition_event_config.h"
#include "chardef/hit_area_config.h"
#include "chardef/hit_event_config.h"
#include "chardef/image_layer_config.h"
#include "chardef/motion_config.h"
#include "chardef/order_config.h"

SRegisterBuilders DefaultRegisterBuilders() {
  SRegisterBuilders builders;
  for (SCRIPT_TYPE type : {MOTION_REG, BALLOON_MOTION_REG}) {
    builders[type] = [type](CRegisterBuildContext& context, const CScriptParam& block) {
      BuildMotionBlock(context, block, type);
    };
  }
  for (SCRIPT_TYPE type : {IMAGE_LAYER_REG, BALLOON_IMAGE_LAYER_REG}) {
    builders[type] = [type](CRegisterBuildContext& context, const CScriptParam& block) {
      BuildImageLayerBlock(context, block, type);
    };
  }
  builders[ORDER_REG] = BuildOrderBlock;
  builders[CONDITION_EVENT_REG] = BuildConditionEventBlock;
  builders[HIT_AREA_REG] = BuildHitAreaBlock;
  builders[HIT_EVENT_REG] = BuildHitEventBlock;
  return builders;
}

bool BuildRegisters(CRegisterBuildContext& context, const CScriptFuncMaps& scripts,
                    const SRegisterBuilders& builders) {
  if (!scripts.HasOrderFunction()) return false;
  for (SCRIPT_TYPE type : kRegisterBuildOrder) {
    const RegisterBlockBuilder& build = builders[type];
    if (!build) continue;
    const CScriptParamMap& blocks = scripts.Map(type);
    for (int index = 0; index < blocks.Count(); ++index) build(context, *blocks.ValueAt(index));
  }
  return true;
}
