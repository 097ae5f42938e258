#pragma once
// CCharacter: one live desktop character — its layered window together with everything
// that makes it act. At any moment it is in exactly one function of its definition.
// Whatever may change that (the function's own end, mouse, menu, hit and condition
// events, show, hide, exit) becomes a transition request in one of 13 slots; once per
// frame Update takes the strongest, enters its function and steps it.
//
// Threads: Update and everything it calls (entry, steps, paint) run on the frame thread;
// the mouse, menu and command operations run on the main thread. They meet only through
// the request slots, the window marks and the atomics below.
#include <array>
#include <atomic>
#include <thread>
#include <memory>
#include <string>
#include <vector>

#include "chardef/chara_definition.h"
#include "chardef/order_config.h"
#include "runtime/chara_balloons.h"
#include "runtime/chara_mover.h"
#include "runtime/chara_start_state.h"
#include "runtime/hit_test.h"
#include "runtime/image_layer_status.h"
#include "runtime/motion_status.h"
#include "runtime/sound_player.h"
#include "platform/menu_model.h"
#include "script/position_expression.h"
#include "script/script_evaluator.h"
#include "support/bool_mutex.h"
#include "support/state_transition_mutex.h"
#include "window/obj_wnd.h"
#include "window/paint_pipeline.h"

class ICharaHost;
class CHitEventConfig;
class CConditionEventConfig;
class COrderConfig;

// The request slots, weakest first. Slot 5 is never set.
enum ERequestSlot : int {
  SLOT_START = 0,
  SLOT_SHOW = 1,
  SLOT_OWN_LIST = 2,
  SLOT_CONDITION = 3,
  SLOT_STROKE = 4,
  SLOT_FRAME_HIT = 6,
  SLOT_CLICK = 7,
  SLOT_CUSTOM = 8,
  SLOT_MENU = 9,
  SLOT_L_BUTTON = 10,
  SLOT_HIDE = 11,
  SLOT_EXIT = 12,
  SLOT_COUNT = 13,
};

// Request kinds beyond a plain function-list index (0..13: the current function's list).
enum ERequestKind : int {
  KIND_MENU = 2,
  KIND_EXIT = 3,
  KIND_HIDE = 4,
  KIND_L_BUTTON = 5,
  KIND_CUSTOM = 8,
  KIND_FRAME_HIT = 16,
  KIND_STROKE = 17,
  KIND_CLICK = 18,
  KIND_START = 19,
  KIND_SHOW = 20,
  KIND_CONDITION = 21,
};

// The id of the built-in hidden function.
inline constexpr int kHiddenFunctionId = 1;

class CCharacter : public CObjWnd, public ISoundPlayer {
 public:
  // Creates the character's window and its empty definition (main thread).
  CCharacter(CImageWndClass& windowClass, const std::u16string& folderName, ICharaHost& host);
  // Writes the saved state (when Load got far enough to have one), then destroys
  // everything the character owns; the window goes last.
  ~CCharacter() override;

  // Reads and checks the definition and the saved state; returns the hidden mark.
  bool Load();
  // After Load: hides the character as its state says, or asks for its start function.
  void InitialShow();
  // The program is ending: plays the character's exit function when it can.
  void RequestEnding();

  // The window operations.
  void Update() override;
  void Paint() override;
  void SetCursorForPointer() override;
  void LeftButtonDown(int x, int y) override;
  void LeftButtonUp(int x, int y) override;
  void RightButtonDown(int x, int y) override;
  void RightButtonUp(int, int) override {}
  void MenuOpened(intptr_t param) override;
  void ToggleHidden() override;
  void ToggleMute() override;
  void CustomItem() override;
  void ShowAbout() override;
  void ShowAppAbout() override;
  void ScaleCommand(int commandId) override;
  void OpacityCommand(int commandId) override;
  void AllSoundCommand(bool mute) override;
  void LowQualityCommand() override;
  void MoveRangeCommand() override;
  void TopmostCommand() override;
  void MouseCommand() override;
  void ExitCommand() override;

  // The application's scale and opacity choices (main thread): the menu's check marks
  // change at once, the mover and balloons take them at the start of the next frame.
  void ApplyScale(int scaleId, double factor) override;
  void ApplyOpacity(int opacityId) override;
  // The application's click-through setting: 1 mouse enabled, 2 disabled.
  void SetMouseMode(int mode) { mouseMode_.store(mode, std::memory_order_relaxed); }
  void SetMute(bool mute);
  bool Muted() const { return muted_.load(std::memory_order_relaxed); }
  void StartRequest();
  void HideRequest();
  void ShowRequest();
  void HideWithFunction();
  void MoveRangeChanged();
  // Frame thread: the application's new move range. The mover takes it, recomputes its
  // lines, keeps the character's relative place and clamps it; then MoveRangeChanged.
  void ApplyMoveRange(const SRect& range);

  // ISoundPlayer: the character's channels, muted and traced.
  void PlaySound(ECharaSoundChannel channel, const std::u16string& name, bool loop) override;
  void StopSound(ECharaSoundChannel channel) override;

  // The button release of a drag that a frame step ended: cursor and capture, on the
  // main thread (see ICharaHost::PostButtonRelease).
  void FinishButtonRelease();

  // For the application, the hit test and tests.
  int Index() const { return index_; }
  const CCharaDefinition& Definition() const { return *definition_; }
  const CCharaInfo& Info() const { return definition_->info; }
  CCharaMover& Mover() { return mover_; }
  const CCharaMover& Mover() const { return mover_; }
  CHitTest& HitTest() { return *hitTest_; }
  const CHitTest& HitTest() const { return *hitTest_; }
  // The cursor as the frame thread sampled it for this frame.
  SPoint CursorSample() const;
  // The cursor where it is now, for the main thread's handlers.
  SPoint PointerPosition() const;
  bool TransitionPending() const { return requests_.IsPending(); }
  CMenuModel& Menu() { return menu_; }
  ICharaBalloons& Balloons() { return *balloons_; }
  int NextFunctionId() const { return nextFunctionId_.load(std::memory_order_relaxed); }
  int EnteredFunctionId() const { return enteredFunctionId_; }
  const COrderConfig* CurrentFunction() const { return currentFunction_.load(std::memory_order_acquire); }
  int CurrentType() const { return currentType_; }
  const CMotionStatus& Motion() const { return *motion_; }
  bool Loaded() const { return loaded_; }
  // The largest motion size over the character's motions and balloon motions.
  int MaxWidth() const { return maxWidth_; }
  int MaxHeight() const { return maxHeight_; }
  // Paint composes only when the picture changed; tests switch that off to compare.
  void SetComposeEveryFrame(bool on) { composeEveryFrame_ = on; }
  // For the character's balloons: the services and state they share with it.
  ICharaHost& Host() const { return host_; }
  CScriptEvaluator& Evaluator() { return *evaluator_; }
  CCharaMedia& Media() { return definition_->media; }
  void ReportError(const std::u16string& message) { ReportScriptError(message); }
  // The main balloon goes to the top of the z-order with the character directly below.
  void ZOrderFix();
  // A pick of the process-wide generator among `list` by weight, with the line
  // filtering of the current line; -1 when nothing fits.
  int PickFromList(const CWeightMap& list, CWeightMap& scratch) const;

 private:
  using StepBehaviour = void (CCharacter::*)();

  // Requests.
  // Sets the slot of `kind` to a function picked as that kind says: from the current
  // function's lists (or `lists`), an event's list, or a random function of a type.
  // False when nothing was requested.
  bool RequestFromList(int kind, const CWeightMap* eventList = nullptr);
  bool RequestFromListOf(const COrderConfig* lists, int kind, const CWeightMap* eventList, CWeightMap& scratch);
  const COrderConfig* FunctionOf(int id) const;
  void Request(int slot, int functionId) { requests_.Request(slot, functionId); }
  int RandomFromEventList(int type) const;
  int RandomFromEdgeLists() const;
  void Hide();
  void EndNow();
  void ReportScriptError(const std::u16string& message);
  void ReportFunctionError(const COrderConfig& function, const std::u16string& tail);
  CWeightMap& ScratchForThisThread();

  // Frame work.
  void ResolveTransition();
  void SetType(int type);
  void ApplyPendingSettings();
  void TestConditionEvents();
  void TestFrameHits();
  void WatchMenu();
  void EnterFunction();
  void SetUpTimer();
  void Advance();
  void ClampToMoveRange();
  void TimerCheck();
  bool TimerDue();
  void EnterIfNew();
  void EdgeStep(int kind);
  void PublishLines();
  void LeftButtonUpOnFrame();

  void PlainStep();
  void ExitStep();
  void HideStep();
  void LeftEdgeStep();
  void RightEdgeStep();
  void TopEdgeStep();
  void BottomEdgeStep();
  void LineUpBottomStep();
  void LineDownTopStep();
  void DragStep();
  void ReleaseStep();
  void MenuStep();
  void HiddenStep();

  // Input and menus.
  // Shows the function's cursor, else the fallback (named `fallbackName`), else the arrow.
  void ShowCursorOf(const COrderConfig* function, const SCursorImage* fallback, const std::u16string& fallbackName);
  // Shows `cursor` (null: the arrow); the trace hears of every change, by the name the
  // data writes.
  void ShowCursor(const SCursorImage* cursor, const std::u16string& name);
  void TraceHit(const CHitEventConfig& event, const CCharacter* target);
  // A hit event fired: its sound on the hit-event channel, or silence when it has none.
  void PlayHitSound(const CHitEventConfig& event);
  void TakeCapture();
  void ReleaseCapture();
  bool MenuWindowVisible() const;
  void RefreshMenuState();
  void TraceEvent(const char* event);
  void SetHiddenMark(bool hidden);
  void MarkFinished();
  void StopCharacterChannels();

  ICharaHost& host_;
  unsigned frameCounter_ = 0;
  StepBehaviour step_ = nullptr;
  std::atomic<int> nextFunctionId_{kHiddenFunctionId};
  int enteredFunctionId_ = -1;
  std::atomic<const COrderConfig*> currentFunction_{nullptr};
  const CCreateFuncInfo* currentMotion_ = nullptr;
  std::array<StepBehaviour, 25> behaviours_{};  // by function type; index 24 the hidden one
  int index_;
  std::unique_ptr<ICharaBalloons> balloons_;
  std::unique_ptr<CCharaDefinition> definition_;
  CBoolMutex resolving_;
  CStateTransitionMutex requests_{SLOT_COUNT + 1};
  int wonSlot_ = -1;  // the slot that won the last resolution, -1 when none did
  SCharaStartState startState_;
  CCharaMover mover_;
  std::unique_ptr<CScriptEvaluator> evaluator_;
  std::unique_ptr<CPositionExpression> positionEvaluator_;
  CKeywordMap positionKeywords_;
  std::unique_ptr<CMotionStatus> motion_;
  std::vector<std::unique_ptr<CImageLayerStatus>> layers_;
  int activeLayers_ = 0;
  std::atomic<int> mouseMode_{1};
  CMenuModel menu_;
  std::atomic<bool> menuSeen_{false};   // the character's or the application's menu opened
  bool menuOpen_ = false;               // the menu was seen open in an earlier frame
  int timerCount_ = 0;
  int timerLimit_ = -1;
  bool menuFunctionsAllowed_ = false;
  int currentType_ = kHideObjectFuncType;
  int previousType_ = kHideObjectFuncType;
  std::atomic<bool> muted_{false};
  std::atomic<bool> captureDrag_{false};
  double captureOffsetX_ = 0.0;
  double captureOffsetY_ = 0.0;
  std::atomic<bool> menuShown_{false};
  std::atomic<bool> hidePending_{false};
  std::atomic<bool> exitPending_{false};
  std::atomic<bool> hideDone_{false};
  std::atomic<bool> exitDone_{false};
  std::atomic<bool> lButtonEnabled_{true};
  std::atomic<bool> lButtonFunctionsExist_{false};
  bool clampOnEntry_ = false;
  std::array<std::vector<int>, FUNC_TYPE_END> eventLists_;  // by function type 1..23
  std::vector<const std::vector<int>*> edgeLists_;
  std::atomic<std::thread::id> frameThread_{};
  CWeightMap frameScratch_;
  CWeightMap mainScratch_;
  std::unique_ptr<CHitTest> hitTest_;
  std::u16string shownCursor_ = u"arrow";  // main thread: what the trace last heard
  bool customItemAdded_ = false;
  // The custom item's state as the current function sets it; the menu takes it when
  // it opens.
  std::atomic<const std::u16string*> customItemText_{nullptr};
  std::atomic<bool> customItemEnabled_{true};
  // The mover's lines as the frame thread last left them, for picks on the main thread.
  std::atomic<int> publishedLine_{1};
  std::atomic<int> publishedLineCount_{1};
  // Settings the main thread changed, taken by the next frame.
  std::atomic<double> pendingScale_{0.0};  // 0: no change
  std::atomic<double> opacity_{1.0};
  std::atomic<bool> opacityChanged_{false};
  bool loaded_ = false;
  int maxWidth_ = 2;
  int maxHeight_ = 2;

  // What the last paint composed, so an unchanged frame only moves the window.
  struct SPaintKey {
    const CImageLoad* image = nullptr;
    int frameX = 0;
    int frameY = 0;
    int frameWidth = 0;
    int frameHeight = 0;
    int mirror = 0;
    int width = 0;
    int height = 0;
    double opacity = 1.0;
    double scale = 1.0;
    bool lowQuality = false;
    bool opacityInPixels = false;
    bool hidden = false;
    int layerCount = 0;
    bool operator==(const SPaintKey&) const = default;
  };
  SPaintKey lastPaint_;
  std::vector<SLayerPlacement> placements_;
  std::vector<SLayerPlacement> lastPlacements_;
  bool painted_ = false;
  bool composeEveryFrame_ = false;
};
