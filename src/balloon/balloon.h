#pragma once
// CBalloon: a character's speech balloon — a layered window of its own that shows a
// balloon function: a balloon motion with image layers, text layers typed out over time,
// a sound, and an opening and closing animation that grows the balloon out of its
// anchor point. The character calls balloon functions (normally, waiting, or forcing
// its way in); when the text has run out, the balloon chains to its next balloons or to
// a waiting call, or closes into the hidden balloon function.
//
// Threads: everything runs on the frame thread (the character's Update) except the
// mouse-button z-order fix. The pending request is atomic.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "balloon/balloon_picture.h"
#include "balloon/text_layer_owner.h"
#include "balloon/text_layer_status.h"
#include "runtime/balloon_mover.h"
#include "runtime/image_layer_status.h"
#include "runtime/motion_status.h"
#include "script/position_expression.h"
#include "window/obj_wnd.h"
#include "window/paint_pipeline.h"

class CBalloonConfig;
class CCharacter;
class CCreateFuncInfo;
class CGlyphCache;

// The id of the built-in hidden balloon function.
inline constexpr int kHiddenBalloonId = 3;

class CBalloon final : public CObjWnd, public ITextLayerOwner {
 public:
  // Run states.
  static constexpr int kActive = 237;
  static constexpr int kHidden = 238;

  // Creates the hidden balloon `name` of `owner`, with as many layer states as its
  // balloon functions need (main thread, after the owner's definition is built).
  CBalloon(CCharacter& owner, const std::u16string& name, CGlyphCache& glyphs);
  ~CBalloon() override;

  // The owner asks for balloon function `id`.
  void Call(int id);
  // Ends what the balloon shows: it turns to the hidden balloon function.
  void Close();
  // A new function of the owner starts: a call still waiting is dropped.
  void ForgetWaitingCall() { waitingCall_ = -1; }
  void SetScale(double scale);
  void SetOpacity(double opacity);

  void Update() override;
  void Paint() override;
  void LeftButtonDown(int x, int y) override;
  void RightButtonDown(int x, int y) override;

  // For the owner and tests.
  const std::u16string& BalloonName() const { return balloonName_; }
  int RunState() const { return runState_; }
  int OpenStateValue() const { return openState_; }
  bool Idle() const { return idle_; }
  int EnteredId() const { return enteredId_; }
  int NextId() const { return nextId_; }
  int WaitingCall() const { return waitingCall_; }
  bool RequestPending() const { return pending_.load(std::memory_order_acquire) >= 0; }
  const CBalloonConfig* CurrentFunction() const { return currentFunction_; }
  const CBalloonMover& Mover() const { return mover_; }
  const std::vector<std::unique_ptr<CTextLayerStatus>>& TextLayers() const { return textLayers_; }
  int ActiveTextLayers() const { return activeTextLayers_; }
  int FrameCount() const { return frameCount_; }
  bool WindowVisible() const { return visible_; }
  // The balloon's window position and displayed size, as painted last.
  int PaintedX() const { return paintedX_; }
  int PaintedY() const { return paintedY_; }
  int DisplayedWidth() const { return static_cast<int>(mover_.DisplayedWidth()); }
  int DisplayedHeight() const { return static_cast<int>(mover_.DisplayedHeight()); }
  const CBalloonPicture& Picture() const { return picture_; }

  // ITextLayerOwner.
  CScriptEvaluator& Evaluator() override;
  double EvaluateArea(const CFuncExpression& expression) override;
  int OpenState() const override { return openState_; }
  void RequestOpen(double sizeStep, double opacityStep) override;
  void RequestClose(double sizeStep, double opacityStep) override;
  const CCreateFuncInfoMap& Registers() const override;
  IText& Text() override;
  CGlyphCache& Glyphs() override { return glyphs_; }
  void ReportScriptError(const std::u16string& message) override;
  void TextStarted(int layer, const std::u16string& text) override;

 private:
  void Request(int id);
  void ActiveStep();
  void HiddenStep();
  void EnterBalloonFunction();
  void Advance();
  void Animate();
  void DecideNext();
  void Hide();
  void GrowStep(double direction);
  void SetOpenState(int state);
  void ShowWindow(bool visible);
  void StopChannels();
  // Window position and displayed size from the owner's position, the offset, the
  // anchor and the factors.
  void Place();
  void PaintHidden();

  CCharacter& owner_;
  std::u16string balloonName_;
  CGlyphCache& glyphs_;
  CMotionStatus motion_;
  std::vector<std::unique_ptr<CImageLayerStatus>> imageLayers_;
  int activeImageLayers_ = 0;
  std::vector<std::unique_ptr<CTextLayerStatus>> textLayers_;
  int activeTextLayers_ = 0;
  CBalloonMover mover_;
  CPositionExpression position_;
  CKeywordMap keywords_;
  std::atomic<int> pending_{-1};
  const CBalloonConfig* currentFunction_ = nullptr;
  const CCreateFuncInfo* currentMotion_ = nullptr;
  int runState_ = kHidden;
  int nextId_ = kHiddenBalloonId;
  int enteredId_ = -1;
  int openState_ = BALLOON_CLOSED;
  bool openRequested_ = false;
  bool closeRequested_ = false;
  bool idle_ = true;
  int waitingCall_ = -1;
  int frameCount_ = 0;
  double scale_ = 1.0;
  double opacity_ = 1.0;
  bool visible_ = false;
  bool hiddenPainted_ = false;
  int paintedX_ = 0;
  int paintedY_ = 0;
  uint8_t lastAlpha_ = 0;
  CBalloonPicture picture_;
  SBalloonFrame frame_;  // this frame's pieces; its lists keep their room
};
