// The Windows sound outputs: the silent one every machine has, and the waveOut device
// when the system opens one (skipped otherwise), held to the same contract.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/win32/win32_audio.h"
#include "platform/win32/win32_wave_output.h"

namespace {

using namespace std::chrono_literals;

SPcmFormat Pcm(uint16_t channels, uint16_t bits, uint32_t rate = 8000) {
  SPcmFormat format;
  format.channels = channels;
  format.bitsPerSample = bits;
  format.samplesPerSecond = rate;
  format.blockAlign = static_cast<uint16_t>(channels * bits / 8);
  format.averageBytesPerSecond = rate * format.blockAlign;
  return format;
}

// Silence of 8-bit mono at 8000 Hz: one byte a millisecond / 8.
struct SSilence {
  explicit SSilence(uint32_t ms) : bytes(ms * 8, 128), buffer{bytes.data(), static_cast<uint32_t>(bytes.size())} {}
  std::vector<uint8_t> bytes;
  SAudioBuffer buffer;
};

// The buffers whose notifications came, in order; `then` runs inside the notification.
class CDoneLog {
 public:
  AudioBufferDone Callback(std::function<void(IAudioOutput&, SAudioBuffer&)> then = {}) {
    return [this, then](IAudioOutput& output, SAudioBuffer& buffer) {
      if (then) then(output, buffer);
      std::lock_guard lock(mutex_);
      done_.push_back(&buffer);
      changed_.notify_all();
    };
  }
  bool WaitFor(size_t count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, 5s, [&] { return done_.size() >= count; });
  }
  std::vector<const SAudioBuffer*> Done() {
    std::lock_guard lock(mutex_);
    return done_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<const SAudioBuffer*> done_;
};

enum class EPath { kSilent, kDevice };
void PrintTo(EPath path, std::ostream* out) { *out << (path == EPath::kSilent ? "silent" : "device"); }

class Win32AudioOutput : public testing::TestWithParam<EPath> {
 protected:
  void SetUp() override {
    if (GetParam() != EPath::kDevice) return;
    MMRESULT result = MMSYSERR_NOERROR;
    if (!CWin32WaveOutput::Open(Pcm(1, 8), nullptr, result)) GTEST_SKIP() << "no waveOut device here: error " << result;
  }
  std::unique_ptr<IAudioOutput> Open(const SPcmFormat& format, AudioBufferDone done) {
    if (GetParam() == EPath::kSilent) return silent_.Open(format, std::move(done));
    MMRESULT result = MMSYSERR_NOERROR;
    return CWin32WaveOutput::Open(format, std::move(done), result);
  }

  CWin32Audio silent_{EWin32AudioDevice::kSilent};
  CDoneLog log_;
};

// Stereo 16-bit, with buffers that hold less than one sample frame in between.
TEST_P(Win32AudioOutput, DeliversEveryBufferInQueueOrder) {
  auto output = Open(Pcm(2, 16, 22050), log_.Callback());
  ASSERT_NE(output, nullptr);
  std::vector<uint8_t> samples(22050 / 20 * 4 + 3, 0);  // a twentieth of a second and a partial frame
  SAudioBuffer whole{samples.data(), static_cast<uint32_t>(samples.size())};
  SAudioBuffer partial{samples.data(), 3};
  SAudioBuffer empty{nullptr, 0};
  SAudioBuffer shorter{samples.data(), 400};
  for (SAudioBuffer* buffer : {&whole, &partial, &empty, &shorter}) ASSERT_TRUE(output->Queue(*buffer));
  ASSERT_TRUE(log_.WaitFor(4));
  EXPECT_EQ(log_.Done(), (std::vector<const SAudioBuffer*>{&whole, &partial, &empty, &shorter}));
  EXPECT_FALSE(output->IsQueued(whole));
  EXPECT_TRUE(output->Close());
}

TEST_P(Win32AudioOutput, ANotificationThatQueuesAgainLoops) {
  SSilence sound(20);
  std::atomic<int> refused{0};
  auto output = Open(Pcm(1, 8), log_.Callback([&](IAudioOutput& out, SAudioBuffer& buffer) {
    if (log_.Done().size() < 4 && !out.Queue(buffer)) refused.fetch_add(1);
  }));
  ASSERT_NE(output, nullptr);
  ASSERT_TRUE(output->Queue(sound.buffer));
  ASSERT_TRUE(log_.WaitFor(5));
  for (int i = 0; i < 500 && output->IsQueued(sound.buffer); ++i) std::this_thread::sleep_for(10ms);
  EXPECT_FALSE(output->IsQueued(sound.buffer));
  EXPECT_EQ(log_.Done().size(), 5u);
  EXPECT_EQ(refused.load(), 0);
}

TEST_P(Win32AudioOutput, ResetReturnsEveryQueuedBufferBeforeItReturns) {
  auto output = Open(Pcm(1, 8), log_.Callback());
  ASSERT_NE(output, nullptr);
  SSilence a(3000), b(3000);
  ASSERT_TRUE(output->Queue(a.buffer));
  ASSERT_TRUE(output->Queue(b.buffer));
  EXPECT_TRUE(output->IsQueued(b.buffer));
  ASSERT_TRUE(output->Reset());
  EXPECT_EQ(log_.Done(), (std::vector<const SAudioBuffer*>{&a.buffer, &b.buffer}));
  EXPECT_FALSE(output->IsQueued(a.buffer));
  EXPECT_FALSE(output->IsQueued(b.buffer));
  // The output plays on after a reset.
  ASSERT_TRUE(output->Queue(a.buffer));
  ASSERT_TRUE(output->Reset());
  EXPECT_EQ(log_.Done().size(), 3u);
}

// What a running notification queues must not survive a reset that came meanwhile.
TEST_P(Win32AudioOutput, ResetWaitsForARunningNotification) {
  SSilence first(20), second(3000);
  std::atomic<bool> entered{false};
  auto output = Open(Pcm(1, 8), log_.Callback([&](IAudioOutput& out, SAudioBuffer& buffer) {
    if (&buffer != &first.buffer) return;
    entered.store(true);
    std::this_thread::sleep_for(300ms);
    out.Queue(second.buffer);
  }));
  ASSERT_NE(output, nullptr);
  ASSERT_TRUE(output->Queue(first.buffer));
  for (int i = 0; i < 500 && !entered.load(); ++i) std::this_thread::sleep_for(10ms);
  ASSERT_TRUE(entered.load());
  ASSERT_TRUE(output->Reset());
  EXPECT_FALSE(output->IsQueued(second.buffer));
  EXPECT_EQ(log_.Done(), (std::vector<const SAudioBuffer*>{&first.buffer, &second.buffer}));
}

TEST_P(Win32AudioOutput, ResetFromInsideANotificationReturnsTheRest) {
  SSilence first(20), second(3000);
  std::atomic<bool> resetWorked{false};
  auto output = Open(Pcm(1, 8), log_.Callback([&](IAudioOutput& out, SAudioBuffer& buffer) {
    if (&buffer == &first.buffer) resetWorked.store(out.Reset());
  }));
  ASSERT_NE(output, nullptr);
  ASSERT_TRUE(output->Queue(first.buffer));
  ASSERT_TRUE(output->Queue(second.buffer));
  ASSERT_TRUE(log_.WaitFor(2));
  EXPECT_TRUE(resetWorked.load());
  EXPECT_EQ(log_.Done(), (std::vector<const SAudioBuffer*>{&second.buffer, &first.buffer}));
}

// A channel's way of looping: two headers alternate, and a stop clears the flag first
// so the buffers the reset returns are not queued again.
TEST_P(Win32AudioOutput, ResetsRacingALoopLeaveNothingQueued) {
  SSilence one(5), two(5);
  std::atomic<bool> looping{true};
  std::atomic<int> dones{0};
  auto output = Open(Pcm(1, 8), [&](IAudioOutput& out, SAudioBuffer& buffer) {
    dones.fetch_add(1);
    if (looping.load()) out.Queue(&buffer == &one.buffer ? one.buffer : two.buffer);
  });
  ASSERT_NE(output, nullptr);
  for (int round = 0; round < 40; ++round) {
    looping.store(true);
    ASSERT_TRUE(output->Queue(one.buffer));
    ASSERT_TRUE(output->Queue(two.buffer));
    std::this_thread::sleep_for(std::chrono::milliseconds(round % 7));
    looping.store(false);
    ASSERT_TRUE(output->Reset());
    ASSERT_FALSE(output->IsQueued(one.buffer)) << "round " << round;
    ASSERT_FALSE(output->IsQueued(two.buffer)) << "round " << round;
  }
  EXPECT_GE(dones.load(), 80);
  EXPECT_TRUE(output->Close());
}

TEST_P(Win32AudioOutput, CloseRefusesWhileABufferIsQueued) {
  auto output = Open(Pcm(1, 8), log_.Callback());
  ASSERT_NE(output, nullptr);
  SSilence sound(3000);
  ASSERT_TRUE(output->Queue(sound.buffer));
  EXPECT_FALSE(output->Queue(sound.buffer));  // already queued
  EXPECT_FALSE(output->Close());
  EXPECT_TRUE(output->IsQueued(sound.buffer));
  ASSERT_TRUE(output->Reset());
  EXPECT_TRUE(output->Close());
  EXPECT_FALSE(output->Queue(sound.buffer));
  EXPECT_FALSE(output->Reset());
}

TEST_P(Win32AudioOutput, DestroyedWithABufferQueuedItSendsNoNotification) {
  auto output = Open(Pcm(1, 8), log_.Callback());
  ASSERT_NE(output, nullptr);
  SSilence sound(3000);
  ASSERT_TRUE(output->Queue(sound.buffer));
  output.reset();
  EXPECT_TRUE(log_.Done().empty());
}

INSTANTIATE_TEST_SUITE_P(Paths, Win32AudioOutput, testing::Values(EPath::kSilent, EPath::kDevice),
                         [](const auto& path) { return path.param == EPath::kSilent ? "Silent" : "Device"; });

TEST(Win32Audio, OpensPcmOfOneOrTwoChannelsAnd8Or16BitsOnly) {
  CWin32Audio audio(EWin32AudioDevice::kSilent);
  for (const SPcmFormat& format : {Pcm(1, 8), Pcm(2, 8), Pcm(1, 16), Pcm(2, 16, 44100)}) {
    auto output = audio.Open(format, nullptr);
    ASSERT_NE(output, nullptr) << format.channels << "ch " << format.bitsPerSample << "bit";
    EXPECT_TRUE(output->Close());
  }
  SPcmFormat floats = Pcm(1, 16);
  floats.formatTag = 3;
  SPcmFormat misaligned = Pcm(2, 16);
  misaligned.blockAlign = 2;
  for (const SPcmFormat& format : {Pcm(1, 24), Pcm(3, 16), Pcm(1, 16, 0), floats, misaligned}) {
    EXPECT_EQ(audio.Open(format, nullptr), nullptr) << format.channels << "ch " << format.bitsPerSample << "bit";
  }
}

// With a sound card or without, an output opens and its buffers finish.
TEST(Win32Audio, TheDefaultDeviceOrItsSilentStandInPlays) {
  CWin32Audio audio;
  CDoneLog log;
  auto output = audio.Open(Pcm(1, 8), log.Callback());
  ASSERT_NE(output, nullptr);
  SSilence sound(50);
  ASSERT_TRUE(output->Queue(sound.buffer));
  EXPECT_TRUE(log.WaitFor(1));
  EXPECT_TRUE(output->Close());
}

}  // namespace

// The device closes after two seconds of silence and opens again for the next sound,
// which still plays to its end.
TEST(Win32WaveOutput, ClosesTheDeviceInSilenceAndReopensItToPlay) {
  MMRESULT result = MMSYSERR_NOERROR;
  CDoneLog log;
  auto output = CWin32WaveOutput::Open(Pcm(1, 8), log.Callback(), result);
  if (!output) GTEST_SKIP() << "no waveOut device here: error " << result;
  SSilence first(50);
  SSilence second(50);
  ASSERT_TRUE(output->Queue(first.buffer));
  ASSERT_TRUE(log.WaitFor(1));
  EXPECT_TRUE(output->DeviceOpen());
  std::this_thread::sleep_for(3s);
  EXPECT_FALSE(output->DeviceOpen());
  ASSERT_TRUE(output->Queue(second.buffer));
  EXPECT_TRUE(output->DeviceOpen());
  ASSERT_TRUE(log.WaitFor(2));
  EXPECT_EQ(log.Done()[1], &second.buffer);
  EXPECT_TRUE(output->Close());
}
