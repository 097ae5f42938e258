#include "chardef/order_config.h"

#include <memory>

#include "chardef/chara_config.h"
#include "chardef/register_build_context.h"
#include "chardef/register_messages.h"
#include "script/name_tables.h"
#include "script/timer_frame_rewrite.h"
#include "support/number.h"

namespace {

// A flag of a function is on unless its key says exactly "OFF".
bool FlagValue(const CScriptParam& block, std::u16string_view key) { return block.ValueOf(key) != u"OFF"; }

std::u16string SoundOrEmpty(std::u16string name) { return IsSoundName(name) ? std::move(name) : std::u16string(); }

void ReadFuncType(COrderConfig& config, const CScriptParam& block, const std::u16string& folder) {
  const int type = FindFuncType(block.ValueOf(u"FuncType"));
  if (type == kNameNotFound) {
    throw ERegisterBlockFailure{RegisterMessage(folder, config.name, kMsgInvalidFuncType)};
  }
  config.funcType = type;
  if (type == LINE_UP_TOP_EVENT || type == LINE_UP_BOTTOM_EVENT) config.lineUpCandidate = false;
  if (type == LINE_DOWN_TOP_EVENT || type == LINE_DOWN_BOTTOM_EVENT) config.lineDownCandidate = false;
}

void ReadFlags(COrderConfig& config, const CScriptParam& block) {
  config.timerReset = FlagValue(block, u"FlagTimerReset");
  config.menuFunctions = FlagValue(block, u"FlagMenuFunc");
  config.customMenuItem = FlagValue(block, u"FlagCustomMenuItem");
  config.lButton = FlagValue(block, u"FlagLButton");
  config.capture = FlagValue(block, u"FlagCapture");
  config.capturePosition = FlagValue(block, u"FlagCapturePos");
  config.addToList = FlagValue(block, u"FlagAddList");
  // Functions that end or hide the character must be allowed to run while it hides.
  const bool mustHide = config.funcType == EXIT_EVENT || config.funcType == HIDE_EVENT;
  config.hideFunction = mustHide || FlagValue(block, u"FlagHideFunc");
}

void ReadLists(COrderConfig& config, const CScriptParam& block) {
  for (int list = 0; list < FUNC_LIST_END; ++list) {
    config.funcLists[static_cast<size_t>(list)] = OptionalNameList(block.ValueOf(NameOf(kFuncListNames, list)));
  }
  config.hitAreaList = OptionalNameList(block.ValueOf(u"ListHitArea"));
  config.hitEventList = OptionalNameList(block.ValueOf(u"ListHitEvent"));
  config.conditionEventList = OptionalNameList(block.ValueOf(u"ListConditionEvent"));
  config.balloonList = OptionalNameList(block.ValueOf(u"CallBalloonList"));
}

// Event-line offsets are usually absent; skip the conversion (and its failure) then.
int EventLineOf(std::u16string_view text) { return text.empty() ? 0 : LenientInteger(text); }

int FuzzyRangeOf(std::u16string_view text) {
  if (text.empty()) return kDefaultFuzzyRange;  // the common case, without a conversion failure
  const int range = ToUnsignedOrMinusOne(text);
  return range < 0 ? kDefaultFuzzyRange : range;
}

}  // namespace

void BuildOrderBlock(CRegisterBuildContext& context, const CScriptParam& block) {
  BuildBlock(context, block, [&] {
    auto owned = std::make_unique<COrderConfig>(block.FuncName());
    COrderConfig& config = *owned;
    ReadFuncType(config, block, context.FolderName());
    context.RequireFreeName(config.name);

    config.motionName = block.ValueOf(u"FuncNameMotion");
    config.imageLayerNames = SplitAtCommas(block.ValueOf(u"FuncNameImageLayer"));
    config.bgmSoundName = SoundOrEmpty(block.ValueOf(u"SoundNameBgm"));
    config.lButtonSoundName = SoundOrEmpty(block.ValueOf(u"SoundNameLButton"));
    config.rButtonSoundName = SoundOrEmpty(block.ValueOf(u"SoundNameRButton"));
    config.bgmSoundLoop = context.EvaluateOnce(block.ValueOf(u"SoundLoop"));
    config.cursorName = block.ValueOf(u"CursorName");
    config.positionX.Compile(block.ValueOf(u"PosX"));
    config.positionY.Compile(block.ValueOf(u"PosY"));
    config.eventLineX = EventLineOf(block.ValueOf(u"EventLinePosX"));
    config.eventLineY = EventLineOf(block.ValueOf(u"EventLinePosY"));
    std::u16string timer = RewriteTimerFrame(block.ValueOf(u"TimerFrame"));
    config.timer.Compile(timer.empty() ? u"-1" : timer);
    ReadFlags(config, block);
    config.customMenuItemText = block.ValueOf(u"MenuItemCustom");
    ReadLists(config, block);
    config.fuzzyRange = FuzzyRangeOf(block.ValueOf(u"FuzzyRange"));

    context.Definition().Register(std::make_unique<CCreateFuncInfo>(std::move(owned)));
  });
}
