// Playback channels against the recording headless audio on a virtual clock: the
// repeat counting, restarts, stopping, muting and the thread shared with the output.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "temp_folder.h"
#include "media/sound_manager.h"
#include "platform/headless/audio_headless.h"
#include "platform/headless/virtual_clock.h"
#include "sound_wav_builder.h"

namespace {

using Events = std::vector<std::string>;

// A 100 ms sound (800 bytes at 8 kHz) and a 50 ms one in another format.
class SoundChannelTest : public ::testing::Test {
 protected:
  SoundChannelTest() : audio_(clock_) {
    folder_.WriteBytes("long.wav", MonoPcm8(8000, std::string(800, '\x90')));
    folder_.WriteBytes("short.wav", CWavBuilder().Fmt(1, 1, 16000, 16).Chunk("data", std::string(1600, '\0')).File());
  }

  std::u16string Path(const char16_t* name) const { return folder_.Engine(name); }
  // Moves the clock in 10 ms steps and delivers what finished, like a frame loop.
  void RunFor(uint64_t ms) {
    for (uint64_t t = 0; t < ms; t += 10) {
      clock_.Sleep(10);
      audio_.Pump();
    }
  }
  int CountEvents(const std::string& prefix) const {
    int count = 0;
    for (const std::string& event : audio_.Events()) count += event.rfind(prefix, 0) == 0;
    return count;
  }

  CTempFolder folder_;
  CVirtualClock clock_;
  CHeadlessAudio audio_;
};

TEST_F(SoundChannelTest, RepeatCountDecidesHowOftenTheSoundPlays) {
  struct SCase {
    int repeats;
    int plays;
  };
  for (const SCase c : {SCase{0, 1}, SCase{1, 2}, SCase{2, 3}, SCase{5, 6}}) {
    SCOPED_TRACE(c.repeats);
    audio_.ClearEvents();
    CSoundManager channel(audio_);
    ASSERT_TRUE(channel.Play(Path(u"long.wav"), c.repeats));
    RunFor(1000);
    EXPECT_EQ(CountEvents("queue "), c.plays);
    EXPECT_EQ(CountEvents("done "), c.plays);
    EXPECT_FALSE(channel.IsPlaying());
  }
}

TEST_F(SoundChannelTest, NegativeRepeatsPlayUntilStopped) {
  CSoundManager channel(audio_);
  ASSERT_TRUE(channel.Play(Path(u"long.wav"), -1));
  RunFor(1000);
  // Ten finished, and always two queued so repeats join without a gap.
  EXPECT_EQ(CountEvents("done "), 10);
  EXPECT_EQ(CountEvents("queue "), 12);
  EXPECT_TRUE(channel.IsPlaying());
  ASSERT_TRUE(channel.Stop());
  RunFor(500);
  EXPECT_FALSE(channel.IsPlaying());
  EXPECT_EQ(CountEvents("queue "), 12);
  EXPECT_TRUE(channel.IsOpen());
}

TEST_F(SoundChannelTest, PlayingTheLoadedSoundRestartsItWithItsRepeats) {
  CSoundManager channel(audio_);
  ASSERT_TRUE(channel.Play(Path(u"long.wav"), -1));
  RunFor(250);
  audio_.ClearEvents();
  ASSERT_TRUE(channel.Play(Path(u"long.wav"), -1));
  // One output for both plays: reset, then both headers again from the start.
  EXPECT_EQ(audio_.Events(), (Events{"reset 1", "done 1 800", "done 1 800", "queue 1 800", "queue 1 800"}));
  RunFor(1000);
  EXPECT_TRUE(channel.IsPlaying());

  ASSERT_TRUE(channel.Play(Path(u"long.wav"), 2));
  audio_.ClearEvents();
  RunFor(1000);
  EXPECT_EQ(CountEvents("done "), 3);
}

TEST_F(SoundChannelTest, AnotherSoundClosesTheOutputAndOpensOneForItsFormat) {
  CSoundManager channel(audio_);
  ASSERT_TRUE(channel.Play(Path(u"long.wav"), -1));
  RunFor(30);
  ASSERT_TRUE(channel.Play(Path(u"short.wav"), 1));
  EXPECT_EQ(audio_.Events(), (Events{"open 1 1ch 8000Hz 8bit", "queue 1 800", "queue 1 800", "reset 1", "done 1 800",
                                     "done 1 800", "close 1", "open 2 1ch 16000Hz 16bit", "queue 2 1600",
                                     "queue 2 1600"}));
  RunFor(500);
  EXPECT_EQ(CountEvents("done 2"), 2);
}

TEST_F(SoundChannelTest, FailuresAreReportedAndNothingPlays) {
  folder_.WriteBytes("odd.wav", CWavBuilder().Fmt(1, 3, 8000, 12).Chunk("data", "123456").File());
  CSoundManager channel(audio_);
  EXPECT_FALSE(channel.Play(Path(u"missing.wav"), 0));
  // The loader takes any PCM header; the device refuses a format it cannot play.
  EXPECT_FALSE(channel.Play(Path(u"odd.wav"), 0));
  audio_.SetDeviceAvailable(false);
  EXPECT_FALSE(channel.Play(Path(u"long.wav"), 0));
  EXPECT_FALSE(channel.IsOpen());
  audio_.SetDeviceAvailable(true);
  EXPECT_TRUE(channel.Play(Path(u"long.wav"), 0));
}

TEST_F(SoundChannelTest, MutedChannelSucceedsSilently) {
  CSoundManager channel(audio_);
  ASSERT_TRUE(channel.Play(Path(u"long.wav"), -1));
  channel.SetMute(true);
  EXPECT_FALSE(channel.IsOpen());
  EXPECT_EQ(channel.LoadedSound(), nullptr);
  audio_.ClearEvents();
  EXPECT_TRUE(channel.Play(Path(u"long.wav"), 0));
  EXPECT_TRUE(channel.Play(Path(u"missing.wav"), 0));
  EXPECT_TRUE(audio_.Events().empty());
  channel.SetMute(false);
  EXPECT_TRUE(channel.Play(Path(u"long.wav"), 0));
  EXPECT_TRUE(channel.IsPlaying());
}

TEST_F(SoundChannelTest, StopAndReleaseAndDestructionCloseTheOutput) {
  {
    CSoundManager channel(audio_);
    ASSERT_TRUE(channel.Play(Path(u"long.wav"), -1));
    channel.StopAndRelease();
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_EQ(CountEvents("close 1"), 1);
    ASSERT_TRUE(channel.Play(Path(u"long.wav"), -1));
    // Close refuses while buffers are queued.
    EXPECT_FALSE(channel.Close());
  }
  EXPECT_EQ(CountEvents("close 2"), 1);
  EXPECT_EQ(CountEvents("open"), 2);
}

TEST(SoundWarmUp, OpensAndClosesWithoutPlaying) {
  CVirtualClock clock;
  CHeadlessAudio audio(clock);
  EXPECT_TRUE(WarmUpAudioOutput(audio));
  EXPECT_EQ(audio.Events(), (Events{"open 1 1ch 50Hz 8bit", "reset 1", "close 1"}));
  audio.SetDeviceAvailable(false);
  EXPECT_FALSE(WarmUpAudioOutput(audio));
}

// The output's thread re-queues while the frame thread restarts, stops and mutes; run
// under ThreadSanitizer this checks the shared repeat count and header index.
TEST_F(SoundChannelTest, OutputThreadAndFrameThreadShareTheChannel) {
  CSoundManager channel(audio_);
  std::atomic<bool> stop{false};
  std::thread pump([&] {
    while (!stop.load()) {
      clock_.Sleep(10);
      audio_.Pump();
    }
  });
  for (int i = 0; i < 300; ++i) {
    EXPECT_TRUE(channel.Play(i % 3 ? Path(u"long.wav") : Path(u"short.wav"), i % 4 - 1));
    if (i % 7 == 0) {
      EXPECT_TRUE(channel.Stop());
    }
    if (i % 11 == 0) channel.SetMute(i % 2 == 0);
  }
  channel.SetMute(false);
  ASSERT_TRUE(channel.Play(Path(u"long.wav"), 0));
  stop.store(true);
  pump.join();
  // Stopping leaves nothing queued, however the notifications interleaved.
  ASSERT_TRUE(channel.Stop());
  EXPECT_FALSE(channel.IsPlaying());
  EXPECT_TRUE(channel.Close());
}

}  // namespace
