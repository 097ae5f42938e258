#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/headless/window_registry.h"
#include "temp_folder.h"
#include "test_characters.h"
#include "tool_process.h"

namespace {

const std::string kNoCharacter = "messagebox \"エラー\" \"キャラクターが一体もありません\"\n";
const std::string kSecondInstance = "messagebox \"エラー\" \"多重起動はできません\"\n";

struct ToolRunFixture : ::testing::Test {
  CTempFolder work;
  CTempFolder app;

  ToolProcess Tool(const std::string& name = "tool") {
    return ToolProcess(work.Native() / "run", work.Native() / (name + ".err"));
  }
  std::string AppDir() const { return app.Native().string(); }
  std::string TracePath(const std::string& name = "trace") const { return (work.Native() / (name + ".jsonl")).string(); }

  std::string ReadTrace(const std::string& name = "trace") const {
    std::ifstream in(TracePath(name), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
};

TEST_F(ToolRunFixture, WithoutCharactersTheProgramSaysSoAndEndsWithZero) {
  struct SLayout {
    const char* what;
    void (*make)(const CTempFolder&);
  };
  const SLayout layouts[] = {
      {"no Characters folder", [](const CTempFolder&) {}},
      {"empty", [](const CTempFolder& f) { f.MakeFolder("Characters"); }},
      {"only files", [](const CTempFolder& f) { f.WriteBytes("Characters/a.txt", "x"); }},
      {"only _ folders", [](const CTempFolder& f) { f.MakeFolder("Characters/_a"); f.MakeFolder("Characters/_b"); }},
  };
  for (const SLayout& layout : layouts) {
    CTempFolder folder;
    layout.make(folder);
    const SToolResult result = Tool().Run({"run", "--app-dir", folder.Native().string()});
    EXPECT_EQ(result.exitCode, 0) << layout.what;
    EXPECT_EQ(result.standardError, kNoCharacter) << layout.what;
  }
}

TEST_F(ToolRunFixture, TraceListsTheFirstFifteenOfTwentyCharacters) {
  for (int i = 0; i < 20; ++i) WriteStandingCharacter(app, "chara" + std::to_string(i));
  const SToolResult result = Tool().Run({"run", "--app-dir", AppDir(), "--frames", "3", "--trace", TracePath()});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.standardError, "");

  const std::string trace = ReadTrace();
  const std::string firstLine = trace.substr(0, trace.find('\n'));
  EXPECT_EQ(firstLine,
            "{\"frame\":0,\"event\":\"startup\",\"characters\":[\"chara0\",\"chara1\",\"chara10\",\"chara11\","
            "\"chara12\",\"chara13\",\"chara14\",\"chara15\",\"chara16\",\"chara17\",\"chara18\",\"chara19\","
            "\"chara2\",\"chara3\",\"chara4\"],\"count\":15,\"taskbar\":false}");
}

TEST_F(ToolRunFixture, ProgramArgumentsAfterTheSeparatorReachTheOptionParser) {
  WriteStandingCharacter(app, "one");
  const SToolResult result = Tool().Run(
      {"run", "--app-dir", AppDir(), "--frames", "1", "--trace", TracePath(), "--", "/taskbar", "word", "-x"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(ReadTrace().find("\"characters\":[\"one\"],\"count\":1,\"taskbar\":true}"), std::string::npos) << ReadTrace();
}

TEST_F(ToolRunFixture, ASecondCopyIsRefusedWhileTheFirstRunsAndAKilledOneBlocksNothing) {
  WriteStandingCharacter(app, "one");
  ToolProcess first = Tool("first");
  first.Start({"run", "--app-dir", AppDir(), "--realtime", "--trace", TracePath("first")});
  ASSERT_TRUE(WaitForText(TracePath("first"), "\"startup\""));

  const SToolResult second = Tool("second").Run({"run", "--app-dir", AppDir(), "--frames", "1"});
  EXPECT_EQ(second.exitCode, 0);
  EXPECT_EQ(second.standardError, kSecondInstance);

  first.Kill();
  first.Wait();
  const SToolResult third = Tool("third").Run({"run", "--app-dir", AppDir(), "--frames", "1"});
  EXPECT_EQ(third.exitCode, 0);
  EXPECT_EQ(third.standardError, "");
}

TEST_F(ToolRunFixture, AtMostThirtyCharacterWindowsRunOnTheDesktop) {
  for (int i = 0; i < 15; ++i) WriteStandingCharacter(app, "chara" + std::to_string(i));
  // Another process's character windows, registered in the census these runs read.
  SHeadlessOptions foreignOptions;
  foreignOptions.runtimeDir = (work.Native() / "run" / "zelvotta").string();
  std::filesystem::create_directories(work.Native() / "run");
  CHeadlessPlatform foreign(foreignOptions);
  for (int i = 0; i < 15; ++i) foreign.Windows().Register(u"Zelvotta_Character_Window");

  const SToolResult fifteen = Tool().Run({"run", "--app-dir", AppDir(), "--frames", "1"});
  EXPECT_EQ(fifteen.exitCode, 0);
  EXPECT_EQ(fifteen.standardError, "");

  foreign.Windows().Register(u"Zelvotta_Character_Window");
  foreign.Windows().Register(u"zelvotta_character_window");  // titles match exactly
  const SToolResult sixteen = Tool().Run({"run", "--app-dir", AppDir(), "--frames", "1"});
  EXPECT_EQ(sixteen.exitCode, 0);
  EXPECT_EQ(sixteen.standardError, "messagebox \"エラー\" \"キャラクターの起動数は30体までです\"\n");
}

TEST_F(ToolRunFixture, BadOptionsAreReportedWithUsage) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"run", "--frames", "x"}, {"run", "--screen", "100"}, {"run", "--bogus", "1"},
        {"run", "--frames"}, {"run", "--trace", "/nonexistent-folder/trace.jsonl"},
        {"run", "--memory-log", "/nonexistent-folder/memory.log"}, {"run", "--realtime", "--memory-log", "m.log"},
        {"run", "--platform", "qt", "--memory-log", "m.log"}}) {
    const SToolResult result = Tool().Run(arguments);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.standardError.find("zelvotta-tool run: "), std::string::npos) << result.standardError;
  }
}

#if !defined(_WIN32)
// The memory log has a sample after frame 0 and after every 300th frame, each a frame
// number and a plausible resident size, and it is whole when the run has ended.
TEST_F(ToolRunFixture, TheMemoryLogSamplesEveryThreeHundredFrames) {
  WriteStandingCharacter(app, "one");
  const std::string log = (work.Native() / "memory.log").string();
  const SToolResult result = Tool().Run({"run", "--app-dir", AppDir(), "--frames", "700", "--memory-log", log});
  ASSERT_EQ(result.exitCode, 0) << result.standardError;
  std::ifstream in(log);
  std::vector<unsigned long long> frames;
  unsigned long long frame = 0;
  unsigned long long kib = 0;
  while (in >> frame >> kib) {
    frames.push_back(frame);
    EXPECT_GT(kib, 1000u) << "frame " << frame;
    EXPECT_LT(kib, 4000000u) << "frame " << frame;
  }
  EXPECT_EQ(frames, (std::vector<unsigned long long>{0, 300, 600}));
}
#endif

}  // namespace
