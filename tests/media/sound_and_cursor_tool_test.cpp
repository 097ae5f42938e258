// The wav and cursor subcommands of zelvotta-tool: their stable output and exit codes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "temp_folder.h"
#include "cursor_builder.h"
#include "sound_wav_builder.h"

namespace {

struct SRun {
  int exitCode;
  std::string output;
};

// Runs the tool with the shell-quoted arguments and collects standard output; standard
// error goes with it when `withErrors` is set.
SRun RunTool(const std::string& arguments, bool withErrors = false) {
  const std::string command = std::string("'") + ZV_TOOL_PATH + "' " + arguments + (withErrors ? " 2>&1" : " 2>/dev/null");
  FILE* pipe = ::popen(command.c_str(), "r");
  SRun run{-1, {}};
  if (!pipe) return run;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) run.output += buffer;
  const int status = ::pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(SoundAndCursorTool, DescribesFilesOrFails) {
  CTempFolder folder;
  folder.WriteBytes("tone.wav", CWavBuilder().Fmt(1, 2, 22050, 16).Chunk("data", std::string(400, '\0')).File());
  folder.WriteBytes("float.wav", CWavBuilder().Fmt(3, 1, 8000, 32).Chunk("data", "1234").File());
  const std::string dib = cursor_builder::Dib(5, 3, 24, {}, [](int, int) { return 0u; }, [](int, int) { return false; });
  folder.WriteBytes("arrow.cur", cursor_builder::IconFile({{5, 3, 4, 2, dib}}));
  const std::string dir = "'" + folder.Native().string() + "/";

  const struct {
    std::string arguments;
    int exitCode;
    std::string output;
  } cases[] = {
      {"wav " + dir + "tone.wav'", 0, "ok 2 22050 16 400\n"},
      {"wav " + dir + "float.wav'", 1, "fail\n"},
      {"wav " + dir + "missing.wav'", 1, "fail\n"},
      {"wav", 2, ""},
      {"cursor " + dir + "arrow.cur'", 0, "ok 1 5 3 4 2\n"},
      {"cursor " + dir + "tone.wav'", 1, "fail\n"},
      {"cursor", 2, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    const SRun run = RunTool(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.output, c.output);
  }
}

// This machine class has no sound card: playing must end with a clear error, not hang.
TEST(SoundAndCursorTool, PlayWithoutAudioDeviceFailsClearly) {
  CTempFolder folder;
  folder.WriteBytes("tone.wav", MonoPcm8(8000, std::string(80, '\x80')));
  const SRun run = RunTool("wav '" + folder.Native().string() + "/tone.wav' --play", true);
  if (run.exitCode == 0) GTEST_SKIP() << "an audio device is present";
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("ok 1 8000 8 80\n"), std::string::npos);
  EXPECT_NE(run.output.find("zelvotta-tool wav: cannot play"), std::string::npos);
}

}  // namespace
