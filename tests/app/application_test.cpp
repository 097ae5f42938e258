#include <gtest/gtest.h>

#include "app/app_menus.h"
#include "app/application.h"
#include "app/program_state.h"
#include "app_fakes.h"
#include "window/command_ids.h"

namespace {

struct ApplicationFixture : ::testing::Test {
  FakeCharacterFolders folders;
  FakePlatform platform;
  FakeMainWindow window;
  SProgramState state;
};

TEST_F(ApplicationFixture, BuildWarmsUpTheSoundOutputDecodesTheLogoAndLoadsTheCharacters) {
  folders.Add("one");
  CApplication app(platform, window, state, SRect{0, 0, 800, 600}, {u"one"}, 1);
  app.Build();
  EXPECT_GE(platform.audio.opens, 1);  // refused here, which must not stop the build
  ASSERT_NE(app.Logo(), nullptr);
  EXPECT_EQ(app.Logo()->Width(), 185);
  EXPECT_EQ(app.Logo()->Height(), 40);
  // Until the user sets one, the move range is the desktop.
  EXPECT_EQ(app.MoveRange().left, 0);
  EXPECT_EQ(app.MoveRange().bottom, 600);
  ASSERT_EQ(app.Characters().Count(), 1);
  EXPECT_TRUE(app.Characters().ValueAt(0)->Loaded());
  EXPECT_NE(app.WorkSurfaces(), nullptr);
  EXPECT_FALSE(state.errorFlag.load());
}

TEST_F(ApplicationFixture, ACharacterThatFailsToLoadStopsTheBuildWithItsMessage) {
  folders.Add("good");
  folders.Add("bad");
  folders.Add("after");
  std::filesystem::remove_all(folders.Folder().Native() / "Characters" / "bad" / "Scripts");
  CApplication app(platform, window, state, SRect{0, 0, 800, 600}, {u"good", u"bad", u"after"}, 3);
  app.Build();
  EXPECT_TRUE(state.errorFlag.load());
  EXPECT_EQ(app.Characters().Count(), 2);  // "after" is never loaded
  ASSERT_FALSE(window.posted.empty());
  EXPECT_EQ(window.posted.back().first, kQuitRequestMessage);
}

TEST_F(ApplicationFixture, CommandsItDoesNotCarryOutAreNotReportedAsDone) {
  CApplication app(platform, window, state, SRect{0, 0, 800, 600}, {u"one"}, 1);
  EXPECT_TRUE(app.HandleCommand(kCmdExit));
  EXPECT_TRUE(app.HandleCommand(kCmdCharacterFirst));  // no character created yet: nothing to toggle
  EXPECT_FALSE(app.HandleCommand(kCmdQuitNow));          // the main window's own command
  EXPECT_FALSE(app.HandleCommand(kCmdMoveRange));        // not yet carried out by the application
  EXPECT_FALSE(app.HandleCommand(12345));
}

TEST_F(ApplicationFixture, ScaleAndOpacityChecksMoveInEveryMenu) {
  folders.Add("one");
  folders.Add("two");
  CMenuModel system = BuildSystemMenu();
  CMenuModel exit = BuildExitMenu();
  CApplication app(platform, window, state, SRect{0, 0, 800, 600}, {u"one", u"two"}, 2);
  app.SetMenus(&system, &exit);
  app.Build();
  EXPECT_TRUE(system.FindById(kCmdScaleFirst + 6)->checked);  // 100 % from the start
  app.HandleCommand(kCmdScaleFirst + 8);                        // 50 %
  EXPECT_FALSE(system.FindById(kCmdScaleFirst + 6)->checked);
  EXPECT_TRUE(system.FindById(kCmdScaleFirst + 8)->checked);
  for (int i = 0; i < app.Characters().Count(); ++i) {
    EXPECT_TRUE(app.Characters().ValueAt(i)->Menu().FindById(kCmdScaleFirst + 8)->checked);
  }
  EXPECT_DOUBLE_EQ(app.ScaleFactor(), 0.5);
  // The character entries sit above the fixed items, the last created first.
  EXPECT_EQ(system.items[0].id, kCmdCharacterFirst + 1);
  EXPECT_EQ(system.items[1].id, kCmdCharacterFirst);
}

}  // namespace
