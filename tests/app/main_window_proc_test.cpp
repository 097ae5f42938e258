#include <gtest/gtest.h>

#include "app/application.h"
#include "window/command_ids.h"
#include "app/main_window_proc.h"
#include "app/program_state.h"
#include "app_fakes.h"
#include "support/utf.h"
#include "script/system_status.h"

namespace {

struct MainWindowProcFixture : ::testing::Test {
  SProgramState state;
  FakeUi ui;
  FakeMainWindow window;
  FakeSystemInfo systemInfo;
  CMainWindowProc proc{state, ui, systemInfo};
  FakeCharacterFolders folders;
  FakePlatform platform;
  CApplication app{platform, window, state, SRect{0, 0, 800, 600}, {u"alpha", u"beta", u"gamma"}, 2};

  CCharacter* AddCharacter(const std::string& name) {
    folders.Add(name);
    CCharacter* character = app.CreateCharacter(FromUtf8(name));
    character->Load();
    return character;
  }

  void SetUp() override {
    proc.OnCreate(window);
    proc.SetApplication(&app);
  }
};

TEST_F(MainWindowProcFixture, CreationStartsTheStatusTimerAndDestructionQuits) {
  ASSERT_EQ(window.timers.size(), 1u);
  EXPECT_EQ(window.timers[0], std::make_pair(kStatusTimerId, 500u));
  proc.OnDestroy();
  EXPECT_EQ(window.stoppedTimers, std::vector<int>{kStatusTimerId});
  EXPECT_EQ(ui.quitCodes, std::vector<int>{0});
}

TEST_F(MainWindowProcFixture, CreationAndTheStatusTimerRefreshTheSystemStatus) {
  EXPECT_EQ(systemInfo.refreshes, 1);
  EXPECT_EQ(SystemStatus().Year(), 2031);
  systemInfo.time.year = 2032;
  proc.OnTimer(kStatusTimerId);
  EXPECT_EQ(systemInfo.refreshes, 2);
  EXPECT_EQ(SystemStatus().Year(), 2032);
  proc.OnTimer(kStatusTimerId + 1);
  EXPECT_EQ(systemInfo.refreshes, 2);
}

TEST_F(MainWindowProcFixture, TrayClicksBringForwardOrOpenTheRightMenu) {
  proc.OnAppMessage(kTrayMessage, kTrayLeftButtonDown);
  EXPECT_EQ(window.broughtToFront, 1);
  EXPECT_TRUE(ui.trackedMenus.empty());

  // At the pointer as it is now, not where the last frame saw it.
  state.cursorX = 10;
  state.cursorY = 20;
  ui.cursor = {300, 200};
  proc.OnAppMessage(kTrayMessage, kTrayRightButtonDown);
  ASSERT_EQ(ui.trackedMenus.size(), 1u);
  EXPECT_EQ(ui.trackedMenus[0], &proc.SystemMenu());
  EXPECT_EQ(ui.trackedAt.x, 300);
  EXPECT_EQ(ui.trackedAt.y, 200);

  proc.OnCommand(kCmdExit);
  proc.OnAppMessage(kTrayMessage, kTrayRightButtonDown);
  ASSERT_EQ(ui.trackedMenus.size(), 2u);
  EXPECT_EQ(ui.trackedMenus[1], &proc.ExitMenu());
  ASSERT_EQ(proc.ExitMenu().items.size(), 1u);
  EXPECT_EQ(proc.ExitMenu().items[0].id, kCmdQuitNow);
  EXPECT_EQ(proc.ExitMenu().items[0].text, u"終了");
}

TEST_F(MainWindowProcFixture, QuitRequestAndQuitNowDestroyTheWindow) {
  proc.OnAppMessage(kQuitRequestMessage, 0);
  EXPECT_EQ(window.destroyed, 1);
  proc.OnCommand(kCmdQuitNow);
  EXPECT_EQ(window.destroyed, 2);
}

TEST_F(MainWindowProcFixture, CharacterEntriesToggleOnlyCreatedCharactersInDiscoveryOrder) {
  CCharacter* beta = AddCharacter("beta");  // creation order does not decide the entry id
  CCharacter* alpha = AddCharacter("alpha");
  proc.OnCommand(kCmdCharacterFirst + 1);
  EXPECT_TRUE(beta->Hidden());
  EXPECT_FALSE(alpha->Hidden());
  proc.OnCommand(kCmdCharacterFirst);
  EXPECT_TRUE(alpha->Hidden());
  proc.OnCommand(kCmdCharacterFirst + 2);  // "gamma" was discovered but is beyond the count
  proc.OnCommand(kCmdCharacterLast);
  EXPECT_TRUE(alpha->Hidden() && beta->Hidden());
  proc.OnCommand(kCmdCharacterFirst + 1);
  EXPECT_FALSE(beta->Hidden());
}

TEST_F(MainWindowProcFixture, ExitEndsEveryCharacter) {
  CCharacter* alpha = AddCharacter("alpha");
  proc.OnCommand(kCmdExit);
  EXPECT_TRUE(alpha->Ending());
  EXPECT_TRUE(app.IsExiting());
  EXPECT_EQ(window.destroyed, 0);
}

TEST(AppMenus, SystemMenuHoldsTheSettingsAndTheExitEntry) {
  SProgramState state;
  FakeUi ui;
  FakeSystemInfo systemInfo;
  CMainWindowProc proc{state, ui, systemInfo};
  const CMenuModel& menu = proc.SystemMenu();
  for (int id = kCmdScaleFirst + 2; id <= kCmdScaleLast - 1; ++id) EXPECT_NE(menu.FindById(id), nullptr) << id;
  EXPECT_EQ(menu.FindById(kCmdScaleFirst), nullptr);  // 300 % is accepted but never offered
  EXPECT_EQ(menu.FindById(kCmdScaleLast), nullptr);
  for (int id = kCmdOpacityFirst; id <= kCmdOpacityLast; ++id) EXPECT_NE(menu.FindById(id), nullptr) << id;
  const int fixed[] = {kCmdAllSoundOn, kCmdAllSoundOff, kCmdLowQuality, kCmdAlwaysOnTop,
                       kCmdMouseDisabled, kCmdMoveRange, kCmdAbout, kCmdExit};
  for (int id : fixed) EXPECT_NE(menu.FindById(id), nullptr) << id;
  EXPECT_EQ(menu.FindById(kCmdScaleFirst + 6)->text, u"100%");
  EXPECT_EQ(menu.items.back().text, u"終了");
}

}  // namespace
