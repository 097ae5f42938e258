// The wav and cursor subcommands of zelvotta-tool: their stable output and exit codes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "temp_folder.h"
#include "cursor_builder.h"
#include "sound_wav_builder.h"
#include "child_process.h"

namespace {

struct SRun {
  int exitCode;
  std::string output;
  std::string errors;
};

// Runs the tool with `arguments` and collects its standard output and standard error.
SRun RunTool(const std::vector<std::string>& arguments) {
  const SChildResult run = RunChild({.program = ZV_TOOL_PATH, .arguments = arguments});
  EXPECT_TRUE(run.failure.empty()) << run.failure;
  return {run.exitCode, ChildText(run.output), ChildText(run.errors)};
}

TEST(SoundAndCursorTool, DescribesFilesOrFails) {
  CTempFolder folder;
  folder.WriteBytes("tone.wav", CWavBuilder().Fmt(1, 2, 22050, 16).Chunk("data", std::string(400, '\0')).File());
  folder.WriteBytes("float.wav", CWavBuilder().Fmt(3, 1, 8000, 32).Chunk("data", "1234").File());
  const std::string dib = cursor_builder::Dib(5, 3, 24, {}, [](int, int) { return 0u; }, [](int, int) { return false; });
  folder.WriteBytes("arrow.cur", cursor_builder::IconFile({{5, 3, 4, 2, dib}}));
  auto in = [&](const char* name) { return (folder.Native() / name).string(); };

  const struct {
    std::vector<std::string> arguments;
    int exitCode;
    std::string output;
  } cases[] = {
      {{"wav", in("tone.wav")}, 0, "ok 2 22050 16 400\n"},
      {{"wav", in("float.wav")}, 1, "fail\n"},
      {{"wav", in("missing.wav")}, 1, "fail\n"},
      {{"wav"}, 2, ""},
      {{"cursor", in("arrow.cur")}, 0, "ok 1 5 3 4 2\n"},
      {{"cursor", in("tone.wav")}, 1, "fail\n"},
      {{"cursor"}, 2, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const SRun run = RunTool(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.output, c.output);
  }
}

// This machine class has no sound card: playing must end with a clear error, not hang.
TEST(SoundAndCursorTool, PlayWithoutAudioDeviceFailsClearly) {
  CTempFolder folder;
  folder.WriteBytes("tone.wav", MonoPcm8(8000, std::string(80, '\x80')));
  const SRun run = RunTool({"wav", (folder.Native() / "tone.wav").string(), "--play"});
  if (run.exitCode == 0) GTEST_SKIP() << "an audio device is present";
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, "ok 1 8000 8 80\n");
  EXPECT_NE(run.errors.find("zelvotta-tool wav: cannot play"), std::string::npos) << run.errors;
}

}  // namespace
