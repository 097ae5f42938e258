// Scripted input on the headless platform: where pointer messages go and in which
// order, the pop-up menu that stays open until chosen or closed, and commands that run
// before their frame's work.
#include <gtest/gtest.h>

#include "media/cursor_image.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_ui.h"
#include "platform/headless/input_player.h"
#include "platform/headless/layered_windows.h"
#include "platform/menu_model.h"
#include "recording_handler.h"
#include "temp_folder.h"

namespace {

using Events = std::vector<std::string>;

// Logs whether a menu is showing when a command arrives.
class CMenuAwareHandler : public CRecordingHandler {
 public:
  CMenuAwareHandler(CEventLog& log, IUserInterface& ui) : CRecordingHandler(log), log_(log), ui_(ui) {}
  void OnCommand(int commandId) override {
    CRecordingHandler::OnCommand(commandId);
    if (ui_.IsPopupMenuShowing()) log_.Add("menu still showing");
  }

 private:
  CEventLog& log_;
  IUserInterface& ui_;
};

class InputPlayerTest : public ::testing::Test {
 protected:
  CTempFolder dir;
  CHeadlessPlatform platform{[this] {
    SHeadlessOptions options;
    options.runtimeDir = dir.NativeString();
    return options;
  }()};
  IUserInterface& ui = platform.Ui();
  CEventLog log{platform.Clock()};
  CMenuAwareHandler handler{log, ui};
  CRecordingLayeredHandler layeredHandler{log};
  IMainWindow* window = ui.CreateMainWindow({u"main", false}, handler);
  Events ignored;

  // A shown window at `at` whose pixels are opaque except the columns left of `clearLeft`.
  ILayeredWindow* Window(const std::string& name, SPoint at, int width, int height, int clearLeft = 0) {
    ILayeredWindow* made = platform.LayeredWindows().Create(*window, u"", layeredHandler);
    layeredHandler.Name(*made, name);
    std::vector<uint32_t> pixels(static_cast<size_t>(width * height), 0xFF204060u);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < clearLeft; ++x) pixels[static_cast<size_t>(y * width + x)] = 0;
    }
    EXPECT_TRUE(made->Update({at, width, height, pixels.data(), width, 255, {}}));
    made->Show();
    return made;
  }

  // Plays a whole script at once, noting each ignored command as "LINE REASON".
  void Play(std::string_view script) {
    SInputScript parsed = ParseInputScript(script);
    ASSERT_EQ(parsed.error, "");
    CInputPlayer player(platform, std::move(parsed.commands), [this](const SInputCommand& command, const char* why) {
      ignored.push_back(std::to_string(command.line) + " " + why);
    });
    player.RunFrame(1000);
  }

  // A menu "About" (104), a greyed "Exit" (32882), a separator and "Scale/50%" (32776).
  static CMenuModel SystemMenu() {
    CMenuModel menu;
    menu.InsertAt(0, 104, u"About");
    menu.InsertAt(1, 32882, u"Exit");
    menu.items[1].greyed = true;
    menu.items.emplace_back().separator = true;
    CMenuItem& scale = menu.items.emplace_back();
    scale.text = u"Scale";
    scale.subMenu = std::make_unique<CMenuModel>();
    scale.subMenu->InsertAt(0, 32776, u"50%");
    return menu;
  }
};

TEST_F(InputPlayerTest, AMoveSetsTheCursorThenTellsTheWindowUnderItInClientCoordinates) {
  Window("below", {0, 0}, 10, 10);
  Window("above", {5, 5}, 10, 10, 3);
  const SCursorImage hand{};
  layeredHandler.onMouse = [&](ILayeredWindow&, ELayeredMouse message) {
    if (message == ELayeredMouse::SetCursor) ui.SetCursor(&hand);
  };
  EXPECT_EQ(platform.HeadlessUi().ShownCursor(), nullptr);

  Play("0 move 7 8\n"      // over a clear pixel of the upper window: the lower one
       "0 move 12 13\n"
       "0 move 100 100\n");  // over the desktop: nobody
  EXPECT_EQ(log.Events(), (Events{"0 create", "0 below 32 0,0", "0 below 512 7,8", "0 above 32 0,0",
                                  "0 above 512 7,8"}));
  EXPECT_EQ(ui.CursorPosition().x, 100);
  EXPECT_EQ(ui.CursorPosition().y, 100);
  EXPECT_EQ(platform.HeadlessUi().ShownCursor(), &hand);
  EXPECT_TRUE(ignored.empty());
}

TEST_F(InputPlayerTest, UnderCaptureEveryMessageGoesToTheHolderWithoutSetCursor) {
  Window("left", {0, 0}, 10, 10);
  Window("right", {20, 0}, 10, 10);
  // Capture from the left press to its release, as a drag does; log the primary button
  // as the handlers see it.
  layeredHandler.onMouse = [&](ILayeredWindow& target, ELayeredMouse message) {
    if (message == ELayeredMouse::LeftButtonDown) target.SetCapture();
    if (message == ELayeredMouse::LeftButtonUp) target.ReleaseCapture();
    if (message != ELayeredMouse::MouseMove && message != ELayeredMouse::SetCursor &&
        message != ELayeredMouse::CaptureChanged) {
      log.Add(ui.IsPrimaryButtonDown() ? "primary down" : "primary up");
    }
  };

  Play("0 move 2 3\n"
       "0 ldown\n"
       "1 move 25 5\n"
       "1 rdown\n"
       "1 rup\n"
       "1 lup\n"
       "2 move 26 5\n");
  EXPECT_EQ(platform.Layered().Captured(), nullptr);
  EXPECT_FALSE(ui.IsPrimaryButtonDown());
  EXPECT_EQ(log.Events(), (Events{"0 create",
                                  "0 left 32 0,0", "0 left 512 2,3",
                                  "0 left 32 0,0", "0 left 513 2,3", "0 primary down",
                                  "0 left 512 25,5",
                                  "0 left 516 25,5", "0 primary down",
                                  "0 left 517 25,5", "0 primary down",
                                  "0 left 514 25,5", "0 left 533 0,0", "0 primary up",
                                  "0 right 32 0,0", "0 right 512 6,5"}));
}

TEST_F(InputPlayerTest, TheTrayMenuStaysOpenUntilAnItemIsChosenOrItIsClosed) {
  ASSERT_TRUE(ui.AddTrayIcon(*window, u"Zelvotta"));
  const CMenuModel menu = SystemMenu();
  handler.onMessage = [&](uint32_t message, intptr_t param) {
    if (message == kTrayMessage && param == kTrayRightButtonDown) ui.TrackPopupMenu(menu, {3, 4}, *window, nullptr);
  };

  Play("0 menu 104\n"
       "0 tray right\n");
  EXPECT_TRUE(ui.IsPopupMenuShowing());
  Play("0 menu 999\n"
       "0 menu 32882\n"  // greyed
       "0 menu 0\n"      // separators and sub-menu entries have no command
       "0 menu 32776\n");
  EXPECT_FALSE(ui.IsPopupMenuShowing());
  Play("0 tray right\n"
       "0 menu-close\n"
       "0 menu-close\n"
       "0 tray left\n");
  EXPECT_FALSE(ui.IsPopupMenuShowing());

  EXPECT_EQ(ignored, (Events{"1 no pop-up menu is open", "1 the open menu has no such item", "2 the item is greyed",
                             "3 the open menu has no such item", "3 no pop-up menu is open"}));
  // The menu closes before its command arrives.
  EXPECT_EQ(log.Events(), (Events{"0 create", "0 message 32769 516", "0 command 32776", "0 message 32769 516",
                                  "0 message 32769 513"}));
  ASSERT_NE(platform.LastTrackedMenu(), nullptr);
  EXPECT_EQ(platform.LastTrackedMenu()->items.size(), 4u);
}

TEST_F(InputPlayerTest, AWindowsMenuIsSetUpByItReachesOnlyItAndGoesAwayWithIt) {
  ILayeredWindow* chara = Window("chara", {0, 0}, 10, 10);
  const CMenuModel menu = SystemMenu();
  CMenuModel other;
  other.InsertAt(0, 5, u"Other");

  ui.TrackPopupMenu(menu, {1, 2}, *window, chara);
  Play("0 menu 104\n");
  // A second menu replaces the first; the main window gets its choice.
  ui.TrackPopupMenu(menu, {1, 2}, *window, chara);
  ui.TrackPopupMenu(other, {1, 2}, *window, nullptr);
  Play("0 menu 104\n0 menu 5\n");
  ui.TrackPopupMenu(menu, {1, 2}, *window, chara);
  chara->Destroy();
  Play("0 menu 104\n");
  EXPECT_FALSE(ui.IsPopupMenuShowing());
  ui.TrackPopupMenu(menu, {1, 2}, *window, nullptr);
  window->Destroy();
  EXPECT_FALSE(ui.IsPopupMenuShowing());

  EXPECT_EQ(ignored, (Events{"1 the open menu has no such item", "1 the window of the open menu is gone"}));
  EXPECT_EQ(log.Events(), (Events{"0 create", "0 chara menu opened 0", "0 chara command 104",
                                  "0 chara menu opened 0", "0 command 5", "0 chara menu opened 0",
                                  "0 chara destroyed", "0 destroy"}));
}

TEST_F(InputPlayerTest, EachFramesCommandsRunRightBeforeItsWorkAndHooksSeeTheFrameIndex) {
  ASSERT_TRUE(ui.AddTrayIcon(*window, u"Zelvotta"));
  SInputScript script = ParseInputScript(
      "0 command 1\n"
      "2 tray left\n"
      "2 command 3\n"
      "9 command 4\n");  // after the run's end: never
  ASSERT_EQ(script.error, "");
  CInputPlayer player(platform, std::move(script.commands));
  CHeadlessUi& headless = platform.HeadlessUi();
  headless.AddBeforeVirtualFrame([&](uint64_t frame) { player.RunFrame(frame); });
  headless.AddAfterVirtualFrame([&](uint64_t frame) {
    log.Add("after " + std::to_string(frame));
    if (frame == 2) ui.PostQuit(0);
  });
  CRecordingWorker worker(log, 33);
  ASSERT_TRUE(ui.StartFrameWorker(worker));
  EXPECT_EQ(ui.RunMessageLoop(), 0);
  ui.JoinFrameWorker();
  EXPECT_EQ(log.Events(), (Events{"0 create", "0 begin", "0 command 1", "0 step 1", "33 after 0", "33 step 2",
                                  "66 after 1", "66 message 32769 513", "66 command 3", "66 step 3", "99 after 2",
                                  "99 end"}));
}

// The fixed time runs on with the run's clock, across midnight and the end of a leap
// February, with the weekday worked out; the fixed CPU usage is what the sampler reads.
TEST_F(InputPlayerTest, TheMachineCommandsFixCpuUsageAndALocalTimeThatGoesOn) {
  SInputScript script = ParseInputScript("0 cpu 87\n0 clock 2028-02-29 23:59:59\n");
  ASSERT_EQ(script.error, "");
  CInputPlayer player(platform, std::move(script.commands));
  ISystemInfo& info = platform.SystemInfo();
  EXPECT_TRUE(info.OpenCpuUsage());
  player.RunFrame(0);
  EXPECT_EQ(info.SampleCpuUsage(), 87);
  SLocalTime time = info.LocalTime();
  EXPECT_EQ((std::vector<int>{time.year, time.month, time.day, time.dayOfWeek, time.hour, time.minute, time.second}),
            (std::vector<int>{2028, 2, 29, 2, 23, 59, 59}));
  CRecordingWorker worker(log, 33);
  platform.HeadlessUi().AddAfterVirtualFrame([&](uint64_t frame) {
    if (frame == 30) ui.PostQuit(0);  // 31 frames of 33 ms: a second later
  });
  ASSERT_TRUE(ui.StartFrameWorker(worker));
  EXPECT_EQ(ui.RunMessageLoop(), 0);
  ui.JoinFrameWorker();
  time = info.LocalTime();
  EXPECT_EQ((std::vector<int>{time.year, time.month, time.day, time.dayOfWeek, time.hour, time.minute, time.second}),
            (std::vector<int>{2028, 3, 1, 3, 0, 0, 0}));
}

}  // namespace
