// The Qt backend's windows and menus on Qt's offscreen platform: frames handed over
// from another thread, moves without pixels, destruction from the frame thread, and the
// calls and posts from the frame thread, and the pop-up menu built from a menu model with its commands routed to the right window.
// (The QApplication comes from the environment in qt_dialogs_test.cpp.)
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWidget>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "../recording_handler.h"
#include "platform/headless/real_clock.h"
#include "platform/menu_model.h"
#include "platform/qt/qt_layered_window.h"
#include "platform/qt/qt_layered_windows.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/x11_display.h"

namespace {

class CNoTrace final : public ITraceSink {
 public:
  void Trace(const CTraceRecord&) override {}
};

// Runs the event loop until `done` holds or two seconds have passed.
bool PumpUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

class QtWindows : public ::testing::Test {
 protected:
  QtWindows()
      : log_(clock_),
        handler_(log_),
        layeredHandler_(log_),
        windows_([this] { ++arrows_; }),
        main_(SMainWindowDesc{u"Test_Main", false}, handler_, [](CQtMainWindow&, bool) {},
              [](CQtMainWindow&) {}) {}

  ILayeredWindow& MakeWindow(const char* name) {
    ILayeredWindow* window = windows_.Create(main_, u"Test_Window", layeredHandler_);
    layeredHandler_.Name(*window, name);
    return *window;
  }

  CRealClock clock_;
  CEventLog log_;
  CRecordingHandler handler_;
  CRecordingLayeredHandler layeredHandler_;
  int arrows_ = 0;
  CQtLayeredWindows windows_;
  CQtMainWindow main_;
};

TEST_F(QtWindows, FramesFromAnotherThreadShowOnTheGuiThreadAndMovesKeepThePixels) {
  auto& window = static_cast<CQtLayeredWindow&>(MakeWindow("w"));
  window.Show();
  std::vector<uint32_t> pixels(4 * 3, 0xFF102030u);
  pixels[5] = 0;
  // A stride wider than the frame: only each row's first four pixels count.
  std::vector<uint32_t> padded;
  for (int y = 0; y < 3; ++y) {
    padded.insert(padded.end(), pixels.begin() + y * 4, pixels.begin() + y * 4 + 4);
    padded.push_back(0xDEADBEEFu);
  }
  bool accepted = false;
  std::thread frameThread([&] {
    accepted = window.Update(SLayeredFrame{SPoint{10, 20}, 4, 3, padded.data(), 5, 255, {}});
  });
  frameThread.join();
  ASSERT_TRUE(accepted);
  ASSERT_TRUE(PumpUntil([&] { return window.ShownWidth() == 4; }));
  EXPECT_EQ(window.ShownHeight(), 3);
  EXPECT_EQ(window.ShownPixels(), pixels);
  EXPECT_EQ(window.ShownPosition().x, 10);
  EXPECT_EQ(window.ShownPosition().y, 20);

  // Without pixels, and with the very same pixels again, the window only moves.
  const uint32_t* shownBefore = window.ShownBuffer();
  std::thread([&] { window.Update(SLayeredFrame{SPoint{30, 40}, 0, 0, nullptr, 0, 255, {}}); }).join();
  ASSERT_TRUE(PumpUntil([&] { return window.ShownPosition().x == 30; }));
  std::thread([&] { window.Update(SLayeredFrame{SPoint{50, 60}, 4, 3, pixels.data(), 4, 255, {}}); }).join();
  ASSERT_TRUE(PumpUntil([&] { return window.ShownPosition().x == 50; }));
  EXPECT_EQ(window.ShownPosition().y, 60);
  EXPECT_EQ(window.ShownBuffer(), shownBefore) << "an unchanged frame swapped the buffers";

  // A frame whose rows overlap is refused and changes nothing.
  EXPECT_FALSE(window.Update(SLayeredFrame{SPoint{0, 0}, 4, 3, pixels.data(), 3, 255, {}}));
  EXPECT_FALSE(window.Update(SLayeredFrame{SPoint{0, 0}, 0, 3, pixels.data(), 4, 255, {}}));
  QCoreApplication::processEvents();
  EXPECT_EQ(window.ShownPosition().x, 50);
  EXPECT_EQ(window.ShownPixels(), pixels);
}

TEST_F(QtWindows, DestroyedFromTheFrameThreadTheWindowGoesInertAndItsHandlerHearsOnce) {
  auto& window = static_cast<CQtLayeredWindow&>(MakeWindow("w"));
  window.Show();
  EXPECT_TRUE(window.Visible());
  std::thread([&] {
    window.Destroy();
    window.Destroy();
  }).join();
  PumpUntil([&] { return window.NativeId() == 0; });
  EXPECT_EQ(window.NativeId(), 0u);
  EXPECT_FALSE(window.Visible());
  const std::vector<uint32_t> pixel(1, 0xFFFFFFFFu);
  EXPECT_FALSE(window.Update(SLayeredFrame{SPoint{1, 1}, 1, 1, pixel.data(), 1, 255, {}}));
  window.Show();
  window.BringToTop();
  EXPECT_FALSE(window.DeliverMouse(ELayeredMouse::LeftButtonDown, 0, 0));
  int destroyed = 0;
  for (const std::string& event : log_.Events()) destroyed += event.find("w destroyed") != std::string::npos;
  EXPECT_EQ(destroyed, 1);
}

TEST_F(QtWindows, CallsAndPostsFromTheFrameThreadRunOnTheGuiThreadInOrder) {
  auto& window = static_cast<CQtLayeredWindow&>(MakeWindow("w"));
  const std::thread::id gui = std::this_thread::get_id();
  std::vector<intptr_t> params;
  bool allOnGui = true;
  handler_.onMessage = [&](uint32_t, intptr_t param) {
    params.push_back(param);
    allOnGui = allOnGui && std::this_thread::get_id() == gui;
  };
  bool visibleAtOnce = false;
  std::thread([&] {
    window.Show();
    visibleAtOnce = window.Visible();
    for (intptr_t i = 0; i < 100; ++i) main_.PostAppMessage(0x8001, i);
    window.Hide();
    window.Show();
    window.BringToTop();
  }).join();
  EXPECT_TRUE(visibleAtOnce) << "the flag waits for the GUI thread";
  QWidget* widget = QWidget::find(static_cast<WId>(window.NativeId()));
  ASSERT_NE(widget, nullptr);
  EXPECT_FALSE(widget->isVisible()) << "the frame thread touched the widget";
  ASSERT_TRUE(PumpUntil([&] { return params.size() == 100 && widget->isVisible(); }));
  EXPECT_TRUE(allOnGui);
  for (intptr_t i = 0; i < 100; ++i) EXPECT_EQ(params[static_cast<size_t>(i)], i);

  // A message box's nested loop inside one message still gets the ones after it.
  params.clear();
  handler_.onMessage = [&](uint32_t, intptr_t param) {
    params.push_back(param);
    if (param == 0) PumpUntil([&] { return params.size() == 3; });
  };
  std::thread([&] {
    for (intptr_t i = 0; i < 3; ++i) main_.PostAppMessage(0x8001, i);
  }).join();
  ASSERT_TRUE(PumpUntil([&] { return params.size() == 3; }));
  EXPECT_EQ(params, (std::vector<intptr_t>{0, 1, 2}));

  // Hidden from the frame thread, the widget hides on the GUI thread.
  std::thread([&] { window.Hide(); }).join();
  EXPECT_FALSE(window.Visible());
  ASSERT_TRUE(PumpUntil([&] { return !widget->isVisible(); }));
}

TEST_F(QtWindows, ThePopupMenuFollowsTheModelAndItsCommandReachesTheCharactersWindow) {
  CX11Display noDisplay;  // offscreen: never connected, the cursor comes through Qt
  CNoTrace trace;
  CQtUi ui(clock_, noDisplay, windows_, trace, 0);
  ILayeredWindow& character = MakeWindow("chara");

  CMenuModel menu;
  menu.items.push_back(CMenuItem{1, u"Hide", false, false, false, nullptr});
  menu.items.push_back(CMenuItem{0, u"", true, false, false, nullptr});
  menu.items.push_back(CMenuItem{2, u"Muted", false, true, false, nullptr});
  menu.items.push_back(CMenuItem{3, u"Leaving", false, false, true, nullptr});
  auto sub = std::make_unique<CMenuModel>();
  sub->items.push_back(CMenuItem{4, u"Half", false, false, false, nullptr});
  menu.items.push_back(CMenuItem{0, u"Scale", false, false, false, std::move(sub)});

  EXPECT_FALSE(ui.IsPopupMenuShowing());
  ui.TrackPopupMenu(menu, SPoint{5, 5}, main_, &character);
  EXPECT_TRUE(ui.IsPopupMenuShowing());
  auto* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(shown, nullptr);
  const QList<QAction*> actions = shown->actions();
  ASSERT_EQ(actions.size(), 5);
  EXPECT_TRUE(actions[1]->isSeparator());
  EXPECT_TRUE(actions[2]->isChecked());
  EXPECT_FALSE(actions[3]->isEnabled());
  ASSERT_NE(actions[4]->menu(), nullptr);
  EXPECT_EQ(actions[4]->menu()->actions().at(0)->text(), QString("Half"));

  // The user picks the sub-menu's item: the menu closes, then the command goes to the
  // character's window, which heard first that its menu was opening.
  shown->hide();
  actions[4]->menu()->actions().at(0)->trigger();
  EXPECT_FALSE(ui.IsPopupMenuShowing());
  std::vector<std::string> seen;
  for (const std::string& event : log_.Events()) seen.push_back(event.substr(event.find(' ') + 1));
  EXPECT_EQ(seen, (std::vector<std::string>{"chara menu opened 0", "chara command 4"}));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
