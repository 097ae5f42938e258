// What the headless backend records instead of showing: message boxes, the trace, the
// tray icon, pop-up menus and layered windows' frames.
#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_ui.h"
#include "platform/headless/layered_windows.h"
#include "platform/menu_model.h"
#include "recording_handler.h"
#include "temp_folder.h"

namespace {

struct SPlatformFixture {
  explicit SPlatformFixture(std::string traceFile = "")
      : platform([&] {
          SHeadlessOptions options;
          options.runtimeDir = dir.NativeString();
          options.traceFile = std::move(traceFile);
          return options;
        }()),
        log(platform.Clock()),
        handler(log) {
    window = platform.Ui().CreateMainWindow({u"main", false}, handler);
  }
  CTempFolder dir;
  CHeadlessPlatform platform;
  CEventLog log;
  CRecordingHandler handler;
  IMainWindow* window = nullptr;
};

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(MessageBox, PrintsOneLineAndTracesIt) {
  SPlatformFixture fixture;
  testing::internal::CaptureStderr();
  fixture.platform.Ui().MessageBox(nullptr, u"\u30AD\u30E3\u30E9 \"x\"", u"\u30A8\u30E9\u30FC",
                                   EMessageBoxIcon::Error);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "messagebox \"\u30A8\u30E9\u30FC\" \"\u30AD\u30E3\u30E9 \"x\"\"\n");
  EXPECT_EQ(fixture.platform.TraceLines(),
            std::vector<std::string>{
                R"({"frame":0,"event":"messagebox","caption":"エラー","text":"キャラ \"x\""})"});
}

TEST(Trace, FileHoldsTheSameLinesAsMemoryAndStartsEmpty) {
  CTempFolder outside;
  const std::string path = outside.NativeString() + "/trace.jsonl";
  std::ofstream(path) << "left over from an earlier run\n";
  SPlatformFixture fixture(path);
  fixture.platform.Trace(CTraceRecord("start").Add("ok", true));
  fixture.platform.Trace(CTraceRecord("names").Add("list", std::vector<std::u16string>{u"a", u"b"}));
  const std::vector<std::string> expected{R"({"frame":0,"event":"start","ok":true})",
                                          R"({"frame":0,"event":"names","list":["a","b"]})"};
  EXPECT_EQ(fixture.platform.TraceLines(), expected);
  EXPECT_EQ(ReadLines(path), expected);  // flushed per line: readable while running
  EXPECT_TRUE(fixture.platform.TraceFileOpen());
}

// A long run that writes its trace to a file keeps none of it in memory.
TEST(Trace, ATraceFileWithoutKeepingGoesToTheFileOnly) {
  CTempFolder outside;
  const std::string path = outside.NativeString() + "/trace.jsonl";
  SHeadlessOptions options;
  options.runtimeDir = outside.NativeString();
  options.traceFile = path;
  options.keepTrace = false;
  CHeadlessPlatform platform(options);
  ASSERT_TRUE(platform.Tracing());
  platform.Trace(CTraceRecord("start"));
  EXPECT_TRUE(platform.TraceLines().empty());
  EXPECT_EQ(ReadLines(path), std::vector<std::string>{R"({"frame":0,"event":"start"})"});
}

TEST(Trace, RecordsFromManyThreadsAreAllKept) {
  CTempFolder outside;
  const std::string path = outside.NativeString() + "/trace.jsonl";
  SPlatformFixture fixture(path);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&fixture, t] {
      for (int i = 0; i < 250; ++i) fixture.platform.Trace(CTraceRecord("t").Add("id", int64_t{t}));
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(fixture.platform.TraceLines().size(), 1000u);
  EXPECT_EQ(ReadLines(path).size(), 1000u);
}

TEST(TrayIcon, ClicksReachTheOwnerWhileTheIconExists) {
  SPlatformFixture fixture;
  IUserInterface& ui = fixture.platform.Ui();
  EXPECT_FALSE(fixture.platform.ClickTrayIcon(kTrayLeftButtonDown));
  ASSERT_TRUE(ui.AddTrayIcon(*fixture.window, u"Zelvotta"));
  EXPECT_TRUE(fixture.platform.HasTrayIcon());
  EXPECT_TRUE(fixture.platform.ClickTrayIcon(kTrayLeftButtonDown));
  EXPECT_TRUE(fixture.platform.ClickTrayIcon(kTrayRightButtonDown));
  ui.RemoveTrayIcon(*fixture.window);
  EXPECT_FALSE(fixture.platform.HasTrayIcon());
  EXPECT_FALSE(fixture.platform.ClickTrayIcon(kTrayRightButtonDown));
  ui.PostQuit(0);
  ui.RunMessageLoop();
  EXPECT_EQ(fixture.log.Events(),
            (std::vector<std::string>{"0 create", "0 message 32769 513", "0 message 32769 516"}));
}

TEST(PopupMenu, StaysOpenWithACopyAsItOpenedAndLeavesTheTraceToTheCore) {
  SPlatformFixture fixture;
  IUserInterface& ui = fixture.platform.Ui();
  {
    CMenuModel menu;
    menu.InsertAt(0, 104, u"About");
    menu.items.emplace_back().separator = true;
    CMenuItem& sub = menu.items.emplace_back();
    sub.text = u"Scale";
    sub.subMenu = std::make_unique<CMenuModel>();
    sub.subMenu->InsertAt(0, 32776, u"50%");
    sub.subMenu->items[0].checked = true;
    ui.TrackPopupMenu(menu, {12, 34}, *fixture.window, nullptr);
    EXPECT_TRUE(ui.IsPopupMenuShowing());
    EXPECT_EQ(fixture.platform.HeadlessUi().CloseMenu(), nullptr);
  }
  EXPECT_FALSE(ui.IsPopupMenuShowing());
  const CMenuModel* shown = fixture.platform.LastTrackedMenu();
  ASSERT_NE(shown, nullptr);
  ASSERT_EQ(shown->items.size(), 3u);
  EXPECT_TRUE(shown->items[1].separator);
  const CMenuItem* scale = shown->FindById(32776);
  ASSERT_NE(scale, nullptr);
  EXPECT_TRUE(scale->checked);
  EXPECT_TRUE(fixture.platform.TraceLines().empty());
}

TEST(LayeredWindow, AFrameWithoutPixelsOnlyMovesTheWindow) {
  SPlatformFixture fixture;
  CEventLog log(fixture.platform.Clock());
  CRecordingLayeredHandler handler(log);
  CHeadlessLayeredWindows& layered = fixture.platform.Layered();
  ILayeredWindow* window = layered.Create(*fixture.window, u"", handler);
  const uint32_t pixels[] = {0xFF000001, 0, 0xFF000003, 0xFF000004};
  ASSERT_TRUE(window->Update({{0, 0}, 2, 2, pixels, 2, 128, {}}));
  window->Show();
  ASSERT_TRUE(window->Update({{10, 20}, 0, 0, nullptr, 0, 255, {}}));

  const SLayeredWindowState state = layered.State(*window);
  EXPECT_EQ(state.position.x, 10);
  EXPECT_EQ(state.position.y, 20);
  EXPECT_EQ(state.width, 2);
  EXPECT_EQ(state.constantAlpha, 128);
  EXPECT_EQ(state.updates, 2u);
  const CPixelSurface kept = layered.Pixels(*window);
  EXPECT_EQ(std::vector<uint32_t>(kept.Pixels(), kept.Pixels() + 4), std::vector<uint32_t>(pixels, pixels + 4));
  // The hit test follows the move with the old pixels, hole included.
  EXPECT_EQ(layered.WindowAt({11, 20}), nullptr);
  EXPECT_EQ(layered.WindowAt({11, 21}), window);

  window->Destroy();
  EXPECT_FALSE(window->Update({{0, 0}, 0, 0, nullptr, 0, 255, {}}));
}

// Windows that keep no pixels still take place, size and alpha; their whole rectangle
// takes clicks, snapshots and copies show nothing of them, and keeping again brings the
// next frame's pixels back.
TEST(LayeredWindow, WithoutKeptPixelsTheWindowIsOpaqueToClicksAndClearInPictures) {
  SPlatformFixture fixture;
  CEventLog log(fixture.platform.Clock());
  CRecordingLayeredHandler handler(log);
  CHeadlessLayeredWindows& layered = fixture.platform.Layered();
  ILayeredWindow* window = layered.Create(*fixture.window, u"", handler);
  window->Show();
  const uint32_t pixels[] = {0xFF000001, 0, 0xFF000003, 0xFF000004, 0xFF000005, 0xFF000006};
  layered.KeepPixels(false);
  ASSERT_TRUE(window->Update({{10, 20}, 3, 2, pixels, 3, 200, {}}));
  const SLayeredWindowState state = layered.State(*window);
  EXPECT_EQ(state.width, 3);
  EXPECT_EQ(state.height, 2);
  EXPECT_EQ(state.constantAlpha, 200);
  EXPECT_EQ(layered.WindowAt({11, 20}), window) << "the clear pixel's hole needs the pixels";
  EXPECT_EQ(layered.WindowAt({13, 20}), nullptr);
  const CPixelSurface copy = layered.Pixels(*window);
  ASSERT_EQ(copy.Width(), 3);
  EXPECT_EQ(std::vector<uint32_t>(copy.Pixels(), copy.Pixels() + 6), std::vector<uint32_t>(6, 0u));
  const CPixelSurface desktop = layered.Snapshot(SRect{0, 0, 20, 30}, 0xFF808080u);
  EXPECT_EQ(desktop.Row(20)[10], 0xFF808080u);

  layered.KeepPixels(true);
  ASSERT_TRUE(window->Update({{10, 20}, 3, 2, pixels, 3, 255, {}}));
  EXPECT_EQ(layered.WindowAt({11, 20}), nullptr);
  EXPECT_EQ(layered.Snapshot(SRect{0, 0, 20, 30}, 0xFF808080u).Row(20)[10], 0xFF000001u);
}

}  // namespace
