// Characters as a careless or hostile author leaves them, end to end through
// zelvotta-tool: paths that name folders, names that climb out of the character, folder
// names that hold separators and numbers at the ends of int all end as a file that
// cannot be read or a saturated value, never a crash, a hang or a write outside Params.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "temp_folder.h"
#include "test_characters.h"
#include "tool_process.h"

namespace {

namespace fs = std::filesystem;

struct ToolHostileFixture : ::testing::Test {
  CTempFolder work;
  CTempFolder root;  // holds the application folder "app" and what lies beside it
  fs::path app = root.Native() / "app";

  SToolResult Tool(std::vector<std::string> arguments) {
    return ToolProcess(work.Native() / "run", work.Native() / "tool.err").Run(arguments);
  }
  SToolResult Check() { return Tool({"check", "--app-dir", app.string()}); }
  SToolResult Run(const std::string& frames = "30") {
    return Tool({"run", "--app-dir", app.string(), "--frames", frames, "--seed", "1", "--trace",
                 (work.Native() / "trace.jsonl").string()});
  }
  std::string Trace() const { return work.ReadBytes("trace.jsonl"); }
  void Write(const fs::path& relative, const std::string& bytes) const {
    root.WriteBytes(fs::path("app") / relative, bytes);
  }
  // Every entry below the root but Params, so a test can see that nothing else changed.
  std::vector<std::string> TreeOutsideParams() const {
    std::vector<std::string> entries;
    for (auto it = fs::recursive_directory_iterator(root.Native()); it != fs::recursive_directory_iterator(); ++it) {
      if (it->path() == app / "Params") {
        it.disable_recursion_pending();
        continue;
      }
      entries.push_back(fs::relative(it->path(), root.Native()).string());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
  }
};

// A character whose one motion has `imageLine` for its image.
std::string ScriptShowing(const std::string& imageLine) {
  return "<FUNC_MOTION_REG>\n<SET_CONFIG>\nFuncName=still\n" + imageLine +
         "\nWidth=4\nHeight=4\n</SET_CONFIG>\n<SET_PARAM>\n0,0,0,0,1\n</SET_PARAM>\n</FUNC_MOTION_REG>\n"
         "<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=start\nFuncType=START_EVENT\nFuncNameMotion=still\n"
         "</SET_CONFIG>\n</FUNC_ORDER_REG>\n";
}

TEST_F(ToolHostileFixture, PathsThatNameFoldersAreFilesThatCannotBeRead) {
  // No ImageName: the motion's image is the Images folder itself.
  Write("Characters/NoImage/Scripts/a.func", ScriptShowing(""));
  Write("Characters/NoImage/Images/still.png", "");
  const SToolResult check = Check();
  EXPECT_EQ(check.exitCode, 1) << check.standardError;
  const SToolResult run = Run();
  EXPECT_EQ(run.exitCode, 0) << run.standardError;
  EXPECT_NE(Trace().find(R"("event":"messagebox","caption":"エラー")"), std::string::npos);

  // An image file that is a folder fails the same way.
  fs::remove_all(app / "Characters" / "NoImage");
  Write("Characters/Folder/Scripts/a.func", ScriptShowing("ImageName=still.png"));
  fs::create_directories(app / "Characters" / "Folder" / "Images" / "still.png");
  EXPECT_EQ(Check().exitCode, 1);
  EXPECT_EQ(Run().exitCode, 0);
}

TEST_F(ToolHostileFixture, CursorNamesThatAreFoldersOrClimbOutGiveNoCursor) {
  std::string climb;
  for (int i = 0; i < 24; ++i) climb += "../";
  WriteStillCharacter(root, "Pointer", "app");
  Write("Characters/Pointer/config.ini",
        "NormalCursor=.\nDragCursor=..\nDisabledCursor=" + climb + "dev/zero\n");
  // Bounded: /dev/zero would never end, and a folder is no cursor file.
  const SToolResult check = Check();
  EXPECT_EQ(check.exitCode, 0) << check.standardError;
  const SToolResult run = Run();
  EXPECT_EQ(run.exitCode, 0) << run.standardError;
  EXPECT_EQ(Trace().find("messagebox"), std::string::npos);
}

TEST_F(ToolHostileFixture, StateFilesThatAreFoldersReadAsDefaults) {
  WriteStillCharacter(root, "Still", "app");
  fs::create_directories(app / "Params" / "app.cfg");
  fs::create_directories(app / "Params" / "Still.param");
  EXPECT_EQ(Check().exitCode, 0);
  const SToolResult run = Run();
  EXPECT_EQ(run.exitCode, 0) << run.standardError;
  EXPECT_NE(Trace().find(R"("event":"quit")"), std::string::npos);
  EXPECT_EQ(Trace().find("messagebox"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(app / "Params" / "Still.param"));  // kept: nothing of the user's is deleted
}

#ifndef _WIN32
TEST_F(ToolHostileFixture, ABackslashInAFolderNameNeverLeadsOutOfCharactersOrParams) {
  // On POSIX "\" is an ordinary character of a name; the engine's paths use it as the
  // separator, so such a folder cannot be the character it names.
  WriteStillCharacter(root, "Still", "app");
  Write("Characters/..\\..\\esc/Scripts/a.func", StandingCharacterScript());
  Write("Characters/..\\Params/Scripts/a.func", StandingCharacterScript());
  root.WriteBytes("esc/Scripts/a.func", StandingCharacterScript());  // where the name would lead
  const std::vector<std::string> before = TreeOutsideParams();
  const SToolResult run = Run();
  EXPECT_EQ(run.exitCode, 0) << run.standardError;
  EXPECT_NE(Trace().find(R"("event":"startup","characters":["Still"])"), std::string::npos) << Trace();
  EXPECT_EQ(TreeOutsideParams(), before);
  EXPECT_TRUE(fs::exists(app / "Params" / "Still.param"));
}
#endif

TEST_F(ToolHostileFixture, NumbersAtTheEndsOfIntInAppCfgSaturate) {
  WriteStillCharacter(root, "Still", "app");
  for (const char* settings :
       {"AlphaID=-2147483648\nScaleID=-2147483648\n",
        "MoveScopeLeft=-2147483648\nMoveScopeTop=-2147483648\nMoveScopeRight=2147483647\nMoveScopeBottom=2147483647\n",
        "MoveScopeLeft=2147483646\nMoveScopeTop=2147483646\nMoveScopeRight=2147483647\nMoveScopeBottom=2147483647\n",
        "AlphaID=2147483647\nScaleID=2147483647\nWndTopOrBottom=-2147483648\n"}) {
    Write("Params/app.cfg", settings);
    const SToolResult run = Run("10");
    EXPECT_EQ(run.exitCode, 0) << settings << run.standardError;
    EXPECT_EQ(Trace().find("messagebox"), std::string::npos) << settings;
  }
}

}  // namespace
