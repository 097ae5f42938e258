// What a character does while it is in a function: entering it, one step of its type's
// behaviour per frame, moving by the motion and keeping inside the move range.
#include <algorithm>

#include "chardef/order_config.h"
#include "platform/trace_record.h"
#include "platform/user_interface.h"
#include "runtime/chara_host.h"
#include "runtime/character.h"
#include "runtime/weighted_pick.h"
#include "script/name_tables.h"

namespace {

constexpr int kMaxTimerFrames = 40000000;

// Whether an expression names one of the screen-position keywords.
bool UsesPositionKeyword(const CTokenList& tokens) {
  return std::any_of(tokens.begin(), tokens.end(), [](const CToken& token) { return IsPositionKeywordKind(token.kind); });
}


}  // namespace

void CCharacter::EnterIfNew() {
  if (nextFunctionId_.load(std::memory_order_relaxed) != enteredFunctionId_) EnterFunction();
}

void CCharacter::EnterFunction() {
  // The new frame keeps the old one's bottom centre.
  double x = mover_.GetX();
  double y = mover_.GetY();
  const double scale = mover_.GetScale();
  if (CurrentFunction() != nullptr) {
    x += mover_.GetWidth() * scale * 0.5;
    y += mover_.GetHeight() * scale;
  }

  enteredFunctionId_ = nextFunctionId_.load(std::memory_order_relaxed);
  const COrderConfig* function = FunctionOf(enteredFunctionId_);
  if (function == nullptr) return;
  currentFunction_.store(function, std::memory_order_release);
  currentMotion_ = definition_->registers.FindEntry(MOTION_REG, function->motionId);
  if (host_.Trace().Tracing()) {
    host_.Trace().Trace(CTraceRecord("function")
                          .Add("chara", Name())
                          .Add("function", function->name)
                          .Add("id", int64_t{function->id})
                          .Add("type", function->funcType == kHideObjectFuncType
                                           ? std::u16string(u"HIDDEN")
                                           : std::u16string(NameOf(kFuncTypeNames, function->funcType)))
                          .Add("slot", int64_t{wonSlot_}));
  }

  try {
    if (currentMotion_ != nullptr) motion_->Start(*currentMotion_);
  } catch (const EScriptError& error) {
    ReportScriptError(Info().displayName + u"の" + function->name + error.Message());
  }

  const int motionWidth = std::max(motion_->Width(), 1);
  const int motionHeight = std::max(motion_->Height(), 1);
  mover_.SetSize(motionWidth, motionHeight);
  mover_.SetEventLineOffsets(function->eventLineX, function->eventLineY);
  mover_.SetScale(scale);
  hitTest_->SetScale(scale);
  balloons_->ApplyScale(scale);
  mover_.RecomputeLines();
  PublishLines();

  const SPoint cursor = host_.CursorSample();
  if (function->capturePosition) {
    x -= mover_.DisplayedWidth() * 0.5;
    y -= mover_.DisplayedHeight();
  } else if (function->funcType == L_BUTTON_EVENT) {
    x = cursor.x;
    y = cursor.y;
  }

  SetPositionKeyword(positionKeywords_, KW_MY_WIDTH, motionWidth);
  SetPositionKeyword(positionKeywords_, KW_MY_HEIGHT, motionHeight);
  SetPositionKeyword(positionKeywords_, KW_LINE_LEFT, mover_.EventLeft());
  SetPositionKeyword(positionKeywords_, KW_LINE_RIGHT, mover_.EventRight());
  SetPositionKeyword(positionKeywords_, KW_LINE_TOP, mover_.EventTop());
  SetPositionKeyword(positionKeywords_, KW_LINE_BOTTOM, mover_.EventBottom());
  SetPositionKeyword(positionKeywords_, KW_X, x);
  SetPositionKeyword(positionKeywords_, KW_Y, y);
  const bool hitStarted = wonSlot_ == SLOT_STROKE || wonSlot_ == SLOT_FRAME_HIT || wonSlot_ == SLOT_CLICK;
  SetPositionKeyword(positionKeywords_, KW_TARGET_WIDTH, hitStarted ? hitTest_->TargetWidth() : 0);
  SetPositionKeyword(positionKeywords_, KW_TARGET_HEIGHT, hitStarted ? hitTest_->TargetHeight() : 0);
  SetPositionKeyword(positionKeywords_, KW_TARGET_X, hitStarted ? hitTest_->TargetX() : 0);
  SetPositionKeyword(positionKeywords_, KW_TARGET_Y, hitStarted ? hitTest_->TargetY() : 0);

  // An empty coordinate keeps the reference point, as if it named X or Y: a function
  // that does not say where it starts goes on where the last one ended.
  const CTokenList& tokensX = function->positionX.Tokens();
  const CTokenList& tokensY = function->positionY.Tokens();
  try {
    if (!tokensX.empty()) x = positionEvaluator_->Evaluate(tokensX, positionKeywords_, scale);
    if (!tokensY.empty()) y = positionEvaluator_->Evaluate(tokensY, positionKeywords_, scale);
  } catch (const EScriptError& error) {
    ReportScriptError(Info().displayName + u"の" + function->name + error.Message());
  }
  if (function->capturePosition) {
    if (!tokensX.empty() && !UsesPositionKeyword(tokensX)) x -= mover_.DisplayedWidth() * 0.5;
    if (!tokensY.empty() && !UsesPositionKeyword(tokensY)) y -= mover_.DisplayedHeight();
  }

  mover_.SetPosition(x, y);
  captureOffsetX_ = x - cursor.x;
  captureOffsetY_ = y - cursor.y;
  if (clampOnEntry_) {
    mover_.ClampInsideMoveRange();
    clampOnEntry_ = false;
  }

  SetUpTimer();
  lButtonEnabled_.store(function->lButton, std::memory_order_relaxed);
  lButtonFunctionsExist_.store(!eventLists_[L_BUTTON_EVENT].empty(), std::memory_order_relaxed);
  frameCounter_ = 0;
  hitTest_->FunctionEntered(*function);

  menuFunctionsAllowed_ = function->menuFunctions && !eventLists_[MENU_EVENT].empty();
  if (customItemAdded_) {
    if (!function->customMenuItemText.empty()) {
      customItemText_.store(&function->customMenuItemText, std::memory_order_release);
    }
    customItemEnabled_.store(function->customMenuItem, std::memory_order_relaxed);
  }

  if (function->bgmSoundName.empty()) {
    StopSound(SOUND_CHANNEL_FUNCTION_BGM);
  } else {
    PlaySound(SOUND_CHANNEL_FUNCTION_BGM, function->bgmSoundName, function->bgmSoundLoop != 0);
  }

  activeLayers_ = 0;
  for (int layerId : function->imageLayerIds) {
    const CCreateFuncInfo* layer = definition_->registers.FindEntry(IMAGE_LAYER_REG, layerId);
    if (layer == nullptr || activeLayers_ >= static_cast<int>(layers_.size())) continue;
    try {
      layers_[static_cast<size_t>(activeLayers_)]->Bind(*layer);
    } catch (const EScriptError& error) {
      ReportScriptError(Info().displayName + u"の" + layer->Config().name + error.Message());
    }
    ++activeLayers_;
  }

  balloons_->ForgetPendingCall();
  // Balloon functions stand on no line: a plain weighted pick.
  const int balloon = PickByWeight(function->resolvedBalloonList);
  if (balloon >= 0) balloons_->CallMain(balloon);
}

void CCharacter::SetUpTimer() {
  const COrderConfig* function = CurrentFunction();
  if (function == nullptr) return;
  if (function->timerReset) timerCount_ = 0;
  try {
    const CValue* value = evaluator_->Evaluate(function->timer.Tokens());
    timerLimit_ = std::min(value != nullptr ? value->GetInt() : 0, kMaxTimerFrames);
  } catch (const EScriptError& error) {
    ReportScriptError(Info().displayName + u"の" + function->name + error.Message());
  }
}

void CCharacter::Advance() {
  try {
    motion_->Advance();
  } catch (const EScriptError& error) {
    ReportScriptError(Name() + u"の" + (currentMotion_ ? currentMotion_->Config().name : std::u16string()) +
                      error.Message());
  }
  const double scale = mover_.GetScale();
  const double moveX = motion_->MoveX() * scale;
  const double moveY = motion_->MoveY() * scale;
  if (captureDrag_.load(std::memory_order_acquire)) {
    captureOffsetX_ += moveX;
    captureOffsetY_ += moveY;
    const SPoint cursor = host_.CursorSample();
    mover_.SetPosition(cursor.x + captureOffsetX_, cursor.y + captureOffsetY_);
  } else {
    mover_.SetPosition(mover_.GetX() + moveX, mover_.GetY() + moveY);
  }
  for (int i = 0; i < activeLayers_; ++i) {
    try {
      layers_[static_cast<size_t>(i)]->AdvanceLayer();
    } catch (const EScriptError& error) {
      ReportScriptError(Name() + u"の" + error.Message());
    }
  }
}

void CCharacter::ClampToMoveRange() { mover_.ClampToMoveRange(); }

bool CCharacter::TimerDue() {
  if (timerLimit_ < 0) return true;
  return ++timerCount_ >= timerLimit_;
}

void CCharacter::TimerCheck() {
  if (timerLimit_ < 0) return;
  if (++timerCount_ < timerLimit_) return;
  // A refused request (another one is pending) leaves the count, so it fires again.
  if (RequestFromList(FUNC_LIST_TIMER)) timerCount_ = 0;
}

void CCharacter::PlainStep() {
  EnterIfNew();
  Advance();
  TimerCheck();
  ClampToMoveRange();
}

void CCharacter::ExitStep() {
  EnterIfNew();
  Advance();
  if (TimerDue()) {
    balloons_->CloseAll();
    Request(SLOT_EXIT, kHiddenFunctionId);
    timerCount_ = 0;
    MarkFinished();
  }
  ClampToMoveRange();
}

void CCharacter::HideStep() {
  EnterIfNew();
  Advance();
  if (TimerDue()) {
    Hide();
    timerCount_ = 0;
  }
  ClampToMoveRange();
}

// The edge steps: `kind` says which event line ends the walk and which two lines turn
// the character. Positions are compared with the lines widened by the margins.
namespace {
enum EEdgeKind { EDGE_LEFT, EDGE_RIGHT, EDGE_TOP, EDGE_BOTTOM, EDGE_LINE_UP_BOTTOM, EDGE_LINE_DOWN_TOP };
}  // namespace

void CCharacter::EdgeStep(int kind) {
  EnterIfNew();
  Advance();
  const double left = mover_.EventLeft() - mover_.MarginLeft();
  const double right = mover_.EventRight() + mover_.MarginRight();
  const double top = mover_.EventTop() - mover_.MarginTop();
  const double bottom = mover_.EventBottom() + mover_.MarginBottom();
  const double x = mover_.GetX();
  const double y = mover_.GetY();

  bool reached = false;
  double eventX = x;
  double eventY = y;
  switch (kind) {
    case EDGE_LEFT: reached = x <= left; eventX = left; break;
    case EDGE_RIGHT: reached = x >= right; eventX = right; break;
    case EDGE_TOP: reached = y <= top; eventY = top; break;
    case EDGE_BOTTOM: reached = y >= bottom; eventY = bottom; break;
    case EDGE_LINE_UP_BOTTOM: reached = y <= bottom; eventY = bottom; break;
    case EDGE_LINE_DOWN_TOP: reached = y >= top; eventY = top; break;
    default: break;
  }
  if (reached) {
    mover_.SetPosition(eventX, eventY);
    RequestFromList(FUNC_LIST_EVENT);
  }
  if (!requests_.IsPending()) {
    const bool horizontal = kind == EDGE_LEFT || kind == EDGE_RIGHT;
    // Walking sideways turns at the top and bottom lines, walking up or down at the sides.
    const double position = horizontal ? mover_.GetY() : mover_.GetX();
    const double low = horizontal ? top : left;
    const double high = horizontal ? bottom : right;
    if (position <= low || position >= high) {
      const double turnAt = position <= low ? low : high;
      if (horizontal) {
        mover_.SetPosition(mover_.GetX(), turnAt);
      } else {
        mover_.SetPosition(turnAt, mover_.GetY());
      }
      RequestFromList(FUNC_LIST_TURN);
    }
  }
  TimerCheck();
  ClampToMoveRange();
}

void CCharacter::LeftEdgeStep() { EdgeStep(EDGE_LEFT); }
void CCharacter::RightEdgeStep() { EdgeStep(EDGE_RIGHT); }
void CCharacter::TopEdgeStep() { EdgeStep(EDGE_TOP); }
void CCharacter::BottomEdgeStep() { EdgeStep(EDGE_BOTTOM); }
void CCharacter::LineUpBottomStep() { EdgeStep(EDGE_LINE_UP_BOTTOM); }
void CCharacter::LineDownTopStep() { EdgeStep(EDGE_LINE_DOWN_TOP); }

void CCharacter::DragStep() {
  EnterIfNew();
  Advance();
  const COrderConfig* function = CurrentFunction();
  if (function != nullptr && function->capture) {
    const SRect& range = mover_.MoveRange();
    const double x = mover_.GetX();
    const double y = mover_.GetY();
    const bool leftRange = x < range.left - mover_.DisplayedWidth() || x > range.right ||
                           y < range.top - mover_.DisplayedHeight() || y > range.bottom;
    if (leftRange) clampOnEntry_ = true;
    if (!host_.Ui().IsPrimaryButtonDown() || !LeftButton() || leftRange) {
      RequestFromList(FUNC_LIST_EVENT);
      mover_.SetLineFromPosition(mover_.GetHeight());
      PublishLines();
      LeftButtonUpOnFrame();
    }
    TimerCheck();
    return;
  }
  TimerCheck();
  ClampToMoveRange();
}

void CCharacter::ReleaseStep() {
  if (nextFunctionId_.load(std::memory_order_relaxed) != enteredFunctionId_) {
    LeftButtonUpOnFrame();
    const COrderConfig* next = FunctionOf(nextFunctionId_.load(std::memory_order_relaxed));
    const CCreateFuncInfo* motion = next ? definition_->registers.FindEntry(MOTION_REG, next->motionId) : nullptr;
    mover_.SetLineFromPosition(motion != nullptr ? motion->Config().height : mover_.GetHeight());
    PublishLines();
    EnterFunction();
  }
  Advance();
  TimerCheck();
  ClampToMoveRange();
}

void CCharacter::MenuStep() {
  EnterIfNew();
  Advance();
  if (!MenuWindowVisible()) RequestFromList(FUNC_LIST_EVENT);
  TimerCheck();
  ClampToMoveRange();
}

void CCharacter::HiddenStep() {
  if (nextFunctionId_.load(std::memory_order_relaxed) == enteredFunctionId_) return;
  StopCharacterChannels();
  EnterFunction();
}
