#include <gtest/gtest.h>

#include "app/application.h"
#include "app/frame_thread.h"
#include "app/program_state.h"
#include "app_fakes.h"
#include "support/utf.h"

namespace {

struct FrameThreadFixture : ::testing::Test {
  FakeCharacterFolders folders;
  FakePlatform platform;
  FakeMainWindow window;
  FakeClock clock;
  FakeUi ui;
  SProgramState state;

  std::unique_ptr<CApplication> MakeApplication(int discovered) {
    std::vector<std::u16string> names;
    for (int i = 0; i < discovered; ++i) names.push_back(u"c" + std::u16string(1, char16_t(u'0' + i)));
    return std::make_unique<CApplication>(platform, window, state, SRect{0, 0, 800, 600}, names, discovered);
  }

  // A character that plays an exit function of `exitFrames` frames (none: it finishes
  // as soon as the program ends).
  CCharacter* AddCharacter(CApplication& app, const std::string& name, int exitFrames = 0) {
    folders.Add(name, exitFrames);
    CCharacter* character = app.CreateCharacter(FromUtf8(name));
    character->Load();
    character->InitialShow();
    return character;
  }

  size_t QuitRequests() const {
    size_t n = 0;
    for (const auto& message : window.posted) n += message.first == kQuitRequestMessage;
    return n;
  }
};

TEST_F(FrameThreadFixture, NoFrameWorkRunsUntilFramesAreEnabled) {
  auto app = MakeApplication(1);
  CCharacter* character = AddCharacter(*app, "c0");
  CFrameThread frames(state, *app, clock, ui);
  frames.Begin();
  EXPECT_EQ(clock.resolution, 5);
  frames.Step();
  EXPECT_EQ(character->EnteredFunctionId(), -1);
  state.framesEnabled = true;
  frames.Step();
  EXPECT_NE(character->EnteredFunctionId(), -1);
  frames.End();
  EXPECT_EQ(clock.resolution, 0);
}

TEST_F(FrameThreadFixture, AFatalErrorStopsTheFrameWork) {
  auto app = MakeApplication(1);
  CCharacter* character = AddCharacter(*app, "c0");
  state.framesEnabled = true;
  state.errorFlag = true;
  CFrameThread frames(state, *app, clock, ui);
  frames.Begin();
  frames.Step();
  EXPECT_EQ(character->EnteredFunctionId(), -1);
}

TEST_F(FrameThreadFixture, QuitIsRequestedOnceEveryCharacterHasFinished) {
  auto app = MakeApplication(2);
  CCharacter* first = AddCharacter(*app, "c0", 1);
  CCharacter* second = AddCharacter(*app, "c1", 3);
  state.framesEnabled = true;
  CFrameThread frames(state, *app, clock, ui);
  frames.Begin();
  frames.Step();
  EXPECT_EQ(QuitRequests(), 0u);

  app->EndAllCharacters();
  EXPECT_TRUE(app->IsExiting());
  EXPECT_TRUE(first->Ending() && second->Ending());
  frames.Step();  // both enter their exit functions; the first ends there
  EXPECT_TRUE(first->Finished());
  frames.Step();
  EXPECT_EQ(QuitRequests(), 0u);
  frames.Step();
  EXPECT_TRUE(second->Finished());
  EXPECT_EQ(QuitRequests(), 1u);
}

TEST_F(FrameThreadFixture, CharactersThatWereNeverCreatedKeepTheProgramRunning) {
  // Three folders were discovered but only one character exists: it finishing is not
  // enough, because the count of discovered characters is what must be reached.
  auto app = MakeApplication(3);
  CCharacter* only = AddCharacter(*app, "c0");
  state.framesEnabled = true;
  CFrameThread frames(state, *app, clock, ui);
  frames.Begin();
  app->EndAllCharacters();
  for (int i = 0; i < 5; ++i) frames.Step();
  EXPECT_TRUE(only->Finished());
  EXPECT_EQ(QuitRequests(), 0u);
}

TEST_F(FrameThreadFixture, CursorSampleKeepsThePositionAndItsMove) {
  auto app = MakeApplication(1);
  state.framesEnabled = true;
  CFrameThread frames(state, *app, clock, ui);
  frames.Begin();
  ui.cursor = {100, 50};
  frames.Step();
  ui.cursor = {90, 70};
  frames.Step();
  EXPECT_EQ(state.cursorX.load(), 90);
  EXPECT_EQ(state.cursorY.load(), 70);
  EXPECT_DOUBLE_EQ(state.cursorDx.load(), -10.0);
  EXPECT_DOUBLE_EQ(state.cursorDy.load(), 20.0);
}

TEST_F(FrameThreadFixture, StepReturnsTheSleepOfThePacingGrid) {
  auto app = MakeApplication(1);
  CFrameThread frames(state, *app, clock, ui);
  clock.now = 1000;
  frames.Begin();
  EXPECT_EQ(frames.Step(), 33u);
  clock.now += 40;  // 40 ms into the window; the next grid point is at 66 ms
  EXPECT_EQ(frames.Step(), 26u);
}

}  // namespace
