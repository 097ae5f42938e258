// Killing the program while it writes its state: app.cfg and a .param file are written
// through a temporary file renamed into place, so a kill at any moment leaves each of
// them as a whole state of some round (or not there yet), never a torn or mixed one.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <thread>

#include "app/settings_file.h"
#include "runtime/chara_state_file.h"
#include "state_rounds.h"
#include "support/file_system.h"
#include "temp_folder.h"
// Brings in <windows.h> on Windows: after the engine's headers.
#include "child_process.h"

namespace {

constexpr int kKills = 200;

TEST(StateWriteKill, AKillAtAnyMomentLeavesEachFileAWholeStateOfSomeRound) {
  CTempFolder params;
  const std::u16string folder = params.Engine() + u"\\";
  std::mt19937 random(20261209);  // fixed, so a failure repeats
  std::uniform_int_distribution<int> delayMicroseconds(0, 20000);
  std::set<int> settingsRounds;
  std::set<int> stateRounds;
  for (int kill = 0; kill < kKills; ++kill) {
    CChildProcess writer;
    const std::filesystem::path writing = params.Native() / "writing";
    std::filesystem::remove(writing);
    // Wine on a busy machine has refused a start now and then (an internal error); the
    // kills are what this tests, so a refused start is tried again.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
      if (attempt > 0) writer = CChildProcess();
      started = writer.Start({.program = ZV_STATE_WRITER, .arguments = {params.NativeString()}});
    }
    ASSERT_TRUE(started) << writer.Failure();
    // The random moment counts from when the writing begins, not from the start of a
    // process that may take long to start (under Wine, on a busy machine).
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::exists(writing) && std::chrono::steady_clock::now() < giveUp) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
    writer.Kill();
    const SChildResult result = writer.Wait();
    ASSERT_TRUE(result.exitCode == kChildKilledExitCode || result.exitCode == 0) << result.errors;

    if (std::filesystem::exists(params.Native() / "app.cfg")) {
      SAppSettings settings;
      LoadAppSettings(folder, {0, 0, 1920, 1080}, settings);
      const int round = RoundOfSettings(settings);
      ASSERT_GT(round, 0) << "kill " << kill << " left a torn app.cfg: " << params.ReadBytes("app.cfg");
      settingsRounds.insert(round);
    }
    if (std::filesystem::exists(params.Native() / "Kid.param")) {
      SCharaStartState state;
      ASSERT_TRUE(ReadCharaState(folder, kStateRoundsCharacter, state)) << "kill " << kill << " left a torn .param";
      const SCharaStateRound expected = CharaStateOfRound(state.x);
      EXPECT_EQ(state.y, static_cast<int>(expected.y)) << "kill " << kill;
      EXPECT_EQ(state.lineNumber, expected.line) << "kill " << kill;
      EXPECT_EQ(state.mute, expected.mute) << "kill " << kill;
      EXPECT_EQ(state.hide, expected.hide) << "kill " << kill;
      stateRounds.insert(state.x);
    }
  }
  // The kills fell at many different moments of the writing.
  EXPECT_GT(settingsRounds.size(), 20u);
  EXPECT_GT(stateRounds.size(), 20u);
}

}  // namespace
