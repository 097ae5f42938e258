#include "runtime/character.h"

#include <algorithm>

#include "chardef/chara_loader.h"
#include "chardef/motion_config.h"
#include "chardef/order_config.h"
#include "platform/layered_window.h"
#include "platform/trace_record.h"
#include "runtime/chara_host.h"
#include "runtime/chara_state_file.h"
#include "runtime/settings_menu.h"
#include "window/command_ids.h"

namespace {

// Creation numbers of the process's characters, from 0.
std::atomic<int> g_nextCharacterIndex{0};

constexpr char16_t kAboutMenuText[] = u"Zelvotta について";
constexpr char16_t kCustomItemText[] = u"カスタム";
constexpr char16_t kAboutItemSuffix[] = u" について";
constexpr size_t kCustomItemPosition = 0;
constexpr size_t kAboutItemPosition = 2;

// The function types whose lists a start or show falls back to, in order.
constexpr int kEdgeListTypes[] = {LEFT_EVENT,       RIGHT_EVENT,       TOP_EVENT,        BOTTOM_EVENT,     NONE_EVENT,
                                  LEFT_EVENT_FUZZY, RIGHT_EVENT_FUZZY, TOP_EVENT_FUZZY, BOTTOM_EVENT_FUZZY};

// The five channels the character plays on itself; the last two are its balloons'.
constexpr ECharaSoundChannel kCharacterChannels[] = {SOUND_CHANNEL_FUNCTION_BGM, SOUND_CHANNEL_ROW,
                                                     SOUND_CHANNEL_L_BUTTON, SOUND_CHANNEL_R_BUTTON,
                                                     SOUND_CHANNEL_HIT_EVENT};

}  // namespace

CCharacter::CCharacter(CImageWndClass& windowClass, const std::u16string& folderName, ICharaHost& host)
    : CObjWnd(windowClass, folderName),
      host_(host),
      index_(g_nextCharacterIndex.fetch_add(1, std::memory_order_relaxed)),
      definition_(std::make_unique<CCharaDefinition>(folderName, host.MoveRange(), host.Audio(), this)),
      evaluator_(std::make_unique<CScriptEvaluator>()),
      positionEvaluator_(std::make_unique<CPositionExpression>(*evaluator_)),
      motion_(std::make_unique<CMotionStatus>(*evaluator_, definition_->media, *this, SOUND_CHANNEL_ROW)),
      menu_(BuildCharacterMenu()),
      hitTest_(std::make_unique<CHitTest>(*this)) {
  requests_.SetBase(0);
  balloons_ = host.MakeBalloons(*this);
  startState_.moveRange = host.MoveRange();
  startState_.scaleId = host.ScaleId();
  startState_.opacityId = host.OpacityId();
  if (CMenuItem* about = menu_.FindById(kCmdAbout)) about->text = kAboutMenuText;

  auto set = [this](int type, StepBehaviour behaviour) { behaviours_[static_cast<size_t>(type)] = behaviour; };
  for (int type : {START_EVENT, SHOW_EVENT, NONE_EVENT, CUSTOM_EVENT}) set(type, &CCharacter::PlainStep);
  set(EXIT_EVENT, &CCharacter::ExitStep);
  set(HIDE_EVENT, &CCharacter::HideStep);
  set(LEFT_EVENT, &CCharacter::LeftEdgeStep);
  set(RIGHT_EVENT, &CCharacter::RightEdgeStep);
  set(TOP_EVENT, &CCharacter::TopEdgeStep);
  set(LINE_UP_TOP_EVENT, &CCharacter::TopEdgeStep);
  set(BOTTOM_EVENT, &CCharacter::BottomEdgeStep);
  set(LINE_DOWN_BOTTOM_EVENT, &CCharacter::BottomEdgeStep);
  set(LINE_UP_BOTTOM_EVENT, &CCharacter::LineUpBottomStep);
  set(LINE_DOWN_TOP_EVENT, &CCharacter::LineDownTopStep);
  set(L_BUTTON_EVENT, &CCharacter::DragStep);
  set(RELEASE_EVENT, &CCharacter::ReleaseStep);
  set(MENU_EVENT, &CCharacter::MenuStep);
  // Types the design leaves without a behaviour get the one nearest their name, so a
  // character chosen into them keeps living instead of freezing: the fuzzy edges walk
  // like the plain edges, a rectangle or region function runs like a plain one.
  set(LEFT_EVENT_FUZZY, &CCharacter::LeftEdgeStep);
  set(RIGHT_EVENT_FUZZY, &CCharacter::RightEdgeStep);
  set(TOP_EVENT_FUZZY, &CCharacter::TopEdgeStep);
  set(BOTTOM_EVENT_FUZZY, &CCharacter::BottomEdgeStep);
  set(RECT_EVENT, &CCharacter::PlainStep);
  set(REGION_EVENT, &CCharacter::PlainStep);
  behaviours_[FUNC_TYPE_END] = &CCharacter::HiddenStep;
  // Until a request wins, the character rests in the hidden function.
  step_ = &CCharacter::HiddenStep;
}

CCharacter::~CCharacter() {
  balloons_.reset();
  layers_.clear();
  motion_.reset();
  // A character that never finished loading has no state of its own: writing its
  // defaults would overwrite the place the user left it last time.
  if (loaded_) {
    WriteCharaState(host_.ParamsFolder(), Name(), mover_.GetX(), mover_.GetY(),
                    mover_.Line(), Muted(), Hidden());
  }
  hitTest_.reset();
  positionEvaluator_.reset();
  definition_.reset();
  evaluator_.reset();
}

bool CCharacter::Load() {
  CCharaLoader loader(Name());
  try {
    loader.Load(*definition_, host_.Text(), hitTest_.get());
  } catch (const EScriptError& error) {
    ReportScriptError(error.Message());
  }

  // The largest picture the character can show sizes the shared work surfaces.
  for (SCRIPT_TYPE type : {MOTION_REG, BALLOON_MOTION_REG}) {
    const CFuncInfoIdMap& motions = definition_->registers.EntriesOf(type);
    for (int i = 0; i < motions.Count(); ++i) {
      const CRootConfig& config = motions.ValueAt(i)->Config();
      maxWidth_ = std::min(std::max(maxWidth_, config.width), CMotionStatus::kMaxSide);
      maxHeight_ = std::min(std::max(maxHeight_, config.height), CMotionStatus::kMaxSide);
    }
  }

  const CCharaInfo& info = definition_->info;
  startState_.lineHeight = info.lineHeight;
  startState_.noLines = info.autoLineHeight;

  const CFuncInfoIdMap& functions = definition_->registers.EntriesOf(ORDER_REG);
  for (int i = 0; i < functions.Count(); ++i) {
    const COrderConfig* function = functions.ValueAt(i)->ConfigAs<COrderConfig>();
    if (function == nullptr || !function->addToList) continue;
    if (function->funcType < START_EVENT || function->funcType > REGION_EVENT) continue;
    eventLists_[static_cast<size_t>(function->funcType)].push_back(function->id);
    if (!customItemAdded_ && function->funcType == CUSTOM_EVENT) {
      menu_.InsertAt(kCustomItemPosition, kCmdCustomItem, kCustomItemText);
      customItemAdded_ = true;
    }
  }
  for (int type : kEdgeListTypes) {
    const std::vector<int>& list = eventLists_[static_cast<size_t>(type)];
    if (!list.empty()) edgeLists_.push_back(&list);
  }

  if (balloons_->CreateMain()) ZOrderFix();
  menu_.InsertAt(kAboutItemPosition, kCmdCharacterAbout, info.displayName + kAboutItemSuffix);

  layers_.clear();
  for (int i = 0; i < definition_->imageLayerPlayerCount; ++i) {
    layers_.push_back(std::make_unique<CImageLayerStatus>(*evaluator_, definition_->media, *this, SOUND_CHANNEL_ROW));
  }
  placements_.reserve(layers_.size());
  lastPlacements_.reserve(layers_.size());

  startState_.read = ReadCharaState(host_.ParamsFolder(), Name(), startState_);
  mover_.Init(startState_, host_.ScaleFactor());
  PublishLines();
  SetMute(startState_.mute);
  SetHiddenMark(startState_.hide);
  loaded_ = true;
  return startState_.hide;
}

void CCharacter::InitialShow() {
  if (Hidden()) {
    HideRequest();
  } else {
    StartRequest();
  }
}

void CCharacter::RequestEnding() {
  SetEnding(true);
  const COrderConfig* function = CurrentFunction();
  if (!Hidden() && !resolving_.IsBusy() && function != nullptr && function->hideFunction) {
    RequestFromListOf(function, KIND_EXIT, nullptr, ScratchForThisThread());
    exitDone_.store(true, std::memory_order_relaxed);
  }
  exitPending_.store(true, std::memory_order_relaxed);
  if (Ended()) MarkFinished();
}

void CCharacter::MenuOpened(intptr_t) { menuSeen_.store(true, std::memory_order_relaxed); }

void CCharacter::ToggleHidden() {
  if (Hidden()) {
    SetAcceptsMouse(true);
    SetHiddenMark(false);
    ShowRequest();
  } else {
    SetAcceptsMouse(false);
    SetHiddenMark(true);
    HideWithFunction();
  }
}

void CCharacter::ToggleMute() { SetMute(!Muted()); }

void CCharacter::CustomItem() { RequestFromList(KIND_CUSTOM); }

void CCharacter::ShowAbout() { host_.ShowCharacterAbout(*this); }
void CCharacter::ShowAppAbout() { host_.ApplicationCommand(kCmdAbout); }
void CCharacter::ScaleCommand(int commandId) { host_.ApplicationCommand(commandId); }
void CCharacter::OpacityCommand(int commandId) { host_.ApplicationCommand(commandId); }
void CCharacter::AllSoundCommand(bool mute) { host_.ApplicationCommand(mute ? kCmdAllSoundOff : kCmdAllSoundOn); }
void CCharacter::LowQualityCommand() { host_.ApplicationCommand(kCmdLowQuality); }
void CCharacter::MoveRangeCommand() { host_.ApplicationCommand(kCmdMoveRange); }
void CCharacter::TopmostCommand() { host_.ApplicationCommand(kCmdAlwaysOnTop); }
void CCharacter::MouseCommand() { host_.ApplicationCommand(kCmdMouseDisabled); }
void CCharacter::ExitCommand() { host_.ApplicationCommand(kCmdExit); }

void CCharacter::ApplyScale(int scaleId, double factor) {
  CheckOneOf(menu_, kCmdScaleFirst, kCmdScaleLast, scaleId);
  pendingScale_.store(factor, std::memory_order_release);
}

void CCharacter::ApplyOpacity(int opacityId) {
  CheckOneOf(menu_, kCmdOpacityFirst, kCmdOpacityLast, opacityId);
  if (ILayeredWindow* window = Window()) {
    window->Show();
    window->BringToTop();
  }
  // The id may come from app.cfg as any number: clamp before taking the step.
  const int step = std::clamp(opacityId, kCmdOpacityFirst, kCmdOpacityLast) - kCmdOpacityFirst;
  opacity_.store(1.0 - 0.1 * step, std::memory_order_relaxed);
  opacityChanged_.store(true, std::memory_order_release);
}

void CCharacter::SetMute(bool mute) {
  muted_.store(mute, std::memory_order_relaxed);
  // Muting the character silences its balloons as well: "sound off" means all of it.
  // A sound still playing stops the way every other stop does, so the trace shows it.
  for (int channel = 0; channel < SOUND_CHANNEL_COUNT; ++channel) {
    const auto soundChannel = static_cast<ECharaSoundChannel>(channel);
    if (mute) StopSound(soundChannel);
    definition_->media.Channel(soundChannel).SetMute(mute);
  }
  SetChecked(menu_, kCmdToggleMute, mute);
}

void CCharacter::StartRequest() { RequestFromList(KIND_START); }

void CCharacter::HideRequest() {
  hidePending_.store(true, std::memory_order_relaxed);
  Hide();
}

void CCharacter::ShowRequest() {
  hidePending_.store(false, std::memory_order_relaxed);
  SetEnded(false);
  hideDone_.store(false, std::memory_order_relaxed);
  RequestFromList(KIND_SHOW);
}

void CCharacter::HideWithFunction() {
  const COrderConfig* function = CurrentFunction();
  if (!resolving_.IsBusy() && function != nullptr && function->hideFunction) {
    RequestFromListOf(function, KIND_HIDE, nullptr, ScratchForThisThread());
    hideDone_.store(true, std::memory_order_relaxed);
  }
  hidePending_.store(true, std::memory_order_relaxed);
}

void CCharacter::MoveRangeChanged() {
  if (currentType_ != kHideObjectFuncType) RequestFromList(FUNC_LIST_REGION);
}

void CCharacter::ApplyMoveRange(const SRect& range) {
  mover_.SetMoveRange(range);
  mover_.RecomputeLines();
  mover_.Remap();
  mover_.ClampToMoveRange();
  PublishLines();
  MoveRangeChanged();
}

void CCharacter::PlaySound(ECharaSoundChannel channel, const std::u16string& name, bool loop) {
  CSoundManager& manager = definition_->media.Channel(channel);
  if (manager.Muted()) return;
  // Frame sounds may start every frame: the path is composed in a buffer that keeps its
  // room, one per thread since both threads play.
  static thread_local std::u16string path;
  path.assign(definition_->media.SoundsFolder()).append(name);
  if (!manager.Play(path, loop ? -1 : 0)) return;
  if (!host_.Trace().Tracing()) return;
  host_.Trace().Trace(CTraceRecord("sound")
                          .Add("chara", Name())
                          .Add("channel", int64_t{channel + 1})
                          .Add("file", name)
                          .Add("loop", loop));
}

void CCharacter::StopSound(ECharaSoundChannel channel) {
  CSoundManager& manager = definition_->media.Channel(channel);
  const bool wasPlaying = manager.IsPlaying();
  manager.StopAndRelease();
  if (wasPlaying && host_.Trace().Tracing()) {
    host_.Trace().Trace(CTraceRecord("sound-stop").Add("chara", Name()).Add("channel", int64_t{channel + 1}));
  }
}

void CCharacter::StopCharacterChannels() {
  for (ECharaSoundChannel channel : kCharacterChannels) StopSound(channel);
}

void CCharacter::ReportScriptError(const std::u16string& message) { host_.ReportFatalError(Window(), message); }

void CCharacter::ReportFunctionError(const COrderConfig& function, const std::u16string& tail) {
  ReportScriptError(Name() + u"の" + function.name + tail);
}

void CCharacter::TraceEvent(const char* event) {
  if (host_.Trace().Tracing()) host_.Trace().Trace(CTraceRecord(event).Add("chara", Name()));
}

void CCharacter::SetHiddenMark(bool hidden) {
  if (Hidden() == hidden) return;
  SetHidden(hidden);
  TraceEvent(hidden ? "hide" : "show");
}

void CCharacter::MarkFinished() {
  if (Finished()) return;
  SetFinished(true);
  TraceEvent("finished");
}
