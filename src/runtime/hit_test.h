#pragma once
// CHitTest: the hit areas and hit events of one character's functions, and the target
// of the last hit that the next function reads (target.X, target.Y, target.Width,
// target.Height). Areas are evaluated once per function against its motion when the
// definition is checked; only their scaled values change afterwards.
//
// Threads: FrameTest runs on the frame thread, ClickEvent and the stroke on the main
// thread; the target and the stroke counters they share are atomic.
#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "chardef/definition_validator.h"
#include "chardef/root_config.h"
#include "platform/geometry.h"
#include "support/vector_map.h"

class CCharaMap;
class CCharacter;
class CHitEventConfig;

// One hit area as one function uses it: the register's Width, Height, PosX and PosY
// evaluated against the function's motion, and the same at the current scale.
class CHitAreaNode : public CRootConfig {
 public:
  CHitAreaNode(std::u16string areaName, int areaId) : CRootConfig(HIT_AREA_REG, std::move(areaName)) { id = areaId; }

  int posX = 0;
  int posY = 0;
  int areaType = RECT;
  // Set by the frame thread when the scale changes, read by the mouse handlers.
  std::atomic<double> scaledX{0.0};
  std::atomic<double> scaledY{0.0};
  std::atomic<double> scaledWidth{0.0};
  std::atomic<double> scaledHeight{0.0};
  bool autoFlip = true;
  bool flipHorizontal = false;  // copied from the motion when autoFlip is on
  bool flipVertical = false;
};

// An area's rectangle on the desktop; edges are inclusive.
struct SHitRect {
  double left = 0.0;
  double top = 0.0;
  double right = 0.0;
  double bottom = 0.0;
};

// The rectangle of `node` on a character whose top-left is x, y and whose displayed size
// is width × height: a flipped area is measured from the other side.
SHitRect AreaRectAt(const CHitAreaNode& node, double x, double y, double width, double height);

// Whether two rectangles overlap; rectangles that only touch at an edge do.
inline bool Overlap(const SHitRect& a, const SHitRect& b) {
  return !(a.left > b.right || b.left > a.right || a.top > b.bottom || b.top > a.bottom);
}

class CHitTest : public IFunctionHitTestSetUp {
 public:
  explicit CHitTest(CCharacter& owner);
  ~CHitTest() override;

  // Evaluates the function's own areas and the areas of its hit events against its
  // motion. Throws EScriptError when an area's expressions fail.
  void SetUpFunctionHitTest(COrderConfig& function, const CMotionConfig& motion) override;
  // Finds the targets of the character-against-character events among `characters`.
  void SetUp(const CCharaMap& characters);
  // Every area of every function at the new scale.
  void SetScale(double scale);
  // The character entered `function`: its areas and events are the ones tested from
  // now on (none in the hidden function), and its stroke counters start again.
  void FunctionEntered(const COrderConfig& function);

  // The event the frame's test fires, or null (frame thread, once per frame).
  const CHitEventConfig* FrameTest();
  // The click event whose area is under the cursor; a hit sets the target (main thread).
  const CHitEventConfig* ClickEvent();
  // The click event whose area is under the cursor, for its cursor; changes nothing.
  const CHitEventConfig* ClickArea();
  // The stroke event whose area is under the cursor, or null (main thread).
  const CHitEventConfig* StrokeArea();
  // Counts the cursor position over `stroke`'s area; the event when the stroke fires,
  // on the 16th distinct position within its window of frames.
  const CHitEventConfig* Stroke(const CHitEventConfig& stroke);

  // The area's rectangle with the character at its current place and size.
  SHitRect AreaRect(const CHitAreaNode& node) const;

  // What target.Width, target.Height, target.X and target.Y show.
  int TargetWidth() const { return targetWidth_.load(std::memory_order_relaxed); }
  int TargetHeight() const { return targetHeight_.load(std::memory_order_relaxed); }
  double TargetX() const { return targetX_.load(std::memory_order_relaxed); }
  double TargetY() const { return targetY_.load(std::memory_order_relaxed); }
  // The other party of the last character-against-character hit, or null.
  const CCharacter* LastTarget() const { return lastTarget_; }

 private:
  struct SStroke {
    std::atomic<int> lastX{0};
    std::atomic<int> lastY{0};
    std::atomic<int> moves{0};
    std::atomic<int> frames{0};
  };
  struct SEventNodes {
    const CHitEventConfig* event = nullptr;
    std::vector<std::unique_ptr<CHitAreaNode>> areas;  // its MyHitArea, in order
    std::unique_ptr<SStroke> stroke;                   // STROKE_CURSOR events
    // HIT_CHARA: other characters, in the order found, with the ids of their areas
    // named in TargetHitArea.
    std::vector<std::pair<const CCharacter*, std::vector<int>>> targets;
  };
  struct SFunctionHits {
    std::vector<std::unique_ptr<CHitAreaNode>> ownAreas;  // ListHitArea: what others test against
    std::array<std::vector<SEventNodes>, 5> events;       // by hit type, HIT_CHARA first
  };

  static constexpr int kTypeIndex(int hitType) { return hitType - HIT_CHARA; }
  const SFunctionHits* CurrentHits() const { return current_.load(std::memory_order_acquire); }
  // The first event of `hitType` one of whose areas holds (RECT) or leaves out
  // (OUT_RECT) the point.
  const SEventNodes* TestPoint(const SFunctionHits& hits, int hitType, SPoint cursor) const;
  const CHitEventConfig* TestCharacters(const SFunctionHits& hits);
  std::unique_ptr<CHitAreaNode> MakeNode(const std::u16string& areaName, const CMotionConfig& motion);
  void SetTargetTo(SPoint cursor);

  // One area of another character, placed for this frame's test; areaType -1 marks a
  // target with no such area in its current function.
  struct STargetArea {
    const CCharacter* character;
    SHitRect rect;
    int areaType;
  };

  CCharacter& owner_;
  std::vector<STargetArea> targetAreas_;  // frame thread
  CVectorMap<int, SFunctionHits*, true> functions_;  // by function id
  // The entered function's hits, so the tests of every frame look nothing up.
  std::atomic<const SFunctionHits*> current_{nullptr};
  double scale_ = 1.0;
  std::atomic<int> targetWidth_{0};
  std::atomic<int> targetHeight_{0};
  std::atomic<double> targetX_{0.0};
  std::atomic<double> targetY_{0.0};
  const CCharacter* lastTarget_ = nullptr;
};
