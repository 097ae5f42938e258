#include "balloon/balloon.h"

#include <algorithm>

#include "chardef/balloon_config.h"
#include "chardef/text_layer_config.h"
#include "platform/layered_window.h"
#include "platform/trace_record.h"
#include "runtime/chara_host.h"
#include "runtime/character.h"
#include "runtime/weighted_pick.h"
#include "script/script_error.h"
#include "script/vocabulary.h"

namespace {

// The most layers any balloon function of `registers` uses, and the largest balloon
// motion (the text atlas is as large as the largest picture).
struct SBalloonNeeds {
  size_t imageLayers = 0;
  size_t textLayers = 0;
  int width = 1;
  int height = 1;
};

SBalloonNeeds NeedsOf(const CCreateFuncInfoMap& registers) {
  SBalloonNeeds needs;
  const CFuncInfoIdMap& functions = registers.EntriesOf(BALLOON_ORDER_REG);
  for (int i = 0; i < functions.Count(); ++i) {
    const CBalloonConfig* function = functions.ValueAt(i)->ConfigAs<CBalloonConfig>();
    if (function == nullptr) continue;
    needs.imageLayers = std::max(needs.imageLayers, function->imageLayerIds.size());
    needs.textLayers = std::max(needs.textLayers, function->textLayers.size());
  }
  const CFuncInfoIdMap& motions = registers.EntriesOf(BALLOON_MOTION_REG);
  for (int i = 0; i < motions.Count(); ++i) {
    const CRootConfig& motion = motions.ValueAt(i)->Config();
    needs.width = std::clamp(motion.width, needs.width, CMotionStatus::kMaxSide);
    needs.height = std::clamp(motion.height, needs.height, CMotionStatus::kMaxSide);
  }
  return needs;
}

}  // namespace

CBalloon::CBalloon(CCharacter& owner, const std::u16string& name, CGlyphCache& glyphs)
    : CObjWnd(owner.WindowClass(), owner.Name()),
      owner_(owner),
      balloonName_(name),
      glyphs_(glyphs),
      motion_(owner.Evaluator(), owner.Media(), owner, SOUND_CHANNEL_BALLOON_ROW),
      mover_(owner.Mover()),
      position_(owner.Evaluator()),
      picture_(NeedsOf(owner.Definition().registers).width, NeedsOf(owner.Definition().registers).height) {
  const SBalloonNeeds needs = NeedsOf(owner.Definition().registers);
  for (size_t i = 0; i < needs.imageLayers; ++i) {
    imageLayers_.push_back(
        std::make_unique<CImageLayerStatus>(owner.Evaluator(), owner.Media(), owner, SOUND_CHANNEL_BALLOON_ROW));
  }
  for (size_t i = 0; i < needs.textLayers; ++i) {
    textLayers_.push_back(std::make_unique<CTextLayerStatus>(*this, static_cast<int>(i), needs.width, needs.height));
  }
  frame_.imageLayers.reserve(imageLayers_.size());
  frame_.glyphs.reserve(256);
  frame_.runEnds.reserve(textLayers_.size());
  frame_.generations.reserve(textLayers_.size());
}

CBalloon::~CBalloon() = default;

// --- Calls -------------------------------------------------------------------------

void CBalloon::Request(int id) {
  int none = -1;
  pending_.compare_exchange_strong(none, id, std::memory_order_acq_rel);
}

void CBalloon::Call(int id) {
  if (id < 0) return;
  if (idle_) {
    Request(id);
    return;
  }
  const CCreateFuncInfo* entry = Registers().FindEntry(BALLOON_ORDER_REG, id);
  const CBalloonConfig* called = entry != nullptr ? entry->ConfigAs<CBalloonConfig>() : nullptr;
  const int callType = called != nullptr ? called->callType : NORMAL;
  if (callType == FORCE) {
    Hide();
    enteredId_ = -1;  // entered anew, even when it is the function showing now
    Request(id);
  } else if (callType == WAIT) {
    waitingCall_ = id;
  }
  // NORMAL: the balloon is busy; the call is lost.
}

void CBalloon::Close() {
  if (runState_ != kActive) return;
  nextId_ = kHiddenBalloonId;
  runState_ = kHidden;
}

// --- Frames ------------------------------------------------------------------------

void CBalloon::Update() {
  const int requested = pending_.exchange(-1, std::memory_order_acq_rel);
  if (requested >= 0) {
    nextId_ = requested;
    runState_ = kActive;
  }
  if (runState_ == kActive) {
    ActiveStep();
  } else {
    HiddenStep();
  }
  Paint();
}

void CBalloon::ActiveStep() {
  if (nextId_ != enteredId_) EnterBalloonFunction();
  Advance();
  Animate();
  DecideNext();
  ++frameCount_;
}

void CBalloon::HiddenStep() {
  if (nextId_ == enteredId_) return;
  Hide();
  StopChannels();
  EnterBalloonFunction();
}

void CBalloon::Advance() {
  try {
    motion_.Advance();
  } catch (const EScriptError& error) {
    ReportScriptError(error.Message());
  }
  mover_.SetOffset(mover_.OffsetX() + motion_.MoveX(), mover_.OffsetY() + motion_.MoveY());
  mover_.SetScaledOffset(mover_.OffsetX() * scale_, mover_.OffsetY() * scale_);
  for (int i = 0; i < activeImageLayers_; ++i) {
    try {
      imageLayers_[static_cast<size_t>(i)]->AdvanceLayer();
    } catch (const EScriptError& error) {
      ReportScriptError(error.Message());
    }
  }
  for (int i = 0; i < activeTextLayers_; ++i) textLayers_[static_cast<size_t>(i)]->Step();
}

void CBalloon::Animate() {
  switch (openState_) {
    case BALLOON_OPEN:
      if (closeRequested_) SetOpenState(BALLOON_CLOSING);
      break;
    case BALLOON_CLOSED:
      if (openRequested_) {
        ShowWindow(true);
        SetOpenState(BALLOON_OPENING);
      }
      break;
    case BALLOON_OPENING:
      GrowStep(+1.0);
      if (mover_.SizeFactor() >= 1.0 && mover_.OpacityFactor() >= 1.0) {
        SetOpenState(BALLOON_OPEN);
        openRequested_ = false;
      }
      break;
    case BALLOON_CLOSING:
      GrowStep(-1.0);
      if (mover_.SizeFactor() <= 0.0 || mover_.OpacityFactor() <= 0.0) {
        mover_.SetSizeFactor(0.0);
        mover_.SetOpacityFactor(0.0);
        mover_.SetDisplayedSize(0.0, 0.0);
        ShowWindow(false);
        SetOpenState(BALLOON_CLOSED);
        closeRequested_ = false;
      }
      break;
    default: break;
  }
}

namespace {

// A factor one step from its end: ten steps of 0.1 add up to a hair below 1, which
// must count as open.
double StepFactor(double factor, double step) {
  constexpr double kSnap = 1e-9;
  const double next = std::clamp(factor + step, 0.0, 1.0);
  if (next > 1.0 - kSnap) return 1.0;
  if (next < kSnap) return 0.0;
  return next;
}

}  // namespace

void CBalloon::GrowStep(double direction) {
  mover_.SetSizeFactor(StepFactor(mover_.SizeFactor(), direction * mover_.SizeStep()));
  mover_.SetOpacityFactor(StepFactor(mover_.OpacityFactor(), direction * mover_.OpacityStep()));
  Place();
}

void CBalloon::DecideNext() {
  for (const auto& layer : textLayers_) {
    if (!layer->Finished()) return;
  }
  idle_ = true;
  const int next = currentFunction_ != nullptr ? PickByWeight(currentFunction_->nextBalloons) : -1;
  // A chain or a waiting call that names the function showing now is not entered again:
  // its text stays as it ended. Only a FORCE call starts a function anew.
  if (next >= 0) {
    Request(next);
  } else if (waitingCall_ >= 0) {
    Request(waitingCall_);
    waitingCall_ = -1;
  } else {
    Close();
  }
}

void CBalloon::Hide() {
  for (const auto& layer : textLayers_) layer->Finish();
  idle_ = true;
  mover_.SetSizeFactor(0.0);
  mover_.SetOpacityFactor(0.0);
  mover_.SetDisplayedSize(0.0, 0.0);
  ShowWindow(false);
  SetOpenState(BALLOON_CLOSED);
  openRequested_ = false;
  closeRequested_ = false;
}

void CBalloon::EnterBalloonFunction() {
  enteredId_ = nextId_;
  const CCreateFuncInfo* entry = Registers().FindEntry(BALLOON_ORDER_REG, enteredId_);
  currentFunction_ = entry != nullptr ? entry->ConfigAs<CBalloonConfig>() : nullptr;
  activeImageLayers_ = 0;
  activeTextLayers_ = 0;
  if (currentFunction_ == nullptr) return;
  currentMotion_ = Registers().FindEntry(BALLOON_MOTION_REG, currentFunction_->motionId);
  ICharaHost& host = owner_.Host();
  if (host.Trace().Tracing()) {
    host.Trace().Trace(CTraceRecord("balloon")
                           .Add("chara", owner_.Name())
                           .Add("balloon", balloonName_)
                           .Add("function", currentFunction_->name));
  }

  try {
    if (currentMotion_ != nullptr) motion_.Start(*currentMotion_);
  } catch (const EScriptError& error) {
    ReportScriptError(error.Message());
  }
  const int width = std::max(motion_.Width(), 1);
  const int height = std::max(motion_.Height(), 1);
  mover_.SetSize(width, height);
  mover_.SetScale(scale_);

  SetPositionKeyword(keywords_, KW_CHARA_WIDTH, owner_.Mover().GetWidth());
  SetPositionKeyword(keywords_, KW_CHARA_HEIGHT, owner_.Mover().GetHeight());
  SetPositionKeyword(keywords_, KW_MY_WIDTH, width);
  SetPositionKeyword(keywords_, KW_MY_HEIGHT, height);
  SetPositionKeyword(keywords_, KW_BAL_WIDTH, width);
  SetPositionKeyword(keywords_, KW_BAL_HEIGHT, height);
  try {
    const CFuncExpression* expressions[] = {&currentFunction_->positionX, &currentFunction_->positionY,
                                            &currentFunction_->popupPositionX, &currentFunction_->popupPositionY};
    double values[4] = {};
    for (int i = 0; i < 4; ++i) values[i] = EvaluateArea(*expressions[i]);
    mover_.SetOffset(values[0], values[1]);
    mover_.SetAnchor(static_cast<int>(values[2]), static_cast<int>(values[3]));
  } catch (const EScriptError& error) {
    ReportScriptError(error.Message());
  }
  mover_.SetScaledOffset(mover_.OffsetX() * scale_, mover_.OffsetY() * scale_);

  if (currentFunction_->bgmSoundName.empty()) {
    owner_.StopSound(SOUND_CHANNEL_BALLOON_BGM);
  } else {
    owner_.PlaySound(SOUND_CHANNEL_BALLOON_BGM, currentFunction_->bgmSoundName, currentFunction_->bgmSoundLoop != 0);
  }

  for (int id : currentFunction_->imageLayerIds) {
    const CCreateFuncInfo* layer = Registers().FindEntry(BALLOON_IMAGE_LAYER_REG, id);
    if (layer == nullptr || activeImageLayers_ >= static_cast<int>(imageLayers_.size())) continue;
    try {
      imageLayers_[static_cast<size_t>(activeImageLayers_)]->Bind(*layer);
    } catch (const EScriptError& error) {
      ReportScriptError(error.Message());
    }
    ++activeImageLayers_;
  }

  for (const CTextLayerConfig* layer : currentFunction_->textLayers) {
    if (layer == nullptr || activeTextLayers_ >= static_cast<int>(textLayers_.size())) continue;
    textLayers_[static_cast<size_t>(activeTextLayers_)]->Start(*layer);
    ++activeTextLayers_;
  }
  if (activeTextLayers_ > 0) idle_ = false;
  Place();
}

// --- Opening and closing -------------------------------------------------------------

void CBalloon::RequestOpen(double sizeStep, double opacityStep) {
  mover_.SetSizeStep(sizeStep);
  mover_.SetOpacityStep(opacityStep);
  openRequested_ = true;
}

void CBalloon::RequestClose(double sizeStep, double opacityStep) {
  mover_.SetSizeStep(sizeStep);
  mover_.SetOpacityStep(opacityStep);
  closeRequested_ = true;
}

void CBalloon::SetOpenState(int state) {
  if (state == openState_) return;
  openState_ = state;
  if (state != BALLOON_OPEN && state != BALLOON_CLOSED) return;
  ICharaHost& host = owner_.Host();
  if (!host.Trace().Tracing()) return;
  host.Trace().Trace(CTraceRecord(state == BALLOON_OPEN ? "balloon-open" : "balloon-close")
                         .Add("chara", owner_.Name())
                         .Add("balloon", balloonName_));
}

void CBalloon::ShowWindow(bool visible) {
  visible_ = visible;
  hiddenPainted_ = false;
  ILayeredWindow* window = Window();
  if (window == nullptr) return;
  if (visible) {
    window->Show();
  } else {
    window->Hide();
  }
}

void CBalloon::StopChannels() {
  owner_.StopSound(SOUND_CHANNEL_BALLOON_BGM);
  owner_.StopSound(SOUND_CHANNEL_BALLOON_ROW);
}

void CBalloon::SetScale(double scale) {
  scale_ = scale;
  mover_.SetScale(scale);
  mover_.SetScaledOffset(mover_.OffsetX() * scale, mover_.OffsetY() * scale);
  Place();
}

void CBalloon::SetOpacity(double opacity) {
  opacity_ = opacity;
  Place();
}

void CBalloon::Place() {
  const double factor = mover_.SizeFactor();
  mover_.SetDisplayedSize(mover_.GetWidth() * factor * scale_, mover_.GetHeight() * factor * scale_);
  mover_.SetOpacity(opacity_ * mover_.OpacityFactor());
  const CMover& owner = mover_.Owner();
  mover_.SetPosition(owner.GetX() + mover_.ScaledOffsetX() + (mover_.AnchorX() - mover_.AnchorX() * factor) * scale_,
                     owner.GetY() + mover_.ScaledOffsetY() + (mover_.AnchorY() - mover_.AnchorY() * factor) * scale_);
}

// --- Mouse -------------------------------------------------------------------------

void CBalloon::LeftButtonDown(int x, int y) {
  CObjWnd::LeftButtonDown(x, y);
  owner_.ZOrderFix();
}

void CBalloon::RightButtonDown(int x, int y) {
  CObjWnd::RightButtonDown(x, y);
  owner_.ZOrderFix();
}

// --- ITextLayerOwner -----------------------------------------------------------------

CScriptEvaluator& CBalloon::Evaluator() { return owner_.Evaluator(); }

double CBalloon::EvaluateArea(const CFuncExpression& expression) {
  if (expression.Empty()) return 0.0;
  return position_.Evaluate(expression.Tokens(), keywords_, 1.0);
}

const CCreateFuncInfoMap& CBalloon::Registers() const { return owner_.Definition().registers; }

IText& CBalloon::Text() { return owner_.Host().Text(); }

void CBalloon::ReportScriptError(const std::u16string& message) {
  owner_.ReportError(owner_.Info().displayName + u"の" +
                     (currentFunction_ != nullptr ? currentFunction_->name : std::u16string()) + message);
}

void CBalloon::TextStarted(int layer, const std::u16string& text) {
  ICharaHost& host = owner_.Host();
  if (!host.Trace().Tracing()) return;
  host.Trace().Trace(CTraceRecord("text")
                         .Add("chara", owner_.Name())
                         .Add("function", currentFunction_ != nullptr ? currentFunction_->name : std::u16string())
                         .Add("layer", int64_t{layer})
                         .Add("text", text));
}
