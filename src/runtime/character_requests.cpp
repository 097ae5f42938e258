// Transition requests: which function a request asks for, and the weighted and random
// picks behind it.
#include "chardef/order_config.h"
#include "runtime/character.h"
#include "runtime/weighted_pick.h"
#include "script/shared_random.h"

namespace {

constexpr double kWordScale = 1.0 / 4294967296.0;

// A fresh random word scaled to 0 .. count-1.
size_t RandomIndex(size_t count) {
  return static_cast<size_t>(static_cast<double>(NextSharedRandom()) * kWordScale * static_cast<double>(count));
}

constexpr char16_t kNoFuncListEvent[] = u"に有効なFuncListEventが存在しません。";
constexpr char16_t kNoFuncListTimer[] = u"に有効なFuncListTimerが存在しません。";

}  // namespace

const COrderConfig* CCharacter::FunctionOf(int id) const {
  const CCreateFuncInfo* entry = definition_->registers.FindEntry(ORDER_REG, id);
  return entry == nullptr ? nullptr : entry->ConfigAs<COrderConfig>();
}

CWeightMap& CCharacter::ScratchForThisThread() {
  return frameThread_.load(std::memory_order_relaxed) == std::this_thread::get_id() ? frameScratch_ : mainScratch_;
}

bool CCharacter::RequestFromList(int kind, const CWeightMap* eventList) {
  return RequestFromListOf(CurrentFunction(), kind, eventList, ScratchForThisThread());
}

bool CCharacter::RequestFromListOf(const COrderConfig* lists, int kind, const CWeightMap* eventList,
                                   CWeightMap& scratch) {
  auto own = [&](int list) {
    return lists == nullptr ? -1 : PickFromList(lists->resolvedFuncLists[static_cast<size_t>(list)], scratch);
  };
  auto orRandom = [&](int id, int type) { return id >= 0 ? id : RandomFromEventList(type); };
  auto fromEvent = [&] { return eventList == nullptr ? -1 : PickFromList(*eventList, scratch); };
  auto request = [&](int slot, int id) {
    if (id < 0) return false;
    Request(slot, id);
    return true;
  };

  switch (kind) {
    case KIND_MENU: return request(SLOT_MENU, orRandom(own(FUNC_LIST_MENU), MENU_EVENT));
    case KIND_EXIT: {
      const int id = orRandom(own(FUNC_LIST_EXIT), EXIT_EVENT);
      if (id < 0) {
        EndNow();
        return true;
      }
      return request(SLOT_EXIT, id);
    }
    case KIND_HIDE: {
      const int id = orRandom(own(FUNC_LIST_HIDE), HIDE_EVENT);
      if (id < 0) {
        Hide();
        return true;
      }
      return request(SLOT_HIDE, id);
    }
    case KIND_L_BUTTON: {
      const int id = orRandom(own(FUNC_LIST_L_BUTTON), L_BUTTON_EVENT);
      if (!request(SLOT_L_BUTTON, id)) return false;
      // The capture follows the chosen function at once, so the drag starts with the press.
      const COrderConfig* chosen = FunctionOf(id);
      if (chosen != nullptr && chosen->capture) {
        TakeCapture();
        ShowCursorOf(chosen, definition_->cursors.drag, Info().dragCursorName);
        captureDrag_.store(true, std::memory_order_release);
      } else {
        ShowCursorOf(chosen, definition_->cursors.normal, Info().normalCursorName);
        ReleaseCapture();
      }
      return true;
    }
    case KIND_CUSTOM: return request(SLOT_CUSTOM, orRandom(own(FUNC_LIST_CUSTOM), CUSTOM_EVENT));
    case KIND_FRAME_HIT: return request(SLOT_FRAME_HIT, fromEvent());
    case KIND_STROKE: return request(SLOT_STROKE, fromEvent());
    case KIND_CLICK: return request(SLOT_CLICK, fromEvent());
    case KIND_CONDITION: return request(SLOT_CONDITION, fromEvent());
    case KIND_START:
    case KIND_SHOW: {
      int id = RandomFromEventList(kind == KIND_START ? START_EVENT : SHOW_EVENT);
      if (id < 0) id = RandomFromEdgeLists();
      // A character whose only way onto the desktop is its start function comes back
      // through it, rather than staying invisible while it counts as shown.
      if (id < 0 && kind == KIND_SHOW) id = RandomFromEventList(START_EVENT);
      if (id < 0) {
        TraceEvent("no-start");
        return false;
      }
      return request(kind == KIND_START ? SLOT_START : SLOT_SHOW, id);
    }
    default: break;
  }
  if (kind < 0 || kind >= FUNC_LIST_END || requests_.IsPending()) return false;
  const int id = own(kind);
  if (id < 0) {
    if (lists != nullptr && kind == FUNC_LIST_EVENT) ReportFunctionError(*lists, kNoFuncListEvent);
    if (lists != nullptr && kind == FUNC_LIST_TIMER) ReportFunctionError(*lists, kNoFuncListTimer);
    return false;
  }
  return request(SLOT_OWN_LIST, id);
}

int CCharacter::PickFromList(const CWeightMap& list, CWeightMap& scratch) const {
  if (list.Count() == 0) return -1;
  const int lineCount = publishedLineCount_.load(std::memory_order_relaxed);
  const int line = publishedLine_.load(std::memory_order_relaxed);

  // Whether a function fits where the character stands; the strict pass also lets a
  // function through that knows where to go at the end of the lines.
  auto fits = [&](const COrderConfig& function, bool strict) {
    const bool endLine = strict && function.resolvedFuncLists[FUNC_LIST_END_LINE].Count() > 0;
    if (lineCount <= 1) return function.lineUpCandidate && function.lineDownCandidate;
    if (line > 1 && line < lineCount) return true;
    if (line <= 1) return function.lineUpCandidate || endLine;
    return function.lineDownCandidate || endLine;
  };
  auto build = [&](const CWeightMap& from, bool strict) {
    scratch.Clear();
    for (int i = 0; i < from.Count(); ++i) {
      const COrderConfig* function = FunctionOf(from.KeyAt(i));
      if (function == nullptr || function->funcType < 0 || !fits(*function, strict)) continue;
      scratch.Add(from.KeyAt(i), from.ValueAt(i));
    }
  };
  auto choose = [&]() { return PickByWeight(scratch); };

  build(list, true);
  const int winner = choose();
  if (winner < 0) return -1;
  const COrderConfig* function = FunctionOf(winner);
  if (fits(*function, false)) return winner;
  build(function->resolvedFuncLists[FUNC_LIST_END_LINE], false);
  return choose();
}

int CCharacter::RandomFromEventList(int type) const {
  if (type < 0 || type >= static_cast<int>(eventLists_.size())) return -1;
  const std::vector<int>& list = eventLists_[static_cast<size_t>(type)];
  if (list.empty()) return -1;
  return list[RandomIndex(list.size())];
}

int CCharacter::RandomFromEdgeLists() const {
  if (edgeLists_.empty()) return -1;
  const std::vector<int>& list = *edgeLists_[RandomIndex(edgeLists_.size())];
  return list[RandomIndex(list.size())];
}

void CCharacter::Hide() {
  balloons_->CloseAll();
  Request(SLOT_HIDE, kHiddenFunctionId);
  SetEnded(true);
  if (Ending()) MarkFinished();
}

void CCharacter::EndNow() {
  balloons_->CloseAll();
  Request(SLOT_EXIT, kHiddenFunctionId);
  MarkFinished();
}
