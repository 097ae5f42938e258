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

// Found by argument lookup, so they live beside SPoint.
static bool operator==(SPoint a, SPoint b) { return a.x == b.x && a.y == b.y; }
[[maybe_unused]] static void PrintTo(SPoint p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }

namespace {

// An Xvfb on a free display number, stopped with the test.
class CTestServer {
 public:
  CTestServer() {
    for (int number = 700 + static_cast<int>(getpid() % 200); number < 1000; ++number) {
      const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
      if (access(socket.c_str(), F_OK) == 0) continue;
      name_ = ":" + std::to_string(number);
      pid_ = fork();
      if (pid_ == 0) {
        const char* argv[] = {ZV_XVFB, name_.c_str(), "-screen", "0", "640x480x24", "-nolisten", "tcp", nullptr};
        execv(ZV_XVFB, const_cast<char* const*>(argv));
        _exit(127);
      }
      for (int i = 0; i < 100 && access(socket.c_str(), F_OK) != 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
      connection_ = xcb_connect(name_.c_str(), nullptr);
      if (connection_ != nullptr && xcb_connection_has_error(connection_) == 0) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
      }
      return;
    }
  }
  ~CTestServer() {
    if (connection_ != nullptr) xcb_disconnect(connection_);
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  bool Running() const { return root_ != 0; }
  const std::string& Name() const { return name_; }

  // Warps the pointer as another program would; returns once the server has done it.
  void Warp(int x, int y) {
    xcb_warp_pointer(connection_, XCB_NONE, root_, 0, 0, 0, 0, static_cast<int16_t>(x), static_cast<int16_t>(y));
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  }

 private:
  std::string name_;
  pid_t pid_ = -1;
  xcb_connection_t* connection_ = nullptr;
  uint32_t root_ = 0;
};

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
