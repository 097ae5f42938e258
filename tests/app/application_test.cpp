#include <gtest/gtest.h>

#include <algorithm>

#include "app/app_menus.h"
#include "app/application.h"
#include "app/desktop_area.h"
#include "app/desktop_area_layout.h"
#include "app/frame_thread.h"
#include "app/program_state.h"
#include "app_fakes.h"
#include "platform/headless/layered_windows.h"
#include "window/command_ids.h"

namespace {

struct ApplicationFixture : ::testing::Test {
  FakeCharacterFolders folders;
  FakePlatform platform;
  FakeMainWindow window;
  SProgramState state;

  // The trace lines that contain `part`, without their frame.
  std::vector<std::string> TraceLinesWith(const std::string& part) {
    std::vector<std::string> found;
    for (const std::string& line : platform.Headless().TraceLines()) {
      if (line.find(part) != std::string::npos) found.push_back(line.substr(line.find(',') + 1));
    }
    return found;
  }
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
  EXPECT_TRUE(app.HandleCommand(kCmdMoveRange));         // before the build there is no window to show
  EXPECT_FALSE(app.HandleCommand(12345));
}

TEST_F(ApplicationFixture, ScaleChosenInOneCharactersMenuChangesEveryMenuAndEveryCharacter) {
  folders.Add("one");
  folders.Add("two");
  CMenuModel system = BuildSystemMenu();
  CMenuModel exit = BuildExitMenu();
  CApplication app(platform, window, state, SRect{0, 0, 800, 600}, {u"one", u"two"}, 2);
  app.SetMenus(&system, &exit);
  app.Build();
  EXPECT_TRUE(system.FindById(kCmdScaleFirst + 6)->checked);  // 100 % from the start
  CCharacter& second = *app.Characters().ValueAt(1);
  ASSERT_TRUE(platform.Headless().Layered().DeliverCommand(*second.Window(), kCmdScaleFirst + 8));  // 50 %
  EXPECT_FALSE(system.FindById(kCmdScaleFirst + 6)->checked);
  EXPECT_TRUE(system.FindById(kCmdScaleFirst + 8)->checked);
  EXPECT_DOUBLE_EQ(app.ScaleFactor(), 0.5);
  for (CCharacter* character : app.Characters().Values()) {
    EXPECT_TRUE(character->Menu().FindById(kCmdScaleFirst + 8)->checked);
    EXPECT_FALSE(character->Menu().FindById(kCmdScaleFirst + 6)->checked);
    character->Update();
    EXPECT_DOUBLE_EQ(character->Mover().GetScale(), 0.5);
  }
  // The character entries sit above the fixed items, the last created first.
  EXPECT_EQ(system.items[0].id, kCmdCharacterFirst + 1);
  EXPECT_EQ(system.items[1].id, kCmdCharacterFirst);
  // Choosing the same scale again changes nothing, so only one change is traced.
  app.HandleCommand(kCmdScaleFirst + 8);
  EXPECT_EQ(TraceLinesWith(R"("event":"setting")"),
            std::vector<std::string>{R"("event":"setting","key":"ScaleID","value":32784})"});
}

TEST_F(ApplicationFixture, SoundLowQualityAndTheMouseAreSetForEveryCharacterAndEveryMenu) {
  folders.Add("one");
  folders.Add("two");
  CMenuModel system = BuildSystemMenu();
  CMenuModel exit = BuildExitMenu();
  CApplication app(platform, window, state, SRect{0, 0, 800, 600}, {u"one", u"two"}, 2);
  app.SetMenus(&system, &exit);
  app.Build();
  app.HandleCommand(kCmdAllSoundOff);
  app.HandleCommand(kCmdLowQuality);
  app.HandleCommand(kCmdMouseDisabled);
  for (CCharacter* character : app.Characters().Values()) {
    EXPECT_TRUE(character->Muted());
    EXPECT_TRUE(character->Menu().FindById(kCmdToggleMute)->checked);
    EXPECT_TRUE(character->Menu().FindById(kCmdLowQuality)->checked);
    EXPECT_TRUE(character->Menu().FindById(kCmdMouseDisabled)->checked);
  }
  EXPECT_TRUE(system.FindById(kCmdLowQuality)->checked);
  EXPECT_TRUE(system.FindById(kCmdMouseDisabled)->checked);
  // The two sound entries carry no check mark.
  EXPECT_FALSE(system.FindById(kCmdAllSoundOff)->checked);
  app.HandleCommand(kCmdAllSoundOn);
  app.HandleCommand(kCmdLowQuality);
  app.HandleCommand(kCmdMouseDisabled);
  for (CCharacter* character : app.Characters().Values()) {
    EXPECT_FALSE(character->Muted());
    EXPECT_FALSE(character->Menu().FindById(kCmdLowQuality)->checked);
    EXPECT_FALSE(character->Menu().FindById(kCmdMouseDisabled)->checked);
  }
  EXPECT_EQ(TraceLinesWith(R"("event":"setting")"),
            (std::vector<std::string>{R"("event":"setting","key":"LowQuality","value":1})",
                                      R"("event":"setting","key":"UnMouse","value":0})",
                                      R"("event":"setting","key":"LowQuality","value":0})",
                                      R"("event":"setting","key":"UnMouse","value":1})"}));
}

TEST_F(ApplicationFixture, LowQualitySwitchesTheScalerAndOpacityGoesIntoTheConstantAlpha) {
  folders.AddStill("still");
  CApplication app(platform, window, state, SRect{0, 0, 800, 600}, {u"still"}, 1);
  app.Build();
  CCharacter& character = *app.Characters().ValueAt(0);
  const CHeadlessLayeredWindows& layered = platform.Headless().Layered();
  auto pixels = [&] {
    character.Update();
    const CPixelSurface surface = layered.Pixels(*character.Window());
    return std::vector<uint32_t>(surface.Pixels(), surface.Pixels() + surface.Width() * surface.Height());
  };
  auto blackOrWhite = [](uint32_t pixel) { return pixel == 0xFF000000u || pixel == 0xFFFFFFFFu; };
  app.ApplyScale(kCmdScaleFirst + 8);  // 50 %: the checkerboard's 2 × 2 blocks are averaged to grey
  std::vector<uint32_t> shown = pixels();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_TRUE(std::none_of(shown.begin(), shown.end(), blackOrWhite));
  app.SetLowQuality(true);  // nearest: one pixel of each block
  shown = pixels();
  EXPECT_TRUE(std::all_of(shown.begin(), shown.end(), blackOrWhite));

  // This system multiplies the window by a constant alpha and leaves the pixels opaque;
  // the pixel path is the window layer's (tested there).
  EXPECT_FALSE(app.OpacityInPixels());
  app.ApplyOpacity(kCmdOpacityFirst + 5);  // 50 %
  for (uint32_t pixel : pixels()) EXPECT_EQ(pixel >> 24, 0xFFu);
  EXPECT_EQ(layered.State(*character.Window()).constantAlpha, 127);
}

// Only Windows 6.0 and 6.1 (Vista, 7) compose the opacity into the pixels; Windows 8
// and later report 6.2 to programs without a compatibility manifest, and other systems
// report no Windows version at all.
TEST(OpacityInPixelsRule, FollowsTheWindowsVersion) {
  EXPECT_FALSE(OpacityInPixelsFor(std::nullopt));
  EXPECT_FALSE(OpacityInPixelsFor(SOsVersion{5, 1}));
  EXPECT_TRUE(OpacityInPixelsFor(SOsVersion{6, 0}));
  EXPECT_TRUE(OpacityInPixelsFor(SOsVersion{6, 1}));
  EXPECT_FALSE(OpacityInPixelsFor(SOsVersion{6, 2}));
  EXPECT_FALSE(OpacityInPixelsFor(SOsVersion{6, 3}));
  EXPECT_TRUE(OpacityInPixelsFor(SOsVersion{10, 0}));
}

TEST_F(ApplicationFixture, AlwaysOnTopMovesTheMainWindowBetweenBandsAndChecksEveryMenu) {
  folders.Add("one");
  folders.Add("two");
  CMenuModel system = BuildSystemMenu();
  CMenuModel exit = BuildExitMenu();
  CApplication app(platform, window, state, SRect{0, 0, 800, 600}, {u"one", u"two"}, 2);
  app.SetMenus(&system, &exit);
  app.Build();
  EXPECT_FALSE(window.topmost);
  ASSERT_TRUE(platform.Headless().Layered().DeliverCommand(*app.Characters().ValueAt(0)->Window(), kCmdAlwaysOnTop));
  EXPECT_TRUE(app.AlwaysOnTop());
  EXPECT_TRUE(window.topmost);
  EXPECT_TRUE(system.FindById(kCmdAlwaysOnTop)->checked);
  for (CCharacter* character : app.Characters().Values()) {
    EXPECT_TRUE(character->Menu().FindById(kCmdAlwaysOnTop)->checked);
  }
  app.HandleCommand(kCmdAlwaysOnTop);
  EXPECT_FALSE(window.topmost);
  EXPECT_FALSE(system.FindById(kCmdAlwaysOnTop)->checked);
  EXPECT_FALSE(app.Characters().ValueAt(1)->Menu().FindById(kCmdAlwaysOnTop)->checked);
  EXPECT_EQ(TraceLinesWith(R"("key":"WndTopOrBottom")").size(), 2u);
}

TEST_F(ApplicationFixture, AConfirmedMoveRangeReachesEveryMoverOnTheNextFrame) {
  folders.Add("one");
  folders.Add("two");
  CApplication app(platform, window, state, SRect{0, 0, 800, 600}, {u"one", u"two"}, 2);
  app.Build();
  ASSERT_TRUE(app.HandleCommand(kCmdMoveRange));
  CDesktopArea& area = *app.DesktopArea();
  ASSERT_TRUE(area.Visible());
  EXPECT_EQ(area.Rect().right, 800);  // shown on the move range, the whole desktop
  area.OnSizing({400, 0, 800, 600});
  area.OnMoving({300, 100, 700, 700});
  area.OnButton(AREA_BUTTON_CONFIRM);
  const SRect range = app.MoveRange();
  EXPECT_EQ((std::vector<int>{range.left, range.top, range.right, range.bottom}), (std::vector<int>{300, 0, 700, 600}));
  // The movers are the frame thread's: they take the range at the start of its next frame.
  EXPECT_EQ(app.Characters().ValueAt(0)->Mover().MoveRange().left, 0);
  FakeClock clock;
  state.framesEnabled = true;
  CFrameThread frames(state, app, clock, platform.Ui());
  frames.Begin();
  frames.Step();
  frames.End();
  for (CCharacter* character : app.Characters().Values()) {
    const CCharaMover& mover = character->Mover();
    EXPECT_EQ(mover.MoveRange().left, 300);
    EXPECT_EQ(mover.MoveRange().right, 700);
    EXPECT_EQ(mover.EventLeft(), 300);
    EXPECT_GE(mover.GetX(), 300 - mover.DisplayedWidth());
    EXPECT_LE(mover.GetX(), 700);
  }
  EXPECT_EQ(TraceLinesWith(R"("event":"setting")"),
            (std::vector<std::string>{R"("event":"setting","key":"MoveScopeLeft","value":300})",
                                      R"("event":"setting","key":"MoveScopeRight","value":700})"}));
}

}  // namespace
