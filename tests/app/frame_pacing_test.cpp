#include <gtest/gtest.h>

#include <vector>

#include "app/frame_pacing.h"

namespace {

// Runs frames whose work takes work[i] ms on a simulated clock from `start`; returns the
// start time of every frame.
std::vector<uint32_t> FrameStarts(uint32_t start, const std::vector<uint32_t>& work) {
  SFramePacing pacing{start, 0};
  std::vector<uint32_t> starts;
  uint32_t now = start;
  for (uint32_t w : work) {
    starts.push_back(now);
    const uint32_t sleep = NextFrameSleep(pacing, now);
    now += w + sleep;  // the sleep follows the work but was measured from `now`
  }
  return starts;
}

TEST(FramePacing, IdleFramesFallOnTheThirtyHertzGrid) {
  const auto starts = FrameStarts(0, std::vector<uint32_t>(31, 0));
  for (size_t i = 0; i < starts.size(); ++i) {
    const auto grid = static_cast<uint32_t>(static_cast<float>(i) * 33.333332f);
    EXPECT_EQ(starts[i], grid) << "frame " << i;
  }
  EXPECT_EQ(starts[30], 999u);  // single-precision steps land just short of one second
}

TEST(FramePacing, ASlowFrameMakesTheNextSkipItsSleepThenTheGridReturns) {
  std::vector<uint32_t> work(8, 0);
  work[2] = 50;
  const auto starts = FrameStarts(0, work);
  EXPECT_EQ(starts[2], 66u);
  EXPECT_EQ(starts[3], 66u + 50u + (100u - 66u));  // the slow frame's sleep was measured before its work
  EXPECT_EQ(starts[4], starts[3]);                // behind the grid: no sleep at all
  EXPECT_EQ(starts[5], 166u);                     // back on the grid of the same window
  EXPECT_EQ(starts[6], 200u);
}

TEST(FramePacing, GridReanchorsAtTheFirstFrameOneSecondAfterTheWindowStart) {
  SFramePacing pacing{0, 0};
  uint32_t now = 0;
  for (int i = 0; i < 31; ++i) now += NextFrameSleep(pacing, now);
  ASSERT_EQ(now, 1033u);  // frame 31 starts here, more than 1000 ms into the window
  NextFrameSleep(pacing, now);
  EXPECT_EQ(pacing.windowStart, 1033u);
  EXPECT_EQ(pacing.frameCounter, 1u);
}

TEST(FramePacing, ElapsedTimeWrapsWithTheMillisecondClock) {
  const uint32_t start = 0xFFFFFFF0u;
  const auto starts = FrameStarts(start, std::vector<uint32_t>(4, 0));
  EXPECT_EQ(static_cast<uint32_t>(starts[1] - start), 33u);
  EXPECT_EQ(static_cast<uint32_t>(starts[3] - start), 100u);
}

TEST(FramePacing, AStallLongerThanASecondReanchorsWithoutSleeping) {
  SFramePacing pacing{0, 0};
  EXPECT_EQ(NextFrameSleep(pacing, 0), 33u);
  EXPECT_EQ(NextFrameSleep(pacing, 5000), 0u);
  EXPECT_EQ(pacing.windowStart, 5000u);
  EXPECT_EQ(NextFrameSleep(pacing, 5000), 66u);
}

}  // namespace
