#include "app/frame_thread.h"

#include "app/application.h"
#include "app/program_state.h"
#include "chardef/order_config.h"
#include "platform/clock.h"
#include "platform/trace_record.h"

namespace {
// Sleep granularity asked of the system while frames run, so 33 ms sleeps stay accurate.
constexpr uint32_t kTimerResolutionMs = 5;
}  // namespace

CFrameThread::CFrameThread(SProgramState& state, CApplication& application, IClock& clock,
                           IUserInterface& ui, bool tracePositions)
    : state_(state), application_(application), clock_(clock), ui_(ui), tracePositions_(tracePositions) {}

void CFrameThread::Begin() {
  clock_.BeginTimerResolution(kTimerResolutionMs);
  pacing_ = SFramePacing{clock_.Milliseconds(), 0};
}

bool CFrameThread::KeepRunning() { return state_.running.load(std::memory_order_acquire); }

uint32_t CFrameThread::Step() {
  const uint32_t now = clock_.Milliseconds();
  // A fatal error stops the frame work at once, even in the frame it happened in.
  if (state_.framesEnabled.load(std::memory_order_acquire) && !state_.errorFlag.load(std::memory_order_acquire)) {
    SampleCursor();
    UpdateCharacters();
    if (tracePositions_) TracePositions();
  }
  return NextFrameSleep(pacing_, now);
}

void CFrameThread::End() { clock_.EndTimerResolution(kTimerResolutionMs); }

void CFrameThread::SampleCursor() {
  const SPoint cursor = ui_.SampleCursorPosition();
  const int previousX = state_.cursorX.load(std::memory_order_relaxed);
  const int previousY = state_.cursorY.load(std::memory_order_relaxed);
  state_.cursorDx.store(static_cast<double>(cursor.x) - previousX, std::memory_order_relaxed);
  state_.cursorDy.store(static_cast<double>(cursor.y) - previousY, std::memory_order_relaxed);
  state_.cursorX.store(cursor.x, std::memory_order_relaxed);
  state_.cursorY.store(cursor.y, std::memory_order_relaxed);
}

void CFrameThread::UpdateCharacters() {
  application_.ApplyPendingMoveRange();
  CCharaMap& characters = application_.Characters();
  int finished = 0;
  for (int i = 0; i < application_.CharacterCount(); ++i) {
    if (i >= characters.Count()) break;
    CCharacter* character = characters.ValueAt(i);
    if (!character) continue;
    character->Update();
    if (character->Finished()) ++finished;
  }
  // Every character has played out its ending: the program may end.
  if (finished == application_.CharacterCount()) {
    application_.MainWindow().PostAppMessage(kQuitRequestMessage, 0);
  }
}

void CFrameThread::TracePositions() {
  CCharaMap& characters = application_.Characters();
  for (int i = 0; i < characters.Count(); ++i) {
    const CCharacter& character = *characters.ValueAt(i);
    const COrderConfig* function = character.CurrentFunction();
    application_.Trace().Trace(CTraceRecord("position")
                                   .Add("chara", character.Name())
                                   .Add("x", int64_t{static_cast<int>(character.Mover().GetX())})
                                   .Add("y", int64_t{static_cast<int>(character.Mover().GetY())})
                                   .Add("line", int64_t{character.Mover().Line()})
                                   .Add("function", function != nullptr ? function->name : std::u16string()));
  }
}
