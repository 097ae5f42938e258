#include "runtime/hit_test.h"

#include <algorithm>

#include "chardef/hit_area_config.h"
#include "chardef/hit_event_config.h"
#include "chardef/motion_config.h"
#include "chardef/order_config.h"
#include "runtime/chara_map.h"
#include "runtime/character.h"
#include "script/script_evaluator.h"
#include "script/tokenizer.h"

namespace {

constexpr int kMinAreaSide = 2;

void Rescale(CHitAreaNode& node, double scale) {
  node.scaledX.store(node.posX * scale, std::memory_order_relaxed);
  node.scaledY.store(node.posY * scale, std::memory_order_relaxed);
  node.scaledWidth.store(node.width * scale, std::memory_order_relaxed);
  node.scaledHeight.store(node.height * scale, std::memory_order_relaxed);
}
constexpr char16_t kAllTargets[] = u"ALL";

// The integer value of `text` with the keywords of `map` substituted; an empty text is 0.
int EvaluateWith(std::u16string_view text, const CKeywordMap& map) {
  CTokenizer tokenizer;
  tokenizer.Tokenize(text);
  CScriptEvaluator::SubstituteKeywords(tokenizer.Tokens(), map);
  CScriptEvaluator evaluator;
  const CValue* value = evaluator.Evaluate(tokenizer.Tokens());
  return value != nullptr ? value->GetInt() : 0;
}

void SetSize(CKeywordMap& map, int widthKind, int heightKind, int width, int height) {
  map.Clear();
  map.Add(widthKind, new CToken{INTEGER, width, {}});
  map.Add(heightKind, new CToken{INTEGER, height, {}});
}

const CHitEventConfig* EventNamed(const CCreateFuncInfoMap& definition, const std::u16string& name) {
  const CCreateFuncInfo* entry = definition.FindEntry(name);
  return entry == nullptr ? nullptr : entry->ConfigAs<CHitEventConfig>();
}

int WindowFrames(const CHitEventConfig& event) {
  return event.strokeParams ? event.strokeParams->windowFrames : CStrokeParam::kWindowFrames;
}
int RequiredMoves(const CHitEventConfig& event) {
  return event.strokeParams ? event.strokeParams->requiredMoves : CStrokeParam::kRequiredMoves;
}

bool Names(const COptionalNameList& list, const std::u16string& name) {
  return list && std::find(list->begin(), list->end(), name) != list->end();
}

}  // namespace

CHitTest::CHitTest(CCharacter& owner) : owner_(owner) {}

CHitTest::~CHitTest() = default;

std::unique_ptr<CHitAreaNode> CHitTest::MakeNode(const std::u16string& areaName, const CMotionConfig& motion) {
  const CCreateFuncInfo* entry = owner_.Definition().registers.FindEntry(areaName);
  const CHitAreaConfig* area = entry == nullptr ? nullptr : entry->ConfigAs<CHitAreaConfig>();
  if (area == nullptr) return nullptr;
  auto node = std::make_unique<CHitAreaNode>(area->name, area->id);
  CKeywordMap keywords;
  try {
    SetSize(keywords, KW_MY_WIDTH, KW_MY_HEIGHT, motion.width, motion.height);
    node->width = std::max(EvaluateWith(area->widthText, keywords), kMinAreaSide);
    node->height = std::max(EvaluateWith(area->heightText, keywords), kMinAreaSide);
    SetSize(keywords, KW_WIDTH, KW_HEIGHT, node->width, node->height);
    node->posX = EvaluateWith(area->xText, keywords);
    node->posY = EvaluateWith(area->yText, keywords);
  } catch (const EScriptError& error) {
    throw EScriptError(owner_.Name() + u"の" + area->name + error.Message());
  }
  node->areaType = area->areaType;
  node->autoFlip = area->autoFlip;
  node->flipHorizontal = area->autoFlip && motion.flipHorizontal;
  node->flipVertical = area->autoFlip && motion.flipVertical;
  Rescale(*node, scale_);
  return node;
}

void CHitTest::SetUpFunctionHitTest(COrderConfig& function, const CMotionConfig& motion) {
  auto hits = std::make_unique<SFunctionHits>();
  function.hitTestMap.Clear();
  if (function.hitAreaList) {
    for (const std::u16string& name : *function.hitAreaList) {
      if (auto node = MakeNode(name, motion)) {
        function.hitTestMap.Add(node->id, 1);
        hits->ownAreas.push_back(std::move(node));
      }
    }
  }
  if (function.hitEventList) {
    for (const std::u16string& name : *function.hitEventList) {
      const CHitEventConfig* event = EventNamed(owner_.Definition().registers, name);
      if (event == nullptr || event->hitType < HIT_CHARA || event->hitType > STROKE_CURSOR) continue;
      SEventNodes nodes;
      nodes.event = event;
      if (event->ownAreaList) {
        for (const std::u16string& areaName : *event->ownAreaList) {
          if (auto node = MakeNode(areaName, motion)) nodes.areas.push_back(std::move(node));
        }
      }
      if (event->hitType == STROKE_CURSOR) nodes.stroke = std::make_unique<SStroke>();
      hits->events[static_cast<size_t>(kTypeIndex(event->hitType))].push_back(std::move(nodes));
    }
  }
  functions_.Add(function.id, hits.release());
}

void CHitTest::SetUp(const CCharaMap& characters) {
  size_t reserve = 0;
  for (int f = 0; f < functions_.Count(); ++f) {
    for (SEventNodes& nodes : functions_.ValueAt(f)->events[kTypeIndex(HIT_CHARA)]) {
      const CHitEventConfig& event = *nodes.event;
      nodes.targets.clear();
      if (!event.targetList || !event.targetAreaList) continue;
      const bool all = Names(event.targetList, kAllTargets);
      for (int c = 0; c < characters.Count(); ++c) {
        const CCharacter* other = characters.ValueAt(c);
        // A character never targets itself.
        if (other == nullptr || other->Index() == owner_.Index()) continue;
        const CCharaInfo& info = other->Info();
        const bool named = (!info.groupText.empty() && Names(event.targetList, info.groupText)) ||
                           (!info.charaText.empty() && Names(event.targetList, info.charaText));
        if (!all && !named) continue;
        std::vector<int> areaIds;
        for (const std::u16string& areaName : *event.targetAreaList) {
          const CCreateFuncInfo* area = other->Definition().registers.FindEntry(areaName);
          if (area != nullptr && area->Config().type == HIT_AREA_REG) areaIds.push_back(area->Config().id);
        }
        reserve += std::max<size_t>(areaIds.size(), 1);
        nodes.targets.emplace_back(other, std::move(areaIds));
      }
      targetAreas_.reserve(std::max(targetAreas_.capacity(), reserve));
      reserve = 0;
    }
  }
}

void CHitTest::SetScale(double scale) {
  // Every function entry sets the scale; most leave it as it was.
  if (scale == scale_) return;
  scale_ = scale;
  auto rescale = [scale](CHitAreaNode& node) { Rescale(node, scale); };
  for (int f = 0; f < functions_.Count(); ++f) {
    SFunctionHits& hits = *functions_.ValueAt(f);
    for (auto& node : hits.ownAreas) rescale(*node);
    for (auto& events : hits.events) {
      for (SEventNodes& nodes : events) {
        for (auto& node : nodes.areas) rescale(*node);
      }
    }
  }
}

void CHitTest::FunctionEntered(const COrderConfig& function) {
  const SFunctionHits* hits = function.id == kHiddenFunctionId ? nullptr : functions_.Find(function.id);
  current_.store(hits, std::memory_order_release);
  if (hits == nullptr) return;
  for (const SEventNodes& nodes : hits->events[kTypeIndex(STROKE_CURSOR)]) {
    nodes.stroke->moves.store(0, std::memory_order_relaxed);
    nodes.stroke->frames.store(0, std::memory_order_relaxed);
  }
}

SHitRect CHitTest::AreaRect(const CHitAreaNode& node) const {
  const CCharaMover& mover = owner_.Mover();
  return AreaRectAt(node, mover.GetX(), mover.GetY(), mover.DisplayedWidth(), mover.DisplayedHeight());
}

SHitRect AreaRectAt(const CHitAreaNode& node, double x, double y, double width, double height) {
  const double scaledX = node.scaledX.load(std::memory_order_relaxed);
  const double scaledY = node.scaledY.load(std::memory_order_relaxed);
  const double scaledWidth = node.scaledWidth.load(std::memory_order_relaxed);
  const double scaledHeight = node.scaledHeight.load(std::memory_order_relaxed);
  SHitRect rect;
  if (node.flipHorizontal) {
    rect.right = x + width - scaledX;
    rect.left = rect.right - scaledWidth;
  } else {
    rect.left = x + scaledX;
    rect.right = rect.left + scaledWidth;
  }
  if (node.flipVertical) {
    rect.bottom = y + height - scaledY;
    rect.top = rect.bottom - scaledHeight;
  } else {
    rect.top = y + scaledY;
    rect.bottom = rect.top + scaledHeight;
  }
  return rect;
}

const CHitTest::SEventNodes* CHitTest::TestPoint(const SFunctionHits& hits, int hitType, SPoint cursor) const {
  const double cx = cursor.x;
  const double cy = cursor.y;
  for (const SEventNodes& nodes : hits.events[static_cast<size_t>(kTypeIndex(hitType))]) {
    for (const auto& node : nodes.areas) {
      const SHitRect rect = AreaRect(*node);
      const bool inside = rect.left <= cx && cx <= rect.right && rect.top <= cy && cy <= rect.bottom;
      if (node->areaType == OUT_RECT ? !inside : inside) return &nodes;
    }
  }
  return nullptr;
}

void CHitTest::SetTargetTo(SPoint cursor) {
  targetWidth_.store(1, std::memory_order_relaxed);
  targetHeight_.store(1, std::memory_order_relaxed);
  targetX_.store(cursor.x, std::memory_order_relaxed);
  targetY_.store(cursor.y, std::memory_order_relaxed);
  lastTarget_ = nullptr;
}

const CHitEventConfig* CHitTest::FrameTest() {
  const SFunctionHits* hits = CurrentHits();
  if (hits == nullptr) return nullptr;
  const bool pending = owner_.TransitionPending();
  const SPoint cursor = owner_.CursorSample();
  const SEventNodes* found = pending ? nullptr : TestPoint(*hits, HIT_CURSOR, cursor);
  if (found != nullptr) SetTargetTo(cursor);
  // Each stroke window runs 30 frames, then its count starts over.
  for (const SEventNodes& nodes : hits->events[kTypeIndex(STROKE_CURSOR)]) {
    SStroke& stroke = *nodes.stroke;
    if (stroke.frames.load(std::memory_order_relaxed) < WindowFrames(*nodes.event)) {
      stroke.frames.fetch_add(1, std::memory_order_relaxed);
    } else {
      stroke.moves.store(0, std::memory_order_relaxed);
      stroke.frames.store(0, std::memory_order_relaxed);
    }
  }
  if (found != nullptr || pending) return found != nullptr ? found->event : nullptr;
  return TestCharacters(*hits);
}

const CHitEventConfig* CHitTest::TestCharacters(const SFunctionHits& hits) {
  for (const SEventNodes& nodes : hits.events[kTypeIndex(HIT_CHARA)]) {
    if (nodes.areas.empty() || nodes.targets.empty()) continue;
    // The other characters' areas as they stand this frame, each worked out once;
    // the buffer keeps its room, so this allocates nothing once it has grown.
    targetAreas_.clear();
    for (const auto& [other, areaIds] : nodes.targets) {
      const SFunctionHits* theirs = other->HitTest().CurrentHits();
      const size_t first = targetAreas_.size();
      if (theirs != nullptr) {
        const CCharaMover& mover = other->Mover();
        const double x = mover.GetX();
        const double y = mover.GetY();
        const double width = mover.DisplayedWidth();
        const double height = mover.DisplayedHeight();
        for (int areaId : areaIds) {
          for (const auto& area : theirs->ownAreas) {
            if (area->id == areaId) targetAreas_.push_back({other, AreaRectAt(*area, x, y, width, height), area->areaType});
          }
        }
      }
      if (targetAreas_.size() == first) targetAreas_.push_back({other, {}, -1});  // keeps the order of targets
    }
    for (const auto& own : nodes.areas) {
      const SHitRect mine = AreaRect(*own);
      for (const STargetArea& target : targetAreas_) {
        if (target.areaType < 0) continue;
        const bool overlap = Overlap(mine, target.rect);
        const bool bothRect = own->areaType == RECT && target.areaType == RECT;
        if (bothRect ? overlap : !overlap) {
          const CCharacter* other = target.character;
          targetWidth_.store(other->Motion().Width(), std::memory_order_relaxed);
          targetHeight_.store(other->Motion().Height(), std::memory_order_relaxed);
          targetX_.store(other->Mover().GetX(), std::memory_order_relaxed);
          targetY_.store(other->Mover().GetY(), std::memory_order_relaxed);
          lastTarget_ = other;
          return nodes.event;
        }
      }
    }
  }
  return nullptr;
}

const CHitEventConfig* CHitTest::ClickArea() {
  const SFunctionHits* hits = CurrentHits();
  const SEventNodes* found = hits != nullptr ? TestPoint(*hits, CLICK_L_BUTTON, owner_.PointerPosition()) : nullptr;
  return found != nullptr ? found->event : nullptr;
}

const CHitEventConfig* CHitTest::ClickEvent() {
  const CHitEventConfig* event = ClickArea();
  if (event != nullptr) SetTargetTo(owner_.PointerPosition());
  return event;
}

const CHitEventConfig* CHitTest::StrokeArea() {
  const SFunctionHits* hits = CurrentHits();
  const SEventNodes* found = hits != nullptr ? TestPoint(*hits, STROKE_CURSOR, owner_.PointerPosition()) : nullptr;
  return found != nullptr ? found->event : nullptr;
}

const CHitEventConfig* CHitTest::Stroke(const CHitEventConfig& event) {
  const SFunctionHits* hits = CurrentHits();
  if (hits == nullptr) return nullptr;
  for (const SEventNodes& nodes : hits->events[kTypeIndex(STROKE_CURSOR)]) {
    if (nodes.event != &event) continue;
    SStroke& stroke = *nodes.stroke;
    const SPoint cursor = owner_.PointerPosition();
    // Only a new position counts: a resting cursor strokes nothing.
    if (cursor.x == stroke.lastX.load(std::memory_order_relaxed) &&
        cursor.y == stroke.lastY.load(std::memory_order_relaxed)) {
      return nullptr;
    }
    stroke.lastX.store(cursor.x, std::memory_order_relaxed);
    stroke.lastY.store(cursor.y, std::memory_order_relaxed);
    if (stroke.moves.load(std::memory_order_relaxed) < RequiredMoves(event)) {
      stroke.moves.fetch_add(1, std::memory_order_relaxed);
      return nullptr;
    }
    SetTargetTo(cursor);
    stroke.moves.store(0, std::memory_order_relaxed);
    stroke.frames.store(0, std::memory_order_relaxed);
    return &event;
  }
  return nullptr;
}
