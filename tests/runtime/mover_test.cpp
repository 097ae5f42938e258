// The character mover: lines, event lines, margins, clamps, remapping and the start place.
#include "runtime/chara_mover.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "script/shared_random.h"

namespace {

constexpr SRect kRange{0, 40, 1000, 740};  // 700 high: four lines of 160 below a remainder of 60

CCharaMover MoverOn(const SRect& range, double scale, int line = 4, int lineHeight = 160, bool noLines = false) {
  SCharaStartState state;
  state.moveRange = range;
  state.lineHeight = lineHeight;
  state.noLines = noLines;
  state.lineNumber = line;
  state.read = true;
  CCharaMover mover;
  mover.Init(state, scale);
  mover.SetSize(100, 50);
  mover.RecomputeLines();
  return mover;
}

TEST(CharaMover, LinesSitAtTheBottomOfTheRange) {
  const struct {
    SRect range;
    double scale;
    bool noLines;
    double lineHeight;
    int count, remainder;
  } cases[] = {
      {kRange, 1.0, false, 160, 4, 60},  {kRange, 0.5, false, 80, 8, 60},      {kRange, 1.25, false, 200, 3, 100},
      {kRange, 0.25, true, 700, 1, 0},   {kRange, 2.0, true, 700, 1, 0},       {kRange, 3.0, true, 700, 1, 0},
      {{0, 0, 800, 100}, 1.0, false, 100, 1, 0},  // lower than one line: one line, capped
      {{0, 0, 800, 100}, 0.5, false, 80, 1, 20},  {{0, 0, 800, 0}, 1.0, false, 0, 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.range.Height() << " high at " << c.scale << (c.noLines ? " N" : ""));
    const CCharaMover mover = MoverOn(c.range, c.scale, 9, 160, c.noLines);
    EXPECT_DOUBLE_EQ(mover.ScaledLineHeight(), c.lineHeight);
    EXPECT_EQ(mover.LineCount(), c.count);
    EXPECT_EQ(mover.Remainder(), c.remainder);
    EXPECT_EQ(mover.Line(), c.count);  // the saved line 9 is lowered to the count
    EXPECT_EQ(mover.EventBottom(), static_cast<int>(c.range.bottom - mover.DisplayedHeight()));
  }
  const CCharaMover mover = MoverOn(kRange, 1.0, 2);
  EXPECT_EQ(mover.EventLeft(), 0);
  EXPECT_EQ(mover.EventRight(), 900);
  EXPECT_EQ(mover.EventTop(), 260);
  EXPECT_EQ(mover.EventBottom(), 370);
}

TEST(CharaMover, ARangeChangeRecomputesTheLineHeight) {
  CCharaMover mover = MoverOn({0, 0, 800, 100}, 1.0);
  mover.SetMoveRange(kRange);
  mover.RecomputeLines();
  EXPECT_DOUBLE_EQ(mover.ScaledLineHeight(), 160.0);  // not the 100 of the lower range
  EXPECT_EQ(mover.LineCount(), 4);

  CCharaMover flat = MoverOn(kRange, 2.0, 1, 700, true);
  flat.SetMoveRange({0, 0, 800, 300});
  EXPECT_EQ(flat.LineHeight(), 300);
  EXPECT_DOUBLE_EQ(flat.ScaledLineHeight(), 300.0);
}

TEST(CharaMover, EventLineOffsetsGiveTheMargins) {
  CCharaMover mover = MoverOn(kRange, 2.0);
  mover.SetSize(100, 80);
  mover.SetEventLineOffsets(30, 20);
  EXPECT_DOUBLE_EQ(mover.MarginLeft(), 60.0);
  EXPECT_DOUBLE_EQ(mover.MarginTop(), 40.0);
  EXPECT_DOUBLE_EQ(mover.MarginRight(), 140.0);  // (100 - 30) x 2
  EXPECT_DOUBLE_EQ(mover.MarginBottom(), 120.0);
  mover.RecomputeLines();
  // The point 30 pixels inside the frame meets either range edge.
  EXPECT_DOUBLE_EQ(mover.EventLeft() - mover.MarginLeft() + 30 * 2.0, kRange.left);
  EXPECT_DOUBLE_EQ(mover.EventRight() + mover.MarginRight() + 30 * 2.0, kRange.right);
  mover.SetEventLineOffsets(0, 0);  // the frame's own edges: no far offset either
  EXPECT_DOUBLE_EQ(mover.MarginRight() + mover.MarginBottom() + mover.MarginLeft(), 0.0);
}

TEST(CharaMover, ClampsWithACharacterLargerThanTheRange) {
  CCharaMover mover = MoverOn({100, 0, 300, 700}, 1.0);
  const auto clamped = [&](double x, double y, bool inside) {
    mover.SetPosition(x, y);
    inside ? mover.ClampInsideMoveRange() : mover.ClampToMoveRange();
    return std::pair(mover.GetX(), mover.GetY());
  };
  mover.SetSize(300, 900);
  mover.RecomputeLines();
  EXPECT_LT(mover.EventRight(), mover.EventLeft());
  EXPECT_EQ(clamped(-1000, -1000, false), std::pair(-200.0, -900.0));
  EXPECT_EQ(clamped(1000, 1000, false), std::pair(300.0, 700.0));
  EXPECT_EQ(clamped(1000, 1000, true), std::pair(100.0, 0.0));  // cannot fit: left and top win
  mover.SetSize(50, 50);
  EXPECT_EQ(clamped(290, -5, true), std::pair(250.0, 0.0));
}

TEST(CharaMover, RemapKeepsTheRelativePlaceUnlessThePreviousLinesAreDegenerate) {
  SCharaStartState state;
  state.moveRange = kRange;
  state.read = true;
  CCharaMover mover;
  mover.Init(state, 1.0);
  mover.SetSize(100, 50);
  mover.SetPosition(450, 635);
  mover.Remap();  // no lines yet
  mover.RecomputeLines();
  mover.Remap();  // the previous lines are the unset ones
  EXPECT_EQ(mover.GetX(), 450.0);
  EXPECT_EQ(mover.GetY(), 635.0);

  // Half way between L 0 and R 900 and between T 580 and B 690 of line 4.
  mover.SetMoveRange({0, 0, 2000, 1400});
  mover.RecomputeLines();
  mover.Remap();
  EXPECT_DOUBLE_EQ(mover.GetX(), 950.0);
  EXPECT_DOUBLE_EQ(mover.GetY(), 600 + 55.0);

  mover.SetSize(100, 160);  // as high as the band of a range 160 high: its T equals its B
  mover.SetMoveRange({0, 0, 1000, 160});
  mover.RecomputeLines();
  mover.SetMoveRange(kRange);
  mover.RecomputeLines();
  mover.SetPosition(10, 20);
  mover.Remap();
  EXPECT_EQ(mover.GetY(), 20.0);
}

TEST(CharaMover, LineFromTheBottomEdge) {
  // Bands of line 1 to 4: 100-260, 260-420, 420-580, 580-740.
  CCharaMover mover = MoverOn(kRange, 1.0);
  const struct {
    double y;
    int line;
  } cases[] = {{0, 1}, {209, 1}, {210, 2}, {300, 2}, {529, 3}, {530, 4}, {5000, 4}};
  for (const auto& c : cases) {
    mover.SetPosition(0, c.y);
    mover.SetLineFromPosition(50);
    EXPECT_EQ(mover.Line(), c.line) << c.y;
  }
  CCharaMover doubled = MoverOn(kRange, 2.0);  // two bands: 100-420, 420-740
  doubled.SetPosition(0, 350);
  doubled.SetLineFromPosition(50);
  EXPECT_EQ(doubled.Line(), 2);
}

TEST(CharaMover, RandomStartInTheMiddleThird) {
  SCharaStartState state;
  state.moveRange = {100, 50, 1300, 950};  // 5 lines of 160 below 100
  state.x = state.y = -7;
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    SeedSharedRandom(seed);
    CCharaMover mover;
    mover.Init(state, 1.0);
    const uint32_t after = NextSharedRandom();
    SeedSharedRandom(seed);
    const uint32_t r1 = NextSharedRandom();
    const uint32_t r2 = NextSharedRandom();
    EXPECT_EQ(after, NextSharedRandom());  // exactly two draws
    EXPECT_DOUBLE_EQ(mover.GetX(), 500 + std::ldexp(r1, -32) * 400);
    EXPECT_DOUBLE_EQ(mover.GetY(), 350 + std::ldexp(r2, -32) * 300);
    EXPECT_EQ(mover.Line(), std::clamp(static_cast<int>((mover.GetY() - 150) / 160), 1, 5));
  }
}

}  // namespace
