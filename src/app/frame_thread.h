#pragma once
// The frame thread's work: at 30 frames per second, sample the cursor, update every
// character, and ask the main window to quit once all of them have played out.
#include "app/frame_pacing.h"
#include "platform/user_interface.h"

class CApplication;
class IClock;
struct SProgramState;

class CFrameThread : public IFrameWorker {
 public:
  // With `tracePositions` every character's position goes to the trace after each frame.
  CFrameThread(SProgramState& state, CApplication& application, IClock& clock, IUserInterface& ui,
               bool tracePositions = false);

  void Begin() override;
  bool KeepRunning() override;
  uint32_t Step() override;
  void End() override;

 private:
  void SampleCursor();
  void UpdateCharacters();
  void TracePositions();

  SProgramState& state_;
  CApplication& application_;
  IClock& clock_;
  IUserInterface& ui_;
  SFramePacing pacing_;
  bool tracePositions_;
};
