#include "chardef/text_layer_config.h"

#include <memory>

#include "chardef/register_build_context.h"
#include "chardef/register_messages.h"
#include "script/name_tables.h"
#include "script/script_error.h"
#include "script/text_command_quoting.h"

namespace {

struct SAreaKeys {
  std::u16string_view width, height, x, y;
};

constexpr SAreaKeys kLayerAreaKeys = {u"Width", u"Height", u"PosX", u"PosY"};
constexpr SAreaKeys kBalloonAreaKeys = {u"TextAreaWidth", u"TextAreaHeight", u"TextAreaPosX", u"TextAreaPosY"};

// The text section's lines: the block's last row when it has a text section.
const ScriptRow* TextLinesOf(const CScriptParam& block) {
  return block.HasTextSection() ? &block.Rows().back() : nullptr;
}

}  // namespace

CTextLayerConfig::CTextLayerConfig(std::u16string entryName)
    : CRootConfig(TEXT_LAYER_REG, std::move(entryName)),
      textStyleName(NameOf(kFreeFuncNames, DEFAULT_TEXT_STYLE_FUNC)) {}

std::u16string BuildTextLayer(CRegisterBuildContext& context, const CScriptParam& block, bool implicit) {
  std::u16string registered;
  BuildBlock(context, block, [&] {
    std::u16string name = block.FuncName();
    if (implicit) name += kImplicitTextLayerSuffix;
    auto owned = std::make_unique<CTextLayerConfig>(name);
    CTextLayerConfig& layer = *owned;
    context.RequireFreeName(layer.name);
    // Messages name the layer, which for a balloon's own text is not the block's name.
    try {
      if (std::u16string style = block.ValueOf(u"FuncNameTextStyle"); !style.empty()) {
        layer.textStyleName = std::move(style);
      }
      const SAreaKeys& keys = implicit ? kBalloonAreaKeys : kLayerAreaKeys;
      layer.areaWidth.Compile(block.ValueOf(keys.width));
      layer.areaHeight.Compile(block.ValueOf(keys.height));
      layer.areaX.Compile(block.ValueOf(keys.x));
      layer.areaY.Compile(block.ValueOf(keys.y));
      if (const ScriptRow* lines = TextLinesOf(block)) {
        layer.text.resize(lines->size());
        for (size_t i = 0; i < lines->size(); ++i) layer.text[i].Compile(QuoteTextCommandArguments((*lines)[i]));
      }
    } catch (const EScriptError& error) {
      throw ERegisterBlockFailure{RegisterMessage(context.FolderName(), layer.name, error.Message())};
    }
    context.Definition().Register(std::make_unique<CCreateFuncInfo>(std::move(owned)));
    registered = std::move(name);
  });
  return registered;
}

void BuildTextLayerBlock(CRegisterBuildContext& context, const CScriptParam& block) {
  BuildTextLayer(context, block, false);
}
