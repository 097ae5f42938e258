#include "runtime/motion_status.h"

#include <algorithm>

#include "chardef/chara_file_access.h"
#include "chardef/motion_config.h"
#include "window/image_view.h"

CFrameSequence::CFrameSequence(CScriptEvaluator& evaluator, CCharaMedia& media)
    : evaluator_(evaluator), media_(media) {}

void CFrameSequence::Begin(const CCreateFuncInfo& entry) {
  entry_ = &entry;
  strip_ = entry.ConfigAs<CImageStripConfig>();
  stripImage_ = strip_ == nullptr ? nullptr : LoadImage(strip_->imageName);
  const auto& rows = entry.Rows();
  rowImages_.assign(rows.size(), nullptr);
  for (size_t i = 0; i < rows.size(); ++i) {
    rowImages_[i] = rows[i]->imageName.empty() ? stripImage_ : LoadImage(rows[i]->imageName);
  }
  frameIndex_.Restart(static_cast<int>(rows.size()));
}

void CFrameSequence::RestartFrameTime() { frameTime_.Restart(Evaluate(CFuncParam::kFrames)); }

bool CFrameSequence::NextIfDue() {
  if (!frameTime_.AtEnd()) return false;
  frameIndex_.StepForward();
  if (frameIndex_.AtEnd()) frameIndex_.Restart(frameIndex_.End());
  RestartFrameTime();
  return true;
}

int CFrameSequence::Evaluate(int column) {
  const CFuncParam* row = Row();
  const int absent = column == CFuncParam::kFrames ? 1 : 0;
  if (row == nullptr) return absent;
  const CFuncExpression& expression = row->expressions[static_cast<size_t>(column)];
  if (expression.Empty()) return absent;
  // An expression that begins with "=" assigns and gives no value: it reads 0.
  const CValue* value = evaluator_.Evaluate(expression.Tokens());
  return value == nullptr ? 0 : value->GetInt();
}

const CFuncParam* CFrameSequence::Row() const {
  if (entry_ == nullptr) return nullptr;
  const size_t index = static_cast<size_t>(frameIndex_.Get());
  return index < entry_->Rows().size() ? entry_->Rows()[index].get() : nullptr;
}

const CImageLoad* CFrameSequence::RowImage() const {
  const size_t index = static_cast<size_t>(frameIndex_.Get());
  return index < rowImages_.size() ? rowImages_[index] : stripImage_;
}

const CImageLoad* CFrameSequence::LoadImage(const std::u16string& name) {
  // An empty name would make the key the images folder itself.
  if (name.empty()) return nullptr;
  // The key is the one the definition's check loaded the image under, so the cache
  // finds it decoded already.
  key_.assign(media_.ImagesFolder());
  key_ += name;
  return CCharaFileAccess::LoadImageFile(media_.Images(), key_);
}

int MirrorOf(const CImageStripConfig* strip) {
  if (strip == nullptr) return kMirrorNone;
  return (strip->flipHorizontal ? kMirrorLeftRight : kMirrorNone) |
         (strip->flipVertical ? kMirrorTopBottom : kMirrorNone);
}

CMotionStatus::CMotionStatus(CScriptEvaluator& evaluator, CCharaMedia& media, ISoundPlayer& sounds,
                             ECharaSoundChannel channel)
    : frames_(evaluator, media), sounds_(sounds), channel_(channel) {}

void CMotionStatus::Start(const CCreateFuncInfo& motion) {
  motion_ = &motion;
  cellWidth_ = std::clamp(motion.Config().width, 0, kMaxSide);
  cellHeight_ = std::clamp(motion.Config().height, 0, kMaxSide);
  frames_.Begin(motion);
  offsetX_ = frames_.Evaluate(CFuncParam::kCellX);
  offsetY_ = frames_.Evaluate(CFuncParam::kCellY);
  moveX_ = 0;
  moveY_ = 0;
  frames_.RestartFrameTime();
  flip_ = MirrorOf(frames_.Strip());
  ShowRowImage();
  const CFuncParam* row = frames_.Row();
  if (row != nullptr && !row->soundName.empty()) {
    sounds_.PlaySound(channel_, row->soundName, false);
  } else {
    sounds_.StopSound(channel_);
  }
}

void CMotionStatus::Advance() {
  if (motion_ == nullptr) return;
  if (frames_.NextIfDue()) {
    ShowRowImage();
    // A silent frame lets the sound of an earlier frame finish.
    const CFuncParam* row = frames_.Row();
    if (row != nullptr && !row->soundName.empty()) sounds_.PlaySound(channel_, row->soundName, false);
  }
  offsetX_ = frames_.Evaluate(CFuncParam::kCellX);
  offsetY_ = frames_.Evaluate(CFuncParam::kCellY);
  moveX_ = frames_.Evaluate(CFuncParam::kMoveX);
  moveY_ = frames_.Evaluate(CFuncParam::kMoveY);
  frames_.CountFrame();
}

void CMotionStatus::ShowRowImage() {
  image_ = frames_.RowImage();
  // Shrunk to each frame's own image, so a small frame image never crops the frames
  // after it; without an image nothing is drawn and the cell size stands.
  width_ = image_ == nullptr ? cellWidth_ : std::min(cellWidth_, image_->Width());
  height_ = image_ == nullptr ? cellHeight_ : std::min(cellHeight_, image_->Height());
}
