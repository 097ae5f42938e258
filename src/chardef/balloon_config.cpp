#include "chardef/balloon_config.h"

#include "chardef/register_build_context.h"
#include "chardef/text_layer_config.h"
#include "chardef/text_style_config.h"
#include "script/name_tables.h"

namespace {

void CompileOrZero(CFuncExpression& expression, const std::u16string& text) {
  expression.Compile(text.empty() ? std::u16string(u"0") : text);
}

}  // namespace

CBalloonConfig::CBalloonConfig(std::u16string entryName) : CRootConfig(BALLOON_ORDER_REG, std::move(entryName)) {
  popupPositionX.Compile(u"0");
  popupPositionY.Compile(u"0");
}

void BuildBalloonBlock(CRegisterBuildContext& context, const CScriptParam& block) {
  CBalloonConfig* built = nullptr;
  BuildBlock(context, block, [&] {
    auto owned = std::make_unique<CBalloonConfig>(block.FuncName());
    CBalloonConfig& balloon = *owned;
    if (const int callType = FindBalloonCallType(block.ValueOf(u"CallType")); callType != kNameNotFound) {
      balloon.callType = callType;
    }
    context.RequireFreeName(balloon.name);

    balloon.motionName = block.ValueOf(u"FuncNameMotion");
    balloon.imageLayerNames = SplitAtCommas(block.ValueOf(u"FuncNameImageLayer"));
    balloon.textLayerNames = SplitAtCommas(block.ValueOf(u"FuncNameTextLayer"));
    if (std::u16string sound = block.ValueOf(u"SoundNameBgm"); IsSoundName(sound)) {
      balloon.bgmSoundName = std::move(sound);
    }
    balloon.bgmSoundLoop = context.EvaluateOnce(block.ValueOf(u"SoundLoop"));
    balloon.cursorName = block.ValueOf(u"CursorName");
    balloon.positionX.Compile(block.ValueOf(u"PosX"));
    balloon.positionY.Compile(block.ValueOf(u"PosY"));
    CompileOrZero(balloon.popupPositionX, block.ValueOf(u"PopupPosX"));
    CompileOrZero(balloon.popupPositionY, block.ValueOf(u"PopupPosY"));
    balloon.nextBalloonList = OptionalNameList(block.ValueOf(u"NextBalloonList"));

    if (context.Definition().Register(std::make_unique<CCreateFuncInfo>(std::move(owned)))) built = &balloon;
  });
  if (!built) return;
  // The balloon's own text comes first among its text layers.
  std::u16string ownLayer = BuildTextLayer(context, block, true);
  if (!ownLayer.empty()) built->textLayerNames.insert(built->textLayerNames.begin(), std::move(ownLayer));
}

std::unique_ptr<CCreateFuncInfo> HiddenBalloonEntry() {
  auto balloon = std::make_unique<CBalloonConfig>(std::u16string(NameOf(kFreeFuncNames, BALLOON_ORDER_OBJECT_HIDE)));
  balloon->id = BALLOON_ORDER_OBJECT_HIDE;
  balloon->width = 1;
  balloon->height = 1;
  balloon->motionName = NameOf(kFreeFuncNames, BALLOON_MOTION_OBJECT_HIDE);
  balloon->positionX.Compile(u"0");
  balloon->positionY.Compile(u"0");
  return std::make_unique<CCreateFuncInfo>(std::move(balloon));
}

void RegisterReservedBalloonEntries(CCreateFuncInfoMap& definition, IText& text) {
  definition.RegisterReserved(HiddenBalloonEntry());
  definition.RegisterReserved(DefaultTextStyleEntry(text));
}

void AddBalloonRegisterBuilders(SRegisterBuilders& builders, IText& text) {
  builders[BALLOON_ORDER_REG] = BuildBalloonBlock;
  builders[TEXT_LAYER_REG] = BuildTextLayerBlock;
  builders[TEXT_STYLE_REG] = [&text](CRegisterBuildContext& context, const CScriptParam& block) {
    BuildTextStyleBlock(context, block, text);
  };
}
