// The message loop on the virtual clock (order, timing, frames, repeatability) and on
// the real clock (posts and frames from other threads).
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "platform/headless/headless_platform.h"
#include "recording_handler.h"
#include "temp_folder.h"

namespace {

using Events = std::vector<std::string>;

SHeadlessOptions Options(const CTempFolder& dir, bool realtime = false, uint64_t quitAfterFrames = 0) {
  SHeadlessOptions options;
  options.runtimeDir = dir.NativeString();
  options.realtime = realtime;
  options.quitAfterFrames = quitAfterFrames;
  return options;
}

// Ends the way the program does: a quit request destroys the window, and the window's
// destruction posts the quit.
class CQuittingHandler : public CRecordingHandler {
 public:
  CQuittingHandler(CEventLog& log, IUserInterface& ui) : CRecordingHandler(log), ui_(ui) {
    onMessage = [this](uint32_t message, intptr_t) {
      if (message == kQuitRequestMessage) window->Destroy();
    };
  }
  void OnDestroy() override {
    CRecordingHandler::OnDestroy();
    ui_.PostQuit(0);
  }

 private:
  IUserInterface& ui_;
};

TEST(VirtualLoop, TimersFireAtTheirIntervalsOnTheVirtualClock) {
  CTempFolder dir;
  CHeadlessPlatform platform(Options(dir));
  CEventLog log(platform.Clock());
  CRecordingHandler handler(log);
  int ticks = 0;
  handler.onCreate = [](IMainWindow& window) { window.StartTimer(100, 500); };
  handler.onTimer = [&](int) {
    if (++ticks == 3) platform.Ui().PostQuit(7);
  };
  platform.Ui().CreateMainWindow({u"main", false}, handler);
  EXPECT_EQ(platform.Ui().RunMessageLoop(), 7);
  EXPECT_EQ(log.Events(), (Events{"0 create", "500 timer 100", "1000 timer 100", "1500 timer 100"}));
}

TEST(VirtualLoop, MessagesComeBeforeTimersAndTimerPostsBeforeTheNextTimer) {
  CTempFolder dir;
  CHeadlessPlatform platform(Options(dir));
  CEventLog log(platform.Clock());
  CRecordingHandler handler(log);
  handler.onCreate = [](IMainWindow& window) {
    window.StartTimer(1, 20);
    window.StartTimer(2, 20);
    window.PostAppMessage(kAppMessageBase + 10, 1);
  };
  handler.onTimer = [&](int id) {
    if (id == 1) handler.window->PostAppMessage(kAppMessageBase + 10, 2);
    if (id == 2) platform.Ui().PostQuit(0);
  };
  platform.Ui().CreateMainWindow({u"main", false}, handler);
  EXPECT_EQ(platform.Ui().RunMessageLoop(), 0);
  EXPECT_EQ(log.Events(), (Events{"0 create", "0 message 32778 1", "20 timer 1",
                                  "20 message 32778 2", "20 timer 2"}));
}

TEST(VirtualLoop, MessagesToADestroyedWindowAreDropped) {
  CTempFolder dir;
  CHeadlessPlatform platform(Options(dir));
  CEventLog log(platform.Clock());
  CRecordingHandler handler(log);
  IMainWindow* window = platform.Ui().CreateMainWindow({u"main", false}, handler);
  window->StartTimer(1, 10);
  window->PostAppMessage(kAppMessageBase + 10, 1);
  window->Destroy();
  window->PostAppMessage(kAppMessageBase + 10, 2);
  window->Destroy();
  platform.Ui().PostQuit(4);
  EXPECT_EQ(platform.Ui().RunMessageLoop(), 4);
  EXPECT_EQ(log.Events(), (Events{"0 create", "0 destroy"}));
}

// Runs frames of 33 ms with a 500 ms timer until the quit after `frames` frames, tracing
// every step; returns the events followed by the trace.
Events RunFrames(uint64_t frames) {
  CTempFolder dir;
  CHeadlessPlatform platform(Options(dir, false, frames));
  CEventLog log(platform.Clock());
  CQuittingHandler handler(log, platform.Ui());
  handler.onCreate = [](IMainWindow& window) { window.StartTimer(100, 500); };
  CRecordingWorker worker(log, 33);
  worker.onStep = [&] { platform.Trace(CTraceRecord("step").Add("n", int64_t(worker.steps))); };
  platform.Ui().CreateMainWindow({u"main", false}, handler);
  EXPECT_TRUE(platform.Ui().StartFrameWorker(worker));
  EXPECT_FALSE(platform.Ui().StartFrameWorker(worker));
  EXPECT_EQ(platform.Ui().RunMessageLoop(), 0);
  platform.Ui().JoinFrameWorker();
  EXPECT_EQ(worker.steps, frames);
  EXPECT_EQ(platform.FrameCount(), frames);
  Events result = log.Events();
  for (const std::string& line : platform.TraceLines()) result.push_back(line);
  return result;
}

TEST(VirtualLoop, QuitAfterFramesRunsExactlyThatManyFramesWithTimersInBetween) {
  const Events events = RunFrames(20);
  ASSERT_EQ(events.size(), 20u + 6u + 20u);  // steps, other events, trace lines
  EXPECT_EQ(events[0], "0 create");
  EXPECT_EQ(events[1], "0 begin");
  EXPECT_EQ(events[2], "0 step 1");
  // The timer falls between the frames at 495 and 528, at its own time.
  const auto timer = std::find(events.begin(), events.end(), "500 timer 100");
  ASSERT_NE(timer, events.end());
  EXPECT_EQ(*(timer - 1), "495 step 16");
  EXPECT_EQ(*(timer + 1), "528 step 17");
  EXPECT_EQ(events[22], "627 step 20");
  EXPECT_EQ(events[23], "660 message 32770 0");
  EXPECT_EQ(events[24], "660 destroy");
  EXPECT_EQ(events[25], "660 end");
  // Each step is traced with the number of frames finished before it.
  EXPECT_EQ(events[26], R"({"frame":0,"event":"step","n":1})");
  EXPECT_EQ(events.back(), R"({"frame":19,"event":"step","n":20})");
}

TEST(VirtualLoop, SameInputsGiveTheSameRun) { EXPECT_EQ(RunFrames(40), RunFrames(40)); }

TEST(VirtualLoop, WorkerThatStopsEndsAndTimersGoOn) {
  CTempFolder dir;
  CHeadlessPlatform platform(Options(dir));
  CEventLog log(platform.Clock());
  CRecordingHandler handler(log);
  handler.onCreate = [](IMainWindow& window) { window.StartTimer(100, 100); };
  handler.onTimer = [&](int) { platform.Ui().PostQuit(0); };
  CRecordingWorker worker(log, 40, 2);
  platform.Ui().CreateMainWindow({u"main", false}, handler);
  platform.Ui().StartFrameWorker(worker);
  EXPECT_EQ(platform.Ui().RunMessageLoop(), 0);
  platform.Ui().JoinFrameWorker();
  EXPECT_EQ(log.Events(),
            (Events{"0 create", "0 begin", "0 step 1", "40 step 2", "80 end", "100 timer 100"}));
}

TEST(VirtualLoop, JoinPairsBeginAndEndEvenWithoutALoop) {
  CTempFolder dir;
  CHeadlessPlatform platform(Options(dir));
  platform.Ui().JoinFrameWorker();  // nothing started: nothing happens
  CEventLog log(platform.Clock());
  CRecordingWorker worker(log, 33);
  platform.Ui().StartFrameWorker(worker);
  platform.Ui().JoinFrameWorker();
  platform.Ui().JoinFrameWorker();
  EXPECT_EQ(log.Events(), (Events{"0 begin", "0 end"}));
}

TEST(VirtualClock, SleepAdvancesAndMillisecondsWrapAt32Bits) {
  CTempFolder dir;
  CHeadlessPlatform platform(Options(dir));
  IClock& clock = platform.Clock();
  EXPECT_EQ(clock.Milliseconds(), 0u);
  clock.Sleep(4000000000u);
  clock.Sleep(400000000u);
  EXPECT_EQ(clock.Milliseconds(), static_cast<uint32_t>(4400000000ull));
}

TEST(RealtimeLoop, PostsFromAnotherThreadArriveInOrder) {
  CTempFolder dir;
  CHeadlessPlatform platform(Options(dir, true));
  CEventLog log(platform.Clock());
  std::vector<intptr_t> received;
  CRecordingHandler handler(log);
  handler.onMessage = [&](uint32_t, intptr_t param) { received.push_back(param); };
  IMainWindow* window = platform.Ui().CreateMainWindow({u"main", false}, handler);
  std::thread poster([&] {
    for (intptr_t i = 0; i < 2000; ++i) window->PostAppMessage(kAppMessageBase + 10, i);
    platform.Ui().PostQuit(3);
  });
  EXPECT_EQ(platform.Ui().RunMessageLoop(), 3);
  poster.join();
  ASSERT_EQ(received.size(), 2000u);
  for (intptr_t i = 0; i < 2000; ++i) ASSERT_EQ(received[i], i);
}

TEST(RealtimeLoop, FrameThreadRequestsTheQuitAndTimersRun) {
  CTempFolder dir;
  CHeadlessPlatform platform(Options(dir, true, 5));
  CEventLog log(platform.Clock());
  CQuittingHandler handler(log, platform.Ui());
  CRecordingWorker worker(log, 2);
  // The quit request stops the frames; the next timer tick then ends the loop, so both
  // have to arrive.
  bool quitRequested = false;
  handler.onCreate = [](IMainWindow& window) { window.StartTimer(1, 10); };
  handler.onMessage = [&](uint32_t message, intptr_t) {
    if (message != kQuitRequestMessage) return;
    quitRequested = true;
    worker.stop = true;
  };
  handler.onTimer = [&](int) {
    if (quitRequested) handler.window->Destroy();
  };
  platform.Ui().CreateMainWindow({u"main", false}, handler);
  ASSERT_TRUE(platform.Ui().StartFrameWorker(worker));
  EXPECT_EQ(platform.Ui().RunMessageLoop(), 0);
  platform.Ui().JoinFrameWorker();
  EXPECT_GE(worker.steps, 5u);
  const Events events = log.Events();
  const auto ends = std::count_if(events.begin(), events.end(),
                                  [](const std::string& e) { return e.ends_with(" end"); });
  EXPECT_EQ(ends, 1);
}

}  // namespace
