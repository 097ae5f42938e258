// Our own X connection's pointer sampling on a real server (an Xvfb of the test's own):
// a resting pointer is not asked for again each frame, yet every way it can move
// reaches the sample: raw device motion at once, a move one of our windows saw at once,
// and a warp by another program within the recheck interval.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <thread>

#include "platform/qt/x11_display.h"
#include "test_x_server.h"

// Found by argument lookup, so they live beside SPoint.
static bool operator==(SPoint a, SPoint b) { return a.x == b.x && a.y == b.y; }
[[maybe_unused]] static void PrintTo(SPoint p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }

namespace {

// Connects a CX11Display to `display` (it takes $DISPLAY), leaving $DISPLAY as it was.
std::unique_ptr<CX11Display> ConnectTo(const std::string& display) {
  const char* before = std::getenv("DISPLAY");
  const std::string saved = before != nullptr ? before : "";
  setenv("DISPLAY", display.c_str(), 1);
  auto connected = std::make_unique<CX11Display>();
  if (before != nullptr) {
    setenv("DISPLAY", saved.c_str(), 1);
  } else {
    unsetenv("DISPLAY");
  }
  return connected;
}

SPoint Sample(CX11Display& display) {
  const auto position = display.SampledPosition();
  return position ? *position : SPoint{-1, -1};
}

}  // namespace

TEST(X11PointerSample, EveryKindOfMoveReachesTheSampleAndARestingPointerIsNotAskedForAgain) {
  CTestServer server;
  if (!server.Running()) GTEST_SKIP() << "no Xvfb started";
  auto display = ConnectTo(server.Name());
  ASSERT_TRUE(display->Connected());

  server.Warp(10, 20);
  EXPECT_EQ(Sample(*display), (SPoint{10, 20})) << "the first sample asks the server";

  // A warp makes no raw event: the samples keep the last answer until the recheck.
  server.Warp(30, 40);
  int stale = 0;
  while (Sample(*display) == SPoint{10, 20} && stale <= CX11Display::kRecheckSamples) ++stale;
  EXPECT_GT(stale, 0) << "a resting pointer was asked for at every sample";
  EXPECT_LT(stale, CX11Display::kRecheckSamples) << "a warp never reached the sample";
  EXPECT_EQ(Sample(*display), (SPoint{30, 40}));

  // A move one of our windows saw is asked for at the next sample.
  server.Warp(50, 60);
  display->NotePointerMoved();
  EXPECT_EQ(Sample(*display), (SPoint{50, 60}));
  EXPECT_EQ(Sample(*display), (SPoint{50, 60}));

  // A query for the buttons also refreshes the sample.
  server.Warp(70, 80);
  const auto state = display->Pointer();
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(state->position, (SPoint{70, 80}));
  EXPECT_EQ(Sample(*display), (SPoint{70, 80}));

  // Device motion (xdotool moves relatively through the XTEST device) is a raw event:
  // the very next sample has it.
  const std::string move = "DISPLAY=" + server.Name() + " xdotool mousemove_relative -- 5 7 >/dev/null 2>&1";
  if (std::system(move.c_str()) != 0) GTEST_SKIP() << "xdotool is not available for device motion";
  // The raw event reaches our connection soon after the move is done. Fewer samples
  // than the recheck interval: only the raw event can bring the new place.
  SPoint moved = Sample(*display);
  for (int i = 0; i < CX11Display::kRecheckSamples - 3 && moved == SPoint{70, 80}; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    moved = Sample(*display);
  }
  EXPECT_EQ(moved, (SPoint{75, 87}));
}
