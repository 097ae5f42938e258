// The per-frame operation of a character: settings the main thread changed, the
// strongest pending request, the step of the current function, paint, condition and
// hit events, the pop-up menu and the balloons — in this order.
#include "chardef/condition_event_config.h"
#include "chardef/hit_event_config.h"
#include "chardef/order_config.h"
#include "platform/user_interface.h"
#include "runtime/chara_host.h"
#include "runtime/character.h"

namespace {

constexpr char16_t kInvalidFuncType[] = u"で無効なFuncTypeを持った関数が存在します。";

// Whether a condition event with this interval is due on the function's frame `frame`.
bool IntervalDue(int interval, unsigned frame) {
  switch (interval) {
    case ONLY_ONCE: return frame == 0;
    case EVERY_FRAME: return true;
    case EVERY_SECOND: return frame % 30 == 0;
    case EVERY_MINUTE: return frame % 1800 == 0;
    case EVERY_HOUR: return frame % 108000 == 0;
    default: return false;
  }
}

}  // namespace

void CCharacter::Update() {
  if (!loaded_) return;
  frameThread_.store(std::this_thread::get_id(), std::memory_order_relaxed);
  ApplyPendingSettings();
  ResolveTransition();
  if (step_ != nullptr) (this->*step_)();
  Paint();
  TestConditionEvents();
  TestFrameHits();
  WatchMenu();
  balloons_->UpdateAll();
}

void CCharacter::ApplyPendingSettings() {
  const double scale = pendingScale_.exchange(0.0, std::memory_order_acq_rel);
  if (scale > 0.0) {
    mover_.SetScale(scale);
    mover_.RecomputeLines();
    mover_.Remap();
    hitTest_->SetScale(scale);
    balloons_->ApplyScale(scale);
    PublishLines();
  }
  if (opacityChanged_.exchange(false, std::memory_order_acq_rel)) {
    const double opacity = opacity_.load(std::memory_order_relaxed);
    mover_.SetOpacity(opacity);
    balloons_->ApplyOpacity(opacity);
  }
}

void CCharacter::ResolveTransition() {
  if (!requests_.IsPending()) return;
  resolving_.SetBusy(true);
  int next = kHiddenFunctionId;
  wonSlot_ = -1;
  if (!Ended() && !Finished()) {
    next = requests_.Take();
    wonSlot_ = requests_.TakenSlot();
  }
  const COrderConfig* chosen = FunctionOf(next);
  if (chosen == nullptr) {
    // A request for something that is no function keeps the character where it is.
    next = enteredFunctionId_ >= 0 ? enteredFunctionId_ : kHiddenFunctionId;
    chosen = FunctionOf(next);
  }

  // While a hide or an exit is pending, an ordinary choice is redirected to the hide or
  // exit list of the chosen function. The hidden function itself is where both end, so
  // it is never redirected (that would start the hide over and over).
  if (chosen != nullptr && chosen->funcType != EXIT_EVENT && next != kHiddenFunctionId) {
    if (hideDone_.exchange(false, std::memory_order_relaxed)) {
    } else if (hidePending_.load(std::memory_order_relaxed) && !exitPending_.load(std::memory_order_relaxed) &&
               chosen->funcType != HIDE_EVENT) {
      RequestFromListOf(chosen, KIND_HIDE, nullptr, frameScratch_);
      next = requests_.ValueOf(SLOT_HIDE);
    }
    if (exitDone_.exchange(false, std::memory_order_relaxed)) {
    } else if (exitPending_.load(std::memory_order_relaxed)) {
      RequestFromListOf(chosen, KIND_EXIT, nullptr, frameScratch_);
      next = requests_.ValueOf(SLOT_EXIT);
    }
  }
  if (FunctionOf(next) == nullptr) next = kHiddenFunctionId;
  nextFunctionId_.store(next, std::memory_order_relaxed);

  if (next == enteredFunctionId_) SetUpTimer();
  SetType(FunctionOf(next)->funcType);
  if (currentType_ == LINE_UP_TOP_EVENT || currentType_ == LINE_UP_BOTTOM_EVENT) {
    mover_.SetLine(mover_.Line() - 1);
  } else if (currentType_ == LINE_DOWN_TOP_EVENT || currentType_ == LINE_DOWN_BOTTOM_EVENT) {
    mover_.SetLine(mover_.Line() + 1);
  }
  mover_.RecomputeLines();
  PublishLines();

  requests_.Reset();
  resolving_.SetBusy(false);
}

void CCharacter::SetType(int type) {
  if (type < 0) {
    const COrderConfig* function = FunctionOf(nextFunctionId_.load(std::memory_order_relaxed));
    ReportScriptError(Name() + u"の" + (function != nullptr ? function->name : std::u16string()) + kInvalidFuncType);
    return;
  }
  previousType_ = currentType_;
  currentType_ = type;
  if (type == kHideObjectFuncType) {
    step_ = behaviours_[FUNC_TYPE_END];
  } else {
    step_ = type > FUNC_TYPE_BEGIN && type < FUNC_TYPE_END ? behaviours_[static_cast<size_t>(type)] : nullptr;
  }
}

void CCharacter::TestConditionEvents() {
  if (const COrderConfig* function = CurrentFunction()) {
    for (const CConditionEventConfig* condition : function->conditionEvents) {
      if (condition == nullptr || !IntervalDue(condition->intervalType, frameCounter_)) continue;
      bool holds = false;
      try {
        const CValue* value = evaluator_->Evaluate(condition->condition.Tokens());
        holds = value != nullptr && value->GetBool();
      } catch (const EScriptError& error) {
        ReportScriptError(Name() + u"の" + condition->name + error.Message());
        break;
      }
      if (holds) {
        RequestFromList(KIND_CONDITION, &condition->resolvedFuncList);
        break;
      }
    }
  }
  ++frameCounter_;
}

void CCharacter::TestFrameHits() {
  const CHitEventConfig* hit = hitTest_->FrameTest();
  if (hit == nullptr) return;
  TraceHit(*hit, hit->hitType == HIT_CHARA ? hitTest_->LastTarget() : nullptr);
  PlayHitSound(*hit);
  RequestFromList(KIND_FRAME_HIT, &hit->resolvedFuncList);
}

bool CCharacter::MenuWindowVisible() const {
  return menuSeen_.load(std::memory_order_relaxed) && host_.Ui().IsPopupMenuShowing();
}

void CCharacter::WatchMenu() {
  const bool visible = MenuWindowVisible();
  // The menu window is forgotten once it closed, so another owner's menu is not taken
  // for this character's.
  if (!visible) menuSeen_.store(false, std::memory_order_relaxed);
  if (nextFunctionId_.load(std::memory_order_relaxed) != kHiddenFunctionId && !Ending()) {
    if (!menuFunctionsAllowed_ || !visible) {
      menuOpen_ = false;
    } else if (!requests_.IsPending()) {
      if (!menuOpen_ || currentType_ != MENU_EVENT) RequestFromList(KIND_MENU);
      menuOpen_ = true;
    }
  }
  if (visible) menuShown_.store(false, std::memory_order_relaxed);
}

void CCharacter::PublishLines() {
  publishedLine_.store(mover_.Line(), std::memory_order_relaxed);
  publishedLineCount_.store(mover_.LineCount(), std::memory_order_relaxed);
}
