// app.cfg: the keys read leniently, the unset move range, and the file written in key
// order; the application takes what the file says.
#include <gtest/gtest.h>

#include "app/app_menus.h"
#include "app/application.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "app_fakes.h"
#include "support/application_folder.h"
#include "window/command_ids.h"

namespace {

const SRect kDesktop{0, 0, 1280, 720};

SAppSettings Parse(const std::string& text) {
  SAppSettings settings;
  ParseAppSettings(text, kDesktop, settings);
  return settings;
}

TEST(SettingsFile, KeysAreReadLenientlyAndAbsentOnesKeepTheirDefaults) {
  EXPECT_EQ(LeadingInteger(u"12abc"), 12);
  EXPECT_EQ(LeadingInteger(u"-40\n"), -40);
  EXPECT_EQ(LeadingInteger(u"abc"), 0);
  EXPECT_EQ(LeadingInteger(u"99999999999999999999"), 2147483647);

  const SAppSettings defaults = Parse("");
  EXPECT_EQ(defaults.scaleId, 32782);
  EXPECT_TRUE(defaults.mouseEnabled);
  EXPECT_EQ(defaults.moveRange.right, 1280);  // not set: the desktop

  EXPECT_FALSE(Parse("UnMouse=0\n").mouseEnabled);
  EXPECT_TRUE(Parse("UnMouse=1\n").mouseEnabled);
  EXPECT_EQ(Parse("WndTopOrBottom=1\n").windowLevel, 1);
  EXPECT_TRUE(Parse("\xEF\xBB\xBFLowQuality=1\r\n").lowQuality);

  const SAppSettings quarter = Parse("ScaleID=32785\n");
  EXPECT_EQ(quarter.scaleId, 32785);
  EXPECT_DOUBLE_EQ(quarter.scaleFactor, 0.25);
  const SAppSettings unknown = Parse("ScaleID=7\n");  // an id outside the table keeps the factor
  EXPECT_EQ(unknown.scaleId, 7);
  EXPECT_DOUBLE_EQ(unknown.scaleFactor, 1.0);
  EXPECT_EQ(Parse("ScaleID\nAlphaID=32790\n").scaleId, 32782);  // no "=": not the key
  EXPECT_EQ(Parse("ScaleID=32778\nScaleID=32784\n").scaleId, 32778);  // the first line wins
}

TEST(SettingsFile, TheMoveRangeIsTheDesktopUnlessAllFourEdgesAreSetAndLeaveRoom) {
  const SAppSettings set = Parse("MoveScopeLeft=10\nMoveScopeTop=20\nMoveScopeRight=600\nMoveScopeBottom=400\n");
  EXPECT_EQ(set.moveRange.left, 10);
  EXPECT_EQ(set.moveRange.bottom, 400);
  const SAppSettings unset = Parse("MoveScopeLeft=-100\nMoveScopeTop=20\nMoveScopeRight=600\nMoveScopeBottom=400\n");
  EXPECT_EQ(unset.moveRange.left, 0);
  EXPECT_EQ(unset.moveRange.right, 1280);
  const SAppSettings empty = Parse("MoveScopeLeft=600\nMoveScopeTop=20\nMoveScopeRight=600\nMoveScopeBottom=400\n");
  EXPECT_EQ(empty.moveRange.right, 1280);
}

TEST(SettingsFile, EdgesFarBeyondAnyScreenAreCutSoSizesStayWithinInt) {
  const SAppSettings huge = Parse(
      "MoveScopeLeft=-2147483648\nMoveScopeTop=-99999999999\nMoveScopeRight=2147483647\nMoveScopeBottom=2147483647\n");
  EXPECT_EQ(huge.moveRange.left, -(1 << 24));
  EXPECT_EQ(huge.moveRange.top, -(1 << 24));
  EXPECT_EQ(huge.moveRange.right, 1 << 24);
  EXPECT_EQ(huge.moveRange.Width(), 1 << 25);
  // A range both of whose edges are cut to the same bound has no room: the desktop.
  const SAppSettings beyond = Parse(
      "MoveScopeLeft=2147483646\nMoveScopeTop=0\nMoveScopeRight=2147483647\nMoveScopeBottom=400\n");
  EXPECT_EQ(beyond.moveRange.right, 1280);
  // Rectangles from anywhere saturate instead of overflowing.
  EXPECT_EQ((SRect{-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647}.Width()), 2147483647);
  EXPECT_EQ((SRect{2147483647, 2147483647, -2147483647 - 1, -2147483647 - 1}.Height()), -2147483647 - 1);
}

TEST(SettingsFile, TheFileIsWrittenInKeyOrderAndReadsBackTheSame) {
  CTempFolder folder;
  const std::u16string params = folder.Engine(u"Params") + u"\\";
  SAppSettings settings;
  settings.scaleId = 32785;
  settings.opacityId = 32790;
  settings.lowQuality = true;
  settings.mouseEnabled = false;
  settings.windowLevel = 1;
  settings.moveRange = {5, 6, 700, 500};
  ASSERT_TRUE(SaveAppSettings(params, settings));
  EXPECT_EQ(folder.ReadBytes("Params/app.cfg"),
            "\xEF\xBB\xBFLowQuality=1\nMoveScopeLeft=5\nMoveScopeTop=6\nMoveScopeRight=700\nMoveScopeBottom=500\n"
            "ScaleID=32785\nAlphaID=32790\nUnMouse=0\nWndTopOrBottom=1\n");
  SAppSettings again;
  LoadAppSettings(params, kDesktop, again);
  EXPECT_EQ(again.scaleId, 32785);
  EXPECT_DOUBLE_EQ(again.scaleFactor, 0.25);
  EXPECT_EQ(again.opacityId, 32790);
  EXPECT_TRUE(again.lowQuality);
  EXPECT_FALSE(again.mouseEnabled);
  EXPECT_EQ(again.windowLevel, 1);
  EXPECT_EQ(again.moveRange.right, 700);
}

TEST(SettingsFile, TheApplicationStartsWithTheSavedSettingsAndSavesThemAgain) {
  FakeCharacterFolders folders;
  folders.Add("one");
  folders.Folder().WriteBytes("Params/app.cfg", "ScaleID=32784\nUnMouse=0\nWndTopOrBottom=1\n");
  FakePlatform platform;
  FakeMainWindow window;
  SProgramState state;
  CMenuModel system = BuildSystemMenu();
  CMenuModel exit = BuildExitMenu();
  {
    CApplication app(platform, window, state, SRect{0, 0, 800, 600}, {u"one"}, 1);
    app.SetMenus(&system, &exit);
    app.Build();
    EXPECT_DOUBLE_EQ(app.ScaleFactor(), 0.5);
    EXPECT_TRUE(system.FindById(kCmdScaleFirst + 8)->checked);
    EXPECT_FALSE(app.MouseEnabled());
    EXPECT_TRUE(system.FindById(kCmdMouseDisabled)->checked);
    // Always on top from the start: the main window is topmost, every menu checked.
    EXPECT_TRUE(app.AlwaysOnTop());
    EXPECT_TRUE(window.topmost);
    EXPECT_TRUE(system.FindById(kCmdAlwaysOnTop)->checked);
    EXPECT_TRUE(app.Characters().ValueAt(0)->Menu().FindById(kCmdAlwaysOnTop)->checked);
    app.ApplyOpacity(kCmdOpacityFirst + 2);
  }
  const std::string saved = folders.Folder().ReadBytes("Params/app.cfg");
  EXPECT_NE(saved.find("ScaleID=32784\n"), std::string::npos);
  EXPECT_NE(saved.find("AlphaID=32789\n"), std::string::npos);
  EXPECT_NE(saved.find("UnMouse=0\n"), std::string::npos);
  EXPECT_NE(saved.find("WndTopOrBottom=1\n"), std::string::npos);
  EXPECT_NE(saved.find("MoveScopeRight=800\n"), std::string::npos);
}

TEST(SettingsFile, AQuarterScaleTheMouseOnAndAnUnsetRangeStartAsTheFileSaysAndAreSavedSo) {
  FakeCharacterFolders folders;
  folders.Add("one");
  folders.Folder().WriteBytes("Params/app.cfg",
                              "UnMouse=1\nScaleID=32785\nMoveScopeLeft=-100\nMoveScopeTop=10\n"
                              "MoveScopeRight=500\nMoveScopeBottom=400\nWndTopOrBottom=0\n");
  FakePlatform platform;
  FakeMainWindow window;
  SProgramState state;
  CMenuModel system = BuildSystemMenu();
  CMenuModel exit = BuildExitMenu();
  {
    CApplication app(platform, window, state, SRect{0, 0, 800, 600}, {u"one"}, 1);
    app.SetMenus(&system, &exit);
    app.Build();
    EXPECT_TRUE(app.MouseEnabled());
    EXPECT_FALSE(system.FindById(kCmdMouseDisabled)->checked);
    EXPECT_FALSE(window.topmost);
    EXPECT_FALSE(system.FindById(kCmdAlwaysOnTop)->checked);
    // 25 % has no entry: nothing is checked, yet every character takes the factor.
    EXPECT_DOUBLE_EQ(app.ScaleFactor(), 0.25);
    CCharacter& character = *app.Characters().ValueAt(0);
    for (int id = kCmdScaleFirst; id <= kCmdScaleLast; ++id) {
      const CMenuItem* entries[] = {system.FindById(id), character.Menu().FindById(id)};
      for (const CMenuItem* item : entries) EXPECT_TRUE(item == nullptr || !item->checked) << id;
    }
    character.Update();
    EXPECT_DOUBLE_EQ(character.Mover().GetScale(), 0.25);
    // One edge at -100: the whole desktop.
    EXPECT_EQ(app.MoveRange().top, 0);
    EXPECT_EQ(app.MoveRange().right, 800);
  }
  const std::string saved = folders.Folder().ReadBytes("Params/app.cfg");
  EXPECT_NE(saved.find("ScaleID=32785\n"), std::string::npos);
  EXPECT_NE(saved.find("UnMouse=1\n"), std::string::npos);
  EXPECT_NE(saved.find("MoveScopeLeft=0\nMoveScopeTop=0\nMoveScopeRight=800\nMoveScopeBottom=600\n"), std::string::npos);
  EXPECT_NE(saved.find("WndTopOrBottom=0\n"), std::string::npos);
}

}  // namespace
