#include "runtime/image_layer_status.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "chardef/image_layer_config.h"

namespace {

int EvaluateOrZero(CScriptEvaluator& evaluator, const CFuncExpression& expression) {
  if (expression.Empty()) return 0;
  const CValue* value = evaluator.Evaluate(expression.Tokens());
  return value == nullptr ? 0 : value->GetInt();
}

// A layer may drift for as long as its function lasts; its place stops at the end of
// the int range rather than wrapping round to the other side.
int SaturatingAdd(int a, int b) {
  return static_cast<int>(std::clamp<int64_t>(int64_t{a} + b, INT_MIN, INT_MAX));
}

}  // namespace

CImageLayerStatus::CImageLayerStatus(CScriptEvaluator& evaluator, CCharaMedia& media, ISoundPlayer& sounds,
                                     ECharaSoundChannel channel)
    : frames_(evaluator, media), evaluator_(evaluator), sounds_(sounds), channel_(channel) {}

void CImageLayerStatus::Bind(const CCreateFuncInfo& layer) {
  layer_ = &layer;
  frames_.Begin(layer);
  width_ = std::clamp(layer.Config().width, 0, CMotionStatus::kMaxSide);
  height_ = std::clamp(layer.Config().height, 0, CMotionStatus::kMaxSide);
  const auto* config = layer.ConfigAs<CImageLayerConfig>();
  positionX_ = config == nullptr ? 0 : EvaluateOrZero(evaluator_, config->positionX);
  positionY_ = config == nullptr ? 0 : EvaluateOrZero(evaluator_, config->positionY);
  moveX_ = 0;
  moveY_ = 0;
  offsetX_ = 0;
  offsetY_ = 0;
  frames_.RestartFrameTime();
  flip_ = MirrorOf(frames_.Strip());
  image_ = frames_.RowImage();
  PlayRowSound();
}

void CImageLayerStatus::AdvanceLayer() {
  if (layer_ == nullptr) return;
  if (frames_.NextIfDue()) {
    image_ = frames_.RowImage();
    PlayRowSound();
  }
  offsetX_ = frames_.Evaluate(CFuncParam::kCellX);
  offsetY_ = frames_.Evaluate(CFuncParam::kCellY);
  moveX_ = frames_.Evaluate(CFuncParam::kMoveX);
  moveY_ = frames_.Evaluate(CFuncParam::kMoveY);
  positionX_ = SaturatingAdd(positionX_, moveX_);
  positionY_ += moveY_;
  frames_.CountFrame();
}

void CImageLayerStatus::PlayRowSound() {
  // Layers share the row channel with the motion: a silent layer frame must not cut the
  // motion's sound off.
  const CFuncParam* row = frames_.Row();
  if (row != nullptr && !row->soundName.empty()) sounds_.PlaySound(channel_, row->soundName, false);
}
