// Loading a character folder: config.ini as read from disk, the script walk, and the
// loader's messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "application_folder_scope.h"
#include "temp_folder.h"
#include "chardef/chara_loader.h"
#include "script/script_error.h"
#include "support/file_system.h"

namespace {

constexpr SRect kMoveArea{0, 0, 1280, 720};

// A temporary application folder that is made the program's folder for the test.
class CharaLoaderTest : public ::testing::Test {
 protected:

  void Write(const std::string& relative, std::string_view bytes) { app_.WriteBytes("Characters/" + relative, bytes); }

  // The message of the EScriptError ReadScripts throws, or "" when it succeeds.
  std::u16string ScriptError(const std::u16string& name) {
    try {
      CCharaLoader(name, numbering_).ReadScripts();
    } catch (const EScriptError& error) {
      return error.Message();
    }
    return {};
  }

  CTempFolder app_;
  CApplicationFolderScope appFolder_{app_.Engine() + u'\\'};
  SCharaNumbering numbering_;

};

constexpr std::string_view kOrderBlock = "<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=a\n</SET_CONFIG>\n</FUNC_ORDER_REG>\n";

TEST_F(CharaLoaderTest, ConfigLinesAreNormalised) {
  Write("Blossom/config.ini",
        "\xEF\xBB\xBF"
        "CharaName = Ha na\r\n"
        "AppName=\"My  App\"\r\n"
        "Version=1.0##comment\n"
        "Copyright=a#b\n"
        "Url=x\\#y\n"
        "CharaName=Second\n"
        "\n"
        "LineHeight = 300\n");
  CCharaInfo info(u"Blossom", kMoveArea);
  CCharaLoader(u"Blossom", numbering_).LoadMetadata(info);
  EXPECT_EQ(info.displayName, u"Hana");
  EXPECT_EQ(info.appName, u"\"My  App\"");
  EXPECT_EQ(info.version, u"1.0");
  EXPECT_EQ(info.copyright, u"ab");
  EXPECT_EQ(info.url, u"x#y");
  EXPECT_EQ(info.lineHeight, 300);
  EXPECT_FALSE(info.autoLineHeight);
}

TEST_F(CharaLoaderTest, ScriptMessages) {
  // No Scripts folder, only other files, only lines that normalise to nothing.
  Write("NoFolder/config.ini", "CharaName=x\n");
  Write("OtherFiles/Scripts/a.txt", kOrderBlock);
  Write("Blank/Scripts/a.func", "## only a comment\n  \t\n\n");
  // Lines, but no function: only a motion block, or an order block left open.
  Write("MotionOnly/Scripts/a.func", "<FUNC_MOTION_REG>\n<SET_CONFIG>\nFuncName=m\n</SET_CONFIG>\n</FUNC_MOTION_REG>\n");
  Write("Unclosed/Scripts/a.func", "<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=a\n</SET_CONFIG>\n");
  Write("Good/Scripts/a.func", kOrderBlock);

  EXPECT_EQ(ScriptError(u"NoFolder"), u"NoFolderのスクリプト命令が存在しません。");
  EXPECT_EQ(ScriptError(u"OtherFiles"), u"OtherFilesのスクリプト命令が存在しません。");
  EXPECT_EQ(ScriptError(u"Blank"), u"Blankのスクリプト命令が存在しません。");
  EXPECT_EQ(ScriptError(u"MotionOnly"), u"MotionOnlyのスクリプトに不正な命令が設定されています。");
  EXPECT_EQ(ScriptError(u"Unclosed"), u"Unclosedのスクリプトに不正な命令が設定されています。");
  EXPECT_EQ(ScriptError(u"Good"), u"");
}

TEST_F(CharaLoaderTest, BlocksSpanFilesAndKeepTheirOrigin) {
  // Files join into one text, so a block may open in one file and close in the next;
  // line numbers count the lines that normalise to nothing.
  Write("Split/Scripts/1.func", "\xEF\xBB\xBF## header\r\n\r\n<FUNC_ORDER_REG>\r\n<SET_CONFIG>\r\nFuncName=a\r\n");
  Write("Split/Scripts/2.func", "</SET_CONFIG>\n</FUNC_ORDER_REG>\n\n  <FUNC_MOTION_REG>\n</FUNC_MOTION_REG>");
  const CScriptFuncMaps maps = CCharaLoader(u"Split", numbering_).ReadScripts();
  ASSERT_EQ(maps.Map(ORDER_REG).Count(), 1);
  EXPECT_EQ(maps.Map(ORDER_REG).KeyAt(0), u"a");
  EXPECT_EQ(maps.Map(ORDER_REG).ValueAt(0)->Origin().file, u"Scripts\\1.func");
  EXPECT_EQ(maps.Map(ORDER_REG).ValueAt(0)->Origin().line, 3);
  ASSERT_EQ(maps.Map(MOTION_REG).Count(), 1);
  EXPECT_EQ(maps.Map(MOTION_REG).ValueAt(0)->Origin().file, u"Scripts\\2.func");
  EXPECT_EQ(maps.Map(MOTION_REG).ValueAt(0)->Origin().line, 4);
}

TEST_F(CharaLoaderTest, ConfigIsReadFromTheCurrentFolderFirst) {
  Write("Twin/config.ini", "CharaName=FromApplicationFolder\n");
  CTempFolder current;
  current.WriteBytes("Characters/Twin/config.ini", "CharaName=FromCurrentFolder\n");
  const std::filesystem::path saved = std::filesystem::current_path();
  std::filesystem::current_path(current.Native());
  CCharaInfo info(u"Twin", kMoveArea);
  CCharaLoader(u"Twin", numbering_).LoadMetadata(info);
  std::filesystem::current_path(saved);
  EXPECT_EQ(info.displayName, u"FromCurrentFolder");
}

TEST_F(CharaLoaderTest, LinkedFoldersAreNotFollowed) {
  Write("Loop/Scripts/a.func", kOrderBlock);
  std::error_code error;
  std::filesystem::create_directory_symlink(app_.Native() / "Characters/Loop/Scripts",
                                            app_.Native() / "Characters/Loop/Scripts/again", error);
  if (error) GTEST_SKIP() << "no symbolic links here";
  CScriptText text;
  CCharaFileAccess(u"Loop").ReadScripts(app_.Engine(u"Characters\\Loop\\Scripts"), text);
  EXPECT_EQ(text.Count(), 5);
}

// The checked-in character "Nested" spreads its scripts over folders; each file
// declares its own function and one named "shared" that only the first file keeps.
TEST(CharaLoaderNested, ReadsEveryScriptFileInWalkOrder) {
  SCharaNumbering numbering;
  const CCharaLoader loader(u"Nested", numbering);
  CCharaInfo info(u"Nested", kMoveArea);
  std::optional<CScriptFuncMaps> read;
  {
    const CApplicationFolderScope data(FromNativePath(ZV_TEST_DATA_DIR) + u'\\');  // holds characters/ in lower case
    loader.LoadMetadata(info);
    read.emplace(loader.ReadScripts());
  }
  const CScriptFuncMaps& maps = *read;

  EXPECT_EQ(info.displayName, u"NestedSample");
  EXPECT_EQ(info.groupNumber, 100);
  const CScriptParamMap& orders = maps.Map(ORDER_REG);
  std::vector<std::u16string> names;
  for (int i = 0; i < orders.Count(); ++i) names.push_back(orders.KeyAt(i) + u"@" + orders.ValueAt(i)->Origin().file);
  const std::vector<std::u16string> expected = {
      u"first@Scripts\\A.FUNC",           u"shared@Scripts\\A.FUNC",    u"second@Scripts\\b.func",
      u"third@Scripts\\sub\\c.func",      u"fourth@Scripts\\sub\\deeper\\d.Func",
      u"fifth@Scripts\\Sub2\\e.func",
  };
  EXPECT_EQ(names, expected);
  EXPECT_EQ(orders.Find(u"shared")->ValueOf(u"From"), u"A.FUNC");
}

}  // namespace
