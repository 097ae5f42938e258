#pragma once
// Playback of image strips, counted in frames of the frame loop. CFrameSequence steps
// through the rows of one strip; CMotionStatus plays the motion of a character's
// function or of a balloon with it (image layers use it too, see image_layer_status.h).
#include <string>
#include <vector>

#include "chardef/chara_media.h"
#include "chardef/func_info.h"
#include "media/image_load.h"
#include "runtime/counter.h"
#include "runtime/sound_player.h"
#include "script/script_evaluator.h"

class CImageStripConfig;

// Which row of a motion or image layer shows and for how long it has shown. The rows
// loop: after the last comes the first. An entry without rows plays as one row at cell
// (0, 0) without movement, lasting one frame.
class CFrameSequence {
 public:
  CFrameSequence(CScriptEvaluator& evaluator, CCharaMedia& media);

  // Begins `entry` at its first row; the frame time is left for RestartFrameTime. Finds
  // the entry's image and every row's image in the owner's cache now (one lookup each),
  // so changing rows later costs no lookup.
  void Begin(const CCreateFuncInfo& entry);
  // Counts the current row's duration afresh: how many frames it shows.
  void RestartFrameTime();
  // When the current row has shown for its duration, moves to the next row, restarts the
  // frame time and returns true.
  bool NextIfDue();
  // One more frame of the current row.
  void CountFrame() { frameTime_.StepForward(); }

  // Column `column` (CFuncParam::Column) of the current row, evaluated now. An absent
  // column reads 0, an absent duration 1. Throws EScriptError.
  int Evaluate(int column);

  // The current row; null when the entry has none.
  const CFuncParam* Row() const;
  const CImageStripConfig* Strip() const { return strip_; }
  // The current row's own image, else the entry's; null when the one it names did not
  // load.
  const CImageLoad* RowImage() const;
  const CRootCounter& FrameTime() const { return frameTime_; }
  const CRootCounter& FrameIndex() const { return frameIndex_; }

 private:
  const CImageLoad* LoadImage(const std::u16string& name);

  CScriptEvaluator& evaluator_;
  CCharaMedia& media_;
  const CCreateFuncInfo* entry_ = nullptr;
  const CImageStripConfig* strip_ = nullptr;
  const CImageLoad* stripImage_ = nullptr;
  std::vector<const CImageLoad*> rowImages_;  // by row; kept to reuse its room
  std::u16string key_;                         // the cache key being composed, likewise
  CRootCounter frameTime_;
  CRootCounter frameIndex_;
};

// The mirror mode (kMirror* of window/image_view.h) of a strip's flip flags.
int MirrorOf(const CImageStripConfig* strip);

class CMotionStatus {
 public:
  // Drawn sizes never exceed this, which bounds the work surfaces.
  static constexpr int kMaxSide = 1024;

  // Frame expressions run on `evaluator`; images come from `media`'s cache; frame sounds
  // play once on `channel` through `sounds`. All must outlive the status.
  CMotionStatus(CScriptEvaluator& evaluator, CCharaMedia& media, ISoundPlayer& sounds, ECharaSoundChannel channel);

  // Begins `motion` (its config a CMotionConfig) at its first frame, replacing whatever
  // played before. The first frame's sound plays, or the channel stops when it has
  // none. Throws EScriptError from the frame expressions.
  void Start(const CCreateFuncInfo& motion);
  // One frame of play: moves on to the next frame when the current one has shown for its
  // duration, then evaluates the frame's offsets and movement again. A new frame's sound
  // replaces the one playing; a new frame without a sound lets it play on. Nothing
  // allocates. Throws EScriptError.
  void Advance();

  const CCreateFuncInfo* Motion() const { return motion_; }
  // The image shown; null when it could not be loaded (draw nothing then).
  const CImageLoad* Image() const { return image_; }
  // The motion's cell size, at most kMaxSide and at most the shown image's size.
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The cell's place in the image.
  int OffsetX() const { return offsetX_; }
  int OffsetY() const { return offsetY_; }
  // How far the owner moves this frame.
  double MoveX() const { return moveX_; }
  double MoveY() const { return moveY_; }
  int Flip() const { return flip_; }
  int FrameIndex() const { return frames_.FrameIndex().Get(); }
  int FrameTime() const { return frames_.FrameTime().Get(); }

 private:
  void ShowRowImage();

  CFrameSequence frames_;
  ISoundPlayer& sounds_;
  ECharaSoundChannel channel_;
  const CCreateFuncInfo* motion_ = nullptr;
  const CImageLoad* image_ = nullptr;
  int cellWidth_ = 0;  // the motion's cell size capped at kMaxSide
  int cellHeight_ = 0;
  int width_ = 0;
  int height_ = 0;
  int offsetX_ = 0;
  int offsetY_ = 0;
  double moveX_ = 0;
  double moveY_ = 0;
  int flip_ = 0;
};
