#include "chardef/image_layer_config.h"

#include <memory>

#include "chardef/func_info.h"
#include "chardef/register_build_context.h"

void BuildImageLayerBlock(CRegisterBuildContext& context, const CScriptParam& block, SCRIPT_TYPE registerType) {
  BuildBlock(context, block, [&] {
    auto owned = std::make_unique<CImageLayerConfig>(registerType, block.FuncName());
    CImageLayerConfig& config = *owned;
    context.RequireFreeName(config.name);
    ReadImageStrip(context, block, config);
    config.positionX.CompileWithSize(block.ValueOf(u"PosX"), config.width, config.height);
    config.positionY.CompileWithSize(block.ValueOf(u"PosY"), config.width, config.height);
    auto entry = std::make_unique<CCreateFuncInfo>(std::move(owned));
    ReadImageStripRows(block, *entry);
    context.Definition().Register(std::move(entry));
  });
}
