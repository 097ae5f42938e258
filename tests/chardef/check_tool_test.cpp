// zelvotta-tool check on real character folders: the one-line answers, --all-errors with
// where each faulty block was written, exit codes, and the characters we ship.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "temp_folder.h"
#include "child_process.h"

namespace {

struct SToolOutput {
  int exitCode = -1;
  std::string text;
};

// zelvotta-tool check with `arguments`; its standard output, standard error dropped.
SToolOutput RunCheck(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "check");
  const SChildResult run = RunChild({.program = ZV_TOOL_PATH, .arguments = arguments});
  EXPECT_TRUE(run.failure.empty()) << run.failure;
  return {run.exitCode, ChildText(run.output)};
}

// A script file as the tool names it: with this system's folder separator, so editors
// can open FILE:LINE.
std::string ScriptFile(std::string path) {
  for (char& c : path) {
    if (c == '/') c = static_cast<char>(std::filesystem::path::preferred_separator);
  }
  return path;
}

constexpr std::string_view kHiddenFunction =
    "<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=start\nFuncType=START_EVENT\n"
    "FuncNameMotion=|MOTION_OBJECT_HIDE|\n</SET_CONFIG>\n</FUNC_ORDER_REG>\n";

class CheckToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Write("Good/Scripts/a.func", kHiddenFunction);
    // Two faulty blocks in a nested file (lines 1 and 7; motions are built first) and a function list naming
    // a function that does not exist (its block begins on line 1 of b.func).
    Write("Bad/Scripts/deeper/z.func",
          "<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=one\nFuncType=BOGUS\n</SET_CONFIG>\n"
          "</FUNC_ORDER_REG>\n<FUNC_MOTION_REG>\n<SET_CONFIG>\nFuncName=m\nImageName=none.png\n"
          "</SET_CONFIG>\n</FUNC_MOTION_REG>\n");
    Write("Bad/Scripts/b.func",
          "<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=two\nFuncType=NONE_EVENT\nFuncListTimer=nobody*2\n"
          "</SET_CONFIG>\n</FUNC_ORDER_REG>\n");
    Write("Empty/config.ini", "CharaName=x\n");
    Write("_Skipped/Scripts/a.func", "not read");
  }
  void Write(const std::string& relative, std::string_view bytes) { app_.WriteBytes("Characters/" + relative, bytes); }
  // --app-dir naming the test's application folder, then `more`.
  std::vector<std::string> AppDir(std::initializer_list<std::string> more = {}) const {
    std::vector<std::string> arguments{"--app-dir", app_.NativeString()};
    arguments.insert(arguments.end(), more);
    return arguments;
  }

  CTempFolder app_;
};

TEST_F(CheckToolTest, AnswersOneLinePerCharacterInDiscoveryOrder) {
  const SToolOutput output = RunCheck(AppDir());
  EXPECT_EQ(output.exitCode, 1);
  // The program shows the last latched register error and checks nothing further.
  EXPECT_EQ(output.text,
            "error Bad Badのoneに不正なFuncTypeが設定されています。\n"
            "error Empty Emptyのスクリプト命令が存在しません。\n"
            "ok Good\n");
  const SToolOutput good = RunCheck(AppDir({"Good"}));
  EXPECT_EQ(good.exitCode, 0);
  EXPECT_EQ(good.text, "ok Good\n");
}

TEST_F(CheckToolTest, AllErrorsGivesEveryFaultWithItsBlock) {
  const SToolOutput output = RunCheck(AppDir({"--all-errors", "Bad", "Good"}));
  EXPECT_EQ(output.exitCode, 1);
  // Every register error in build order, then the first failed check; b.func is read
  // before the folder deeper/.
  EXPECT_EQ(output.text,
            "error Bad " + ScriptFile("Scripts/deeper/z.func") + ":7 BadのmBadのnone.pngを読み込めませんでした。\n"
            "error Bad " + ScriptFile("Scripts/deeper/z.func") + ":1 Badのoneに不正なFuncTypeが設定されています。\n"
            "error Bad " + ScriptFile("Scripts/b.func") + ":1 BadのtwoのFuncListTimerに存在しない関数nobodyが指定されています。\n"
            "ok Good\n");
}

TEST_F(CheckToolTest, RejectsBadArgumentsAndEmptyApplicationFolders) {
  EXPECT_EQ(RunCheck(AppDir({"--bogus"})).exitCode, 2);
  EXPECT_EQ(RunCheck({"--app-dir"}).exitCode, 2);
  EXPECT_EQ(RunCheck({"--app-dir", (app_.Native() / "missing").string()}).exitCode, 2);
  CTempFolder empty;
  const SToolOutput none = RunCheck({"--app-dir", empty.NativeString()});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_EQ(none.text, "");
}

// The source tree's "characters" folder stands for "Characters" (names match without case
// when the exact one is missing).
TEST(CheckToolShipped, TheShippedCharactersLoad) {
  const SToolOutput output = RunCheck({"--app-dir", ZV_SHIPPED_APP_DIR, "--all-errors"});
  EXPECT_EQ(output.exitCode, 0);
  EXPECT_EQ(output.text, "ok Hopper\nok Walker\n");
}

}  // namespace
