// Writes app.cfg and a character's .param file over and over, each time with a new
// state numbered by the round, until it is killed (or ten seconds have passed). The
// state-write test kills it at random moments and reads what it left. The rounds go on
// from the ones an earlier, killed writer left, and a "writing" file says the writing
// has begun, so the kills fall while it writes however slowly the process starts.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/settings_file.h"
#include "runtime/chara_state_file.h"
#include "support/file_system.h"
#include "state_rounds.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zv_state_writer PARAMS-FOLDER\n");
    return 2;
  }
  std::u16string params = FromNativePath(std::filesystem::path(argv[1]));
  if (!params.ends_with(u'\\')) params += u'\\';
  SAppSettings left;
  int first = 1;
  if (std::filesystem::exists(std::filesystem::path(argv[1]) / "app.cfg")) {
    LoadAppSettings(params, {0, 0, 1920, 1080}, left);
    first = RoundOfSettings(left) + 1;
  }
  std::ofstream(std::filesystem::path(argv[1]) / "writing").put('1');
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (int round = std::max(first, 1); std::chrono::steady_clock::now() < end; ++round) {
    if (!SaveAppSettings(params, SettingsOfRound(round))) return 1;
    const SCharaStateRound state = CharaStateOfRound(round);
    if (!WriteCharaState(params, kStateRoundsCharacter, state.x, state.y, state.line, state.mute, state.hide)) {
      return 1;
    }
  }
  return 0;
}
