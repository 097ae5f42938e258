// The Windows program's windows under a real (or Wine's) window manager: the main
// window's timers and cross-thread messages, the layered windows' frames, bands and
// destruction from the frame thread, and menus built from their models.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/menu_model.h"
#include "platform/trace_record.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_layered_window.h"
#include "platform/win32/win32_layered_windows.h"
#include "platform/win32/win32_main_window.h"
#include "platform/win32/win32_menu.h"
#include "platform/win32/win32_ui.h"

namespace {

struct CNoTrace final : ITraceSink {
  void Trace(const CTraceRecord&) override {}
  bool Tracing() const override { return false; }
};

struct SMainHandler final : IMainWindowHandler {
  int created = 0;
  int destroyed = 0;
  std::vector<int> timers;
  std::vector<std::pair<uint32_t, intptr_t>> messages;
  std::vector<int> commands;
  void OnCreate(IMainWindow&) override { ++created; }
  void OnDestroy() override { ++destroyed; }
  void OnTimer(int id) override { timers.push_back(id); }
  void OnAppMessage(uint32_t message, intptr_t param) override { messages.emplace_back(message, param); }
  void OnCommand(int id) override { commands.push_back(id); }
};

struct SLayeredHandler final : ILayeredWindowHandler {
  std::atomic<int> destroyed{0};
  std::vector<int> commands;
  bool OnMouse(ILayeredWindow&, ELayeredMouse, int, int) override { return false; }
  bool OnCommand(ILayeredWindow&, int id) override {
    commands.push_back(id);
    return true;
  }
  void OnMenuOpened(ILayeredWindow&, intptr_t) override {}
  void OnDestroy(ILayeredWindow&) override { ++destroyed; }
};

// Runs the thread's messages until `done` holds or about two seconds have passed.
template <typename Done>
bool PumpUntil(Done done) {
  const DWORD deadline = GetTickCount() + 2000;
  MSG message;
  while (!done()) {
    if (GetTickCount() > deadline) return false;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(5);
  }
  return true;
}

// Wine keeps an owned window in the topmost band while a sibling of the same owner is
// still there, so leaving the band is only checked on Windows itself.
bool RunningOnWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

bool ExStyleHas(HWND hwnd, DWORD flag) { return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & flag) != 0; }

class Win32WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SMainWindowDesc desc;
    desc.title = u"Zelvotta_Test_Main";
    main_ = CWin32MainWindow::Create(desc, mainHandler_, {});
    ASSERT_NE(main_, nullptr);
  }
  SMainHandler mainHandler_;
  std::unique_ptr<CWin32MainWindow> main_;
  CWin32LayeredWindows windows_;
};

TEST_F(Win32WindowsTest, MainWindowRunsTimersAndTakesMessagesFromOtherThreads) {
  EXPECT_EQ(mainHandler_.created, 1);
  wchar_t className[64] = {};
  GetClassNameW(main_->Handle(), className, 64);
  EXPECT_STREQ(className, L"MainWndClass");
  EXPECT_FALSE(IsWindowVisible(main_->Handle()));
  EXPECT_TRUE(ExStyleHas(main_->Handle(), WS_EX_TOOLWINDOW));

  main_->StartTimer(100, 20);
  ASSERT_TRUE(PumpUntil([&] { return mainHandler_.timers.size() >= 2; }));
  EXPECT_EQ(mainHandler_.timers.front(), 100);
  main_->StopTimer(100);

  // Posted from another thread: arrives on this one, in order, with its parameter.
  std::thread poster([&] {
    main_->PostAppMessage(kTrayMessage, kTrayRightButtonDown);
    main_->PostAppMessage(kQuitRequestMessage, 7);
  });
  poster.join();
  ASSERT_TRUE(PumpUntil([&] { return mainHandler_.messages.size() >= 2; }));
  EXPECT_EQ(mainHandler_.messages[0], (std::pair<uint32_t, intptr_t>{kTrayMessage, kTrayRightButtonDown}));
  EXPECT_EQ(mainHandler_.messages[1], (std::pair<uint32_t, intptr_t>{kQuitRequestMessage, 7}));

  main_->Destroy();
  EXPECT_EQ(mainHandler_.destroyed, 1);
  EXPECT_FALSE(main_->Alive());
  // A destroyed window drops posts and timers instead of failing.
  main_->PostAppMessage(kTrayMessage, 0);
  main_->StartTimer(100, 10);
  main_->Destroy();
  EXPECT_EQ(mainHandler_.destroyed, 1);
}

TEST_F(Win32WindowsTest, LayeredWindowTakesFramesAndSkipsUnchangedPixels) {
  SLayeredHandler handler;
  auto* window = static_cast<CWin32LayeredWindow*>(windows_.Create(*main_, u"Zelvotta_Character_Window", handler));
  ASSERT_NE(window, nullptr);
  HWND hwnd = window->Handle();
  EXPECT_TRUE(ExStyleHas(hwnd, WS_EX_LAYERED));
  EXPECT_TRUE(ExStyleHas(hwnd, WS_EX_TOOLWINDOW));
  EXPECT_EQ(GetWindow(hwnd, GW_OWNER), main_->Handle());
  EXPECT_FALSE(window->Visible());

  std::vector<uint32_t> pixels(40 * 30, 0x80402010u);
  SLayeredFrame frame;
  frame.position = {100, 120};
  frame.width = 32;  // a part of a wider surface: the stride is honoured
  frame.height = 30;
  frame.stride = 40;
  frame.pixels = pixels.data();
  window->Show();
  EXPECT_TRUE(window->Visible());
  // From another thread, as the frame thread sends them.
  bool updated = false;
  std::atomic<bool> done{false};
  std::thread frames([&] {
    updated = window->Update(frame);
    done = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
  frames.join();
  EXPECT_TRUE(updated);
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top, 120);
  EXPECT_EQ(rect.right - rect.left, 32);
  EXPECT_EQ(rect.bottom - rect.top, 30);
  EXPECT_EQ(window->PixelUpdates(), 1u);

  // The same pixels elsewhere only move the window; new pixels go to the system again.
  frame.position = {150, 160};
  EXPECT_TRUE(window->Update(frame));
  EXPECT_EQ(window->PixelUpdates(), 1u);
  EXPECT_EQ(window->MoveOnlyUpdates(), 1u);
  // Nothing new at all: nothing goes to the system.
  EXPECT_TRUE(window->Update(frame));
  EXPECT_EQ(window->PixelUpdates(), 1u);
  EXPECT_EQ(window->MoveOnlyUpdates(), 1u);
  pixels[5] = 0xFF000000u;
  EXPECT_TRUE(window->Update(frame));
  EXPECT_EQ(window->PixelUpdates(), 2u);

  // A position-only frame keeps the size.
  SLayeredFrame move;
  move.position = {10, 20};
  EXPECT_TRUE(window->Update(move));
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.top, 20);
  EXPECT_EQ(rect.right - rect.left, 32);

  // Frames the system could not take are refused, not half-applied.
  SLayeredFrame bad = frame;
  bad.stride = 8;
  EXPECT_FALSE(window->Update(bad));
  window->Hide();
  EXPECT_FALSE(window->Visible());
  EXPECT_FALSE(IsWindowVisible(hwnd));
}

TEST_F(Win32WindowsTest, WindowsFollowTheirOwnerIntoTheTopmostBand) {
  SLayeredHandler handler;
  auto* first = static_cast<CWin32LayeredWindow*>(windows_.Create(*main_, u"a", handler));
  auto* second = static_cast<CWin32LayeredWindow*>(windows_.Create(*main_, u"b", handler));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  first->Show();
  second->Show();
  EXPECT_FALSE(ExStyleHas(first->Handle(), WS_EX_TOPMOST));

  windows_.SetOwnerTopmost(*main_, true);
  EXPECT_TRUE(ExStyleHas(first->Handle(), WS_EX_TOPMOST));
  EXPECT_TRUE(ExStyleHas(second->Handle(), WS_EX_TOPMOST));
  windows_.SetOwnerTopmost(*main_, false);
  if (!RunningOnWine()) {
    EXPECT_FALSE(ExStyleHas(first->Handle(), WS_EX_TOPMOST));
    EXPECT_FALSE(ExStyleHas(second->Handle(), WS_EX_TOPMOST));
  }

  // PlaceBelow takes the other window's band along with its place.
  auto* third = static_cast<CWin32LayeredWindow*>(windows_.Create(*main_, u"c", handler));
  ASSERT_NE(third, nullptr);
  third->Show();
  first->SetTopmost(true);
  third->PlaceBelow(*first);
  EXPECT_TRUE(ExStyleHas(third->Handle(), WS_EX_TOPMOST));
  EXPECT_EQ(GetWindow(first->Handle(), GW_HWNDNEXT), third->Handle());
}

TEST_F(Win32WindowsTest, DestroyFromTheFrameThreadRunsOnDestroyBeforeReturning) {
  SLayeredHandler handler;
  ILayeredWindow* window = windows_.Create(*main_, u"c", handler);
  ASSERT_NE(window, nullptr);
  std::atomic<bool> returned{false};
  int destroyedOnReturn = -1;
  std::thread frameThread([&] {
    window->Destroy();
    destroyedOnReturn = handler.destroyed.load();
    returned = true;
  });
  // The window's own thread carries out the request while it answers messages.
  EXPECT_TRUE(PumpUntil([&] { return returned.load(); }));
  frameThread.join();
  EXPECT_EQ(destroyedOnReturn, 1);
  // Inert from now on.
  window->Show();
  EXPECT_FALSE(window->Visible());
  SLayeredFrame frame;
  EXPECT_FALSE(window->Update(frame));
  window->Destroy();
  EXPECT_EQ(handler.destroyed.load(), 1);
}

TEST(Win32MenuTest, BuildsItemsStatesAndSubMenusFromTheModel) {
  CMenuModel model;
  model.items.push_back(CMenuItem{104, u"Zelvotta について", false, false, false, nullptr});
  model.items.push_back(CMenuItem{0, u"", true, false, false, nullptr});
  CMenuItem scale{0, u"拡大率", false, false, false, std::make_unique<CMenuModel>()};
  scale.subMenu->items.push_back(CMenuItem{32790, u"100%", false, true, false, nullptr});
  scale.subMenu->items.push_back(CMenuItem{32791, u"200%", false, false, true, nullptr});
  model.items.push_back(std::move(scale));
  model.items.push_back(CMenuItem{32772, u"終了", false, false, false, nullptr});

  HMENU menu = BuildWin32Menu(model);
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 4);
  EXPECT_EQ(GetMenuItemID(menu, 0), 104u);
  EXPECT_EQ(GetMenuItemID(menu, 3), 32772u);
  wchar_t text[64] = {};
  GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Zelvotta について");
  EXPECT_TRUE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR);
  HMENU sub = GetSubMenu(menu, 2);
  ASSERT_NE(sub, nullptr);
  EXPECT_TRUE(GetMenuState(sub, 32790, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(GetMenuState(sub, 32790, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(sub, 32791, MF_BYCOMMAND) & MF_GRAYED);
  DestroyMenu(menu);
}

}  // namespace

namespace {

// The program's own way out: the frame thread asks for the quit, the main window is
// destroyed, and its destruction ends the message loop with the quit code.
struct SQuittingHandler final : IMainWindowHandler {
  IUserInterface* ui = nullptr;
  IMainWindow* window = nullptr;
  void OnCreate(IMainWindow& created) override { window = &created; }
  void OnDestroy() override { ui->PostQuit(3); }
  void OnTimer(int) override {}
  void OnAppMessage(uint32_t message, intptr_t) override {
    if (message == kQuitRequestMessage) window->Destroy();
  }
  void OnCommand(int) override {}
};

struct SCountingWorker final : IFrameWorker {
  IMainWindow* window = nullptr;
  std::atomic<bool> running{true};
  std::atomic<int> steps{0};
  void Begin() override {}
  bool KeepRunning() override { return running.load(); }
  uint32_t Step() override {
    // Asks again every frame, as the program does once every character has ended.
    if (++steps >= 3) window->PostAppMessage(kQuitRequestMessage, 0);
    return 5;
  }
  void End() override {}
};

}  // namespace

TEST(Win32UiTest, AQuitRequestFromTheFrameThreadEndsTheMessageLoop) {
  CWin32Clock clock;
  CWin32LayeredWindows layered;
  CNoTrace trace;
  CWin32Ui ui(clock, layered, trace, 0);
  SQuittingHandler handler;
  handler.ui = &ui;
  IMainWindow* window = ui.CreateMainWindow({u"Zelvotta_Test_Quit", false}, handler);
  ASSERT_NE(window, nullptr);
  SCountingWorker worker;
  worker.window = window;
  ASSERT_TRUE(ui.StartFrameWorker(worker));
  EXPECT_EQ(ui.RunMessageLoop(), 3);
  worker.running = false;
  ui.JoinFrameWorker();
  EXPECT_GE(worker.steps.load(), 3);
}

namespace {

// A character window's handler that asks the main window to quit when it is destroyed,
// as the program's windows do.
struct SQuitOnDestroy final : ILayeredWindowHandler {
  IMainWindow* main = nullptr;
  bool OnMouse(ILayeredWindow&, ELayeredMouse, int, int) override { return false; }
  bool OnCommand(ILayeredWindow&, int) override { return false; }
  void OnMenuOpened(ILayeredWindow&, intptr_t) override {}
  void OnDestroy(ILayeredWindow&) override { main->PostAppMessage(kQuitRequestMessage, 0); }
};

}  // namespace

TEST(Win32UiTest, OwnedWindowsAskingForTheQuitWhileTheMainWindowGoesStillEndTheLoop) {
  CWin32Clock clock;
  CWin32LayeredWindows layered;
  CNoTrace trace;
  CWin32Ui ui(clock, layered, trace, 0);
  SQuittingHandler handler;
  handler.ui = &ui;
  IMainWindow* window = ui.CreateMainWindow({u"Zelvotta_Test_Quit2", false}, handler);
  ASSERT_NE(window, nullptr);
  SQuitOnDestroy owned;
  owned.main = window;
  ASSERT_NE(layered.Create(*window, u"a", owned), nullptr);
  ASSERT_NE(layered.Create(*window, u"b", owned), nullptr);
  window->PostAppMessage(kQuitRequestMessage, 0);
  EXPECT_EQ(ui.RunMessageLoop(), 3);
}
