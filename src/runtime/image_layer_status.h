#pragma once
// CImageLayerStatus: one image layer of the current function (or balloon) as it plays —
// a strip like a motion, drawn over the motion at a position of its own that drifts by
// the current frame's movement every frame.
#include "chardef/chara_media.h"
#include "chardef/func_info.h"
#include "media/image_load.h"
#include "runtime/motion_status.h"
#include "runtime/sound_player.h"
#include "script/script_evaluator.h"

class CImageLayerStatus {
 public:
  // As CMotionStatus: expressions on `evaluator`, images from `media`, frame sounds once
  // on `channel` through `sounds`. All must outlive the status.
  CImageLayerStatus(CScriptEvaluator& evaluator, CCharaMedia& media, ISoundPlayer& sounds,
                    ECharaSoundChannel channel);

  // Begins `layer` (its config a CImageLayerConfig) at its first frame and at its PosX
  // and PosY, with no movement or offset until the first AdvanceLayer. The first frame's
  // sound plays; a frame without one leaves the channel alone. Throws EScriptError.
  void Bind(const CCreateFuncInfo& layer);
  // One frame: moves on to the next frame when due, takes the frame's offsets and
  // movement and moves the position by it. Nothing allocates. Throws EScriptError.
  void AdvanceLayer();

  const CCreateFuncInfo* Layer() const { return layer_; }
  // The image shown; null when it could not be loaded (draw nothing then).
  const CImageLoad* Image() const { return image_; }
  // The layer's cell size, at most CMotionStatus::kMaxSide. It is not shrunk to the
  // image: a cell reaching outside the image must be clipped where it is drawn.
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Where the layer is drawn relative to the motion.
  int PositionX() const { return positionX_; }
  double PositionY() const { return positionY_; }
  // The cell's place in the image.
  int OffsetX() const { return offsetX_; }
  int OffsetY() const { return offsetY_; }
  int MoveX() const { return moveX_; }
  double MoveY() const { return moveY_; }
  int Flip() const { return flip_; }
  int FrameIndex() const { return frames_.FrameIndex().Get(); }
  int FrameTime() const { return frames_.FrameTime().Get(); }

 private:
  void PlayRowSound();

  CFrameSequence frames_;
  CScriptEvaluator& evaluator_;
  ISoundPlayer& sounds_;
  ECharaSoundChannel channel_;
  const CCreateFuncInfo* layer_ = nullptr;
  const CImageLoad* image_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int positionX_ = 0;
  double positionY_ = 0;
  int moveX_ = 0;
  double moveY_ = 0;
  int offsetX_ = 0;
  int offsetY_ = 0;
  int flip_ = 0;
};
