// The recording audio of the headless backend: timing on the virtual clock, the
// notifications, resets, re-queuing from a notification and the mix.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "media/wav_header.h"
#include "platform/headless/audio_headless.h"
#include "platform/headless/virtual_clock.h"

namespace {

using Events = std::vector<std::string>;

SPcmFormat Mono16(uint32_t rate) {
  SPcmFormat format;
  format.channels = 1;
  format.samplesPerSecond = rate;
  format.averageBytesPerSecond = rate * 2;
  format.blockAlign = 2;
  format.bitsPerSample = 16;
  return format;
}

TEST(HeadlessAudio, BuffersFinishWhenTheirTimeHasPassed) {
  CVirtualClock clock;
  CHeadlessAudio audio(clock);
  std::vector<const SAudioBuffer*> finished;
  auto output = audio.Open(Mono16(1000), [&](IAudioOutput&, SAudioBuffer& b) { finished.push_back(&b); });
  ASSERT_NE(output, nullptr);
  std::vector<uint8_t> bytes(200);  // 100 ms
  SAudioBuffer first{bytes.data(), 200}, second{bytes.data(), 100};
  ASSERT_TRUE(output->Queue(first));
  ASSERT_TRUE(output->Queue(second));
  EXPECT_FALSE(output->Queue(first));  // already queued

  clock.AdvanceTo(99);
  EXPECT_EQ(audio.Pump(), 0);
  clock.AdvanceTo(100);
  EXPECT_EQ(audio.Pump(), 1);
  clock.AdvanceTo(150);
  EXPECT_EQ(audio.Pump(), 1);
  EXPECT_EQ(finished, (std::vector<const SAudioBuffer*>{&first, &second}));
  EXPECT_TRUE(output->Close());
  EXPECT_EQ(audio.Events(),
            (Events{"open 1 1ch 1000Hz 16bit", "queue 1 200", "queue 1 100", "done 1 200", "done 1 100", "close 1"}));
}

// A long run keeps no log, but its buffers still finish on time.
TEST(HeadlessAudio, WithoutTheLogBuffersStillFinish) {
  CVirtualClock clock;
  CHeadlessAudio audio(clock);
  audio.KeepEvents(false);
  int finished = 0;
  auto output = audio.Open(Mono16(1000), [&](IAudioOutput&, SAudioBuffer&) { ++finished; });
  ASSERT_NE(output, nullptr);
  std::vector<uint8_t> bytes(200);
  SAudioBuffer buffer{bytes.data(), 200};
  ASSERT_TRUE(output->Queue(buffer));
  clock.AdvanceTo(100);
  EXPECT_EQ(audio.Pump(), 1);
  EXPECT_EQ(finished, 1);
  EXPECT_TRUE(audio.Events().empty());
}

TEST(HeadlessAudio, RefusesFormatsAPcmDeviceRefuses) {
  CVirtualClock clock;
  CHeadlessAudio audio(clock);
  SPcmFormat inconsistent = Mono16(8000);
  inconsistent.blockAlign = 4;
  SPcmFormat silent = Mono16(0);
  SPcmFormat odd = Mono16(8000);
  odd.bitsPerSample = 12;
  for (const SPcmFormat& format : {inconsistent, silent, odd}) EXPECT_EQ(audio.Open(format, nullptr), nullptr);
  EXPECT_EQ(audio.Events(), (Events{"open-failed", "open-failed", "open-failed"}));
}

// A notification that queues again (what a looping channel does) must neither deadlock
// nor survive a reset.
TEST(HeadlessAudio, NotificationsMayQueueAgainAndResetReturnsEverything) {
  CVirtualClock clock;
  CHeadlessAudio audio(clock);
  std::vector<uint8_t> bytes(20);
  SAudioBuffer buffer{bytes.data(), 20};
  bool requeue = true;
  auto output = audio.Open(Mono16(1000), [&](IAudioOutput& out, SAudioBuffer& b) {
    if (requeue) {
      EXPECT_TRUE(out.Queue(b));
    }
  });
  ASSERT_TRUE(output->Queue(buffer));
  clock.AdvanceTo(35);
  EXPECT_EQ(audio.Pump(), 3);  // at 10, 20 and 30 ms, each queued again
  EXPECT_TRUE(output->IsQueued(buffer));
  EXPECT_FALSE(output->Close());
  requeue = false;
  EXPECT_TRUE(output->Reset());
  EXPECT_FALSE(output->IsQueued(buffer));
  EXPECT_TRUE(output->Close());
  EXPECT_FALSE(output->Queue(buffer));
}

TEST(HeadlessAudio, MixesWhatWasPlayedIntoAWavFile) {
  CVirtualClock clock;
  CHeadlessAudio audio(clock);
  audio.RecordMix(true);
  // 441 samples at 44.1 kHz: 10 ms of a constant level, then a reset halfway through
  // a second buffer.
  std::vector<uint8_t> bytes(882);
  for (size_t i = 0; i < bytes.size(); i += 2) bytes[i + 1] = 0x10;  // 0x1000
  SAudioBuffer first{bytes.data(), 882}, second{bytes.data(), 882};
  auto output = audio.Open(Mono16(44100), nullptr);
  ASSERT_TRUE(output->Queue(first));
  ASSERT_TRUE(output->Queue(second));
  clock.AdvanceTo(10);
  audio.Pump();
  clock.AdvanceTo(15);
  ASSERT_TRUE(output->Reset());

  const std::string mix = audio.MixWavFile();
  const auto wav = DecodeWav(mix);
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->info.format.channels, 2);
  EXPECT_EQ(wav->info.format.samplesPerSecond, 44100u);
  // 441 + 220 stereo frames of 4 bytes, every sample 0x1000.
  ASSERT_EQ(wav->samples.size(), (441u + 220u) * 4u);
  for (size_t i = 0; i < wav->samples.size(); i += 2) {
    ASSERT_EQ(static_cast<uint8_t>(wav->samples[i + 1]), 0x10) << i;
  }
}

}  // namespace

// The pump thread sleeps while nothing is queued and wakes for the next buffer, again
// and again; it ends promptly while asleep.
TEST(HeadlessAudio, ThePumpThreadWakesForEachBufferQueuedWhileItSleeps) {
  CVirtualClock clock;
  std::atomic<int> finished{0};
  {
    CHeadlessAudio audio(clock);
    audio.KeepEvents(false);
    audio.StartPumpThread(1);
    auto output = audio.Open(Mono16(1000), [&](IAudioOutput&, SAudioBuffer&) { finished.fetch_add(1); });
    ASSERT_NE(output, nullptr);
    std::vector<uint8_t> bytes(20);  // 10 ms
    SAudioBuffer buffer{bytes.data(), 20};
    for (int round = 1; round <= 3; ++round) {
      // Long enough for the thread to find nothing queued and go to sleep.
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      ASSERT_TRUE(output->Queue(buffer));
      clock.AdvanceTo(clock.NowMs() + 10);
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
      while (finished.load() < round && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      ASSERT_EQ(finished.load(), round) << "the sleeping pump missed a buffer";
    }
    EXPECT_TRUE(output->Close());
  }
  EXPECT_EQ(finished.load(), 3);
}

namespace {

// The wall clock, counting how often it is read: each read is a wake-up of the pump.
class CCountingClock final : public CHeadlessClock {
 public:
  uint64_t NowMs() override {
    reads_.fetch_add(1);
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - start_).count());
  }
  void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  int Reads() const { return reads_.load(); }

 private:
  const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::atomic<int> reads_{0};
};

}  // namespace

// The desktop's silent stand-in for a sound card: the pump sleeps until the buffer is
// due rather than for its longest period, and not at all while nothing is queued.
TEST(HeadlessAudio, ThePumpThreadWakesWhenABufferIsDueAndNeverWhileIdle) {
  CCountingClock clock;
  CHeadlessAudio audio(clock);
  audio.KeepEvents(false);
  audio.StartPumpThread(1000);
  std::atomic<int> finished{0};
  auto output = audio.Open(Mono16(1000), [&](IAudioOutput&, SAudioBuffer&) { finished.fetch_add(1); });
  ASSERT_NE(output, nullptr);
  std::vector<uint8_t> bytes(600);  // 300 ms
  SAudioBuffer buffer{bytes.data(), 600};
  for (int round = 1; round <= 2; ++round) {
    const auto queued = std::chrono::steady_clock::now();
    ASSERT_TRUE(output->Queue(buffer));
    while (finished.load() < round && std::chrono::steady_clock::now() - queued < std::chrono::seconds(5)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const auto took = std::chrono::steady_clock::now() - queued;
    ASSERT_EQ(finished.load(), round);
    EXPECT_GE(took, std::chrono::milliseconds(299));
    EXPECT_LT(took, std::chrono::milliseconds(600)) << "the pump slept past the buffer's end";
    // Idle now: the pump thread reads the clock no more.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const int reads = clock.Reads();
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(clock.Reads(), reads) << "the idle pump woke";
  }
  EXPECT_TRUE(output->Close());
}
