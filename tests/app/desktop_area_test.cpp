// The move-range window: its clamps against the desktop and the 320-pixel minimum, its
// texts and buttons, and its four actions with what they hand to the application and
// write to the trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "app/desktop_area.h"
#include "app/desktop_area_layout.h"
#include "app_fakes.h"
#include "null_main_window_handler.h"
#include "platform/headless/headless_ui.h"

namespace {

const SRect kDesktop{0, 0, 1000, 800};

std::vector<int> Edges(const SRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

TEST(DesktopAreaRules, BorderDragsStayOnTheDesktopAndNeverMakeASideShorterThan320) {
  const SRect last{100, 100, 600, 600};
  // The left border dragged right until the width would be 300: it stops at 320.
  EXPECT_EQ(Edges(ClampAreaSizing({300, 100, 600, 600}, last, kDesktop)), (std::vector<int>{280, 100, 600, 600}));
  // The right border dragged left, the bottom border dragged up.
  EXPECT_EQ(Edges(ClampAreaSizing({100, 100, 150, 600}, last, kDesktop)), (std::vector<int>{100, 100, 420, 600}));
  EXPECT_EQ(Edges(ClampAreaSizing({100, 100, 600, 110}, last, kDesktop)), (std::vector<int>{100, 100, 600, 420}));
  // Dragged past the desktop's edges: each edge stops on the desktop's.
  EXPECT_EQ(Edges(ClampAreaSizing({-50, -20, 1200, 900}, last, kDesktop)), (std::vector<int>{0, 0, 1000, 800}));
  // A proposal that moved both edges of a side still ends on the desktop.
  EXPECT_EQ(Edges(ClampAreaSizing({50, 100, 60, 600}, last, kDesktop)), (std::vector<int>{0, 100, 320, 600}));
}

TEST(DesktopAreaRules, MovesKeepTheSizeAndStopOnTheDesktopsEdges) {
  EXPECT_EQ(Edges(ClampAreaMove({200, 150, 600, 550}, kDesktop)), (std::vector<int>{200, 150, 600, 550}));
  // Past the right edge: the right edge stays on the desktop's.
  EXPECT_EQ(Edges(ClampAreaMove({800, 150, 1200, 550}, kDesktop)), (std::vector<int>{600, 150, 1000, 550}));
  EXPECT_EQ(Edges(ClampAreaMove({-30, -40, 370, 360}, kDesktop)), (std::vector<int>{0, 0, 400, 400}));
  EXPECT_EQ(Edges(ClampAreaMove({100, 700, 500, 1100}, kDesktop)), (std::vector<int>{100, 400, 500, 800}));
  // The whole desktop stays where it is.
  EXPECT_EQ(Edges(ClampAreaMove(kDesktop, kDesktop)), Edges(kDesktop));
}

TEST(DesktopAreaRules, TheSmallestAreaTextsAndButtons) {
  // 1000 × 800 at 100, 100 becomes 320 × 320 at 440, 340.
  EXPECT_EQ(Edges(SmallestArea({100, 100, 1100, 900})), (std::vector<int>{440, 340, 760, 660}));
  EXPECT_EQ(AreaPositionText({-10, 25, 400, 400}), u"X座標 : -10  Y座標 : 25");
  EXPECT_EQ(AreaSizeText({-10, 25, 400, 400}), u"幅 : 410  高さ : 375");
  EXPECT_EQ(AreaPositionTextTop(375), 187 - 145);
  EXPECT_EQ(AreaSizeTextTop(375), 187 - 120);
  const std::vector<std::u16string> texts{u"決定", u"キャンセル", u"最大領域", u"最小領域"};
  const int tops[] = {187 - 95, 187 - 45, 187 + 5, 187 + 55};
  for (int button = 0; button < AREA_BUTTON_COUNT; ++button) {
    EXPECT_EQ(AreaButtonText(button), texts[static_cast<size_t>(button)]);
    EXPECT_EQ(Edges(AreaButtonBounds(button, 411, 375)), (std::vector<int>{145, tops[button], 265, tops[button] + 40}));
  }
}

struct DesktopAreaFixture : ::testing::Test {
  FakePlatform platform;
  CNullMainWindowHandler handler;
  IMainWindow* window = platform.Ui().CreateMainWindow({u"", false}, handler);
  std::vector<SRect> confirmed;
  CDesktopArea area{platform.Ui(), *window, platform, kDesktop, {100, 100, 600, 500},
                    [this](const SRect& range) { confirmed.push_back(range); }};
  CHeadlessDialogs& dialogs = platform.Headless().HeadlessUi().Dialogs();

  // The trace lines of `event`, without their frame.
  std::vector<std::string> Trace(const std::string& event) {
    std::vector<std::string> found;
    for (const std::string& line : platform.Headless().TraceLines()) {
      if (line.find("\"event\":\"" + event + "\"") != std::string::npos) found.push_back(line.substr(line.find(",") + 1));
    }
    return found;
  }
};

TEST_F(DesktopAreaFixture, ShownOnTheMoveRangeItFollowsDragsAndItsButtons) {
  EXPECT_FALSE(area.Visible());
  area.Show({100, 100, 600, 500});
  const CHeadlessAreaWindow& shown = *dialogs.AreaWindow();
  ASSERT_TRUE(shown.Visible());
  EXPECT_EQ(shown.View().title, u"移動範囲設定");
  EXPECT_EQ(shown.View().opacity, 230);
  ASSERT_EQ(shown.View().lines.size(), 2u);
  EXPECT_EQ(shown.View().lines[0].text, u"X座標 : 100  Y座標 : 100");
  EXPECT_EQ(shown.View().lines[1].centreX, 250);

  EXPECT_EQ(Edges(area.OnMoving({800, 0, 1300, 400})), (std::vector<int>{500, 0, 1000, 400}));
  EXPECT_EQ(shown.View().lines[0].text, u"X座標 : 500  Y座標 : 0");
  area.OnSizing({700, 0, 1000, 400});  // the left border: 320 wide at most
  area.OnSizing({680, 0, 1000, 400});  // no change: no trace
  area.OnButton(AREA_BUTTON_LARGEST);
  EXPECT_EQ(Edges(shown.View().rect), Edges(kDesktop));
  area.OnButton(AREA_BUTTON_SMALLEST);
  EXPECT_EQ(Edges(area.Rect()), (std::vector<int>{340, 240, 660, 560}));
  area.OnButton(7);
  area.OnButton(AREA_BUTTON_CONFIRM);
  EXPECT_FALSE(area.Visible());
  EXPECT_FALSE(shown.Visible());
  ASSERT_EQ(confirmed.size(), 1u);
  EXPECT_EQ(Edges(confirmed[0]), (std::vector<int>{340, 240, 660, 560}));

  EXPECT_EQ(Trace("dialog"), std::vector<std::string>{
                                 R"("event":"dialog","id":"area","title":"移動範囲設定","texts":["決定","キャンセル","最大領域","最小領域"],"x":100,"y":100,"width":500,"height":400})"});
  EXPECT_EQ(Trace("area"), (std::vector<std::string>{R"("event":"area","left":500,"top":0,"right":1000,"bottom":400})",
                                                     R"("event":"area","left":680,"top":0,"right":1000,"bottom":400})",
                                                     R"("event":"area","left":0,"top":0,"right":1000,"bottom":800})",
                                                     R"("event":"area","left":340,"top":240,"right":660,"bottom":560})"}));
}

}  // namespace
