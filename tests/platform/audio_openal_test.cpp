// The OpenAL output on a machine that may have no sound card.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "media/sound_manager.h"
#include "platform/openal/openal_audio.h"
#include "../media/sound_wav_builder.h"
#include "temp_folder.h"

namespace {

SPcmFormat Mono8(uint32_t rate) {
  SPcmFormat format;
  format.channels = 1;
  format.samplesPerSecond = rate;
  format.averageBytesPerSecond = rate;
  format.blockAlign = 1;
  format.bitsPerSample = 8;
  return format;
}

TEST(OpenAlAudio, RefusesFormatsItCannotPlay) {
  COpenAlAudio audio;
  SPcmFormat format = Mono8(8000);
  format.bitsPerSample = 24;
  format.blockAlign = 3;
  EXPECT_EQ(audio.Open(format, nullptr), nullptr);
}

// Without a device Open must fail at once; with one, a short buffer must come back.
TEST(OpenAlAudio, OpensTheDefaultDeviceOrFailsPromptly) {
  COpenAlAudio audio;
  const auto start = std::chrono::steady_clock::now();
  std::atomic<int> done{0};
  auto output = audio.Open(Mono8(8000), [&](IAudioOutput&, SAudioBuffer&) { done.fetch_add(1); });
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  if (!output) {
    EXPECT_EQ(audio.Open(Mono8(8000), nullptr), nullptr);
    return;
  }
  std::vector<uint8_t> silence(800, 128);
  SAudioBuffer buffer{silence.data(), static_cast<uint32_t>(silence.size())};
  ASSERT_TRUE(output->Queue(buffer));
  EXPECT_FALSE(output->Close());
  EXPECT_TRUE(output->Reset());
  EXPECT_EQ(done.load(), 1);
  EXPECT_FALSE(output->IsQueued(buffer));
  EXPECT_TRUE(output->Close());
}

// Counts every finished buffer of the outputs it opens, so a test sees sounds play.
class CCountingAudio final : public IAudio {
 public:
  explicit CCountingAudio(IAudio& inner) : inner_(inner) {}
  std::unique_ptr<IAudioOutput> Open(const SPcmFormat& format, AudioBufferDone done) override {
    return inner_.Open(format, [this, done](IAudioOutput& output, SAudioBuffer& buffer) {
      if (done) done(output, buffer);
      std::lock_guard lock(mutex_);
      ++finished_;
      changed_.notify_all();
    });
  }
  int Finished() {
    std::lock_guard lock(mutex_);
    return finished_;
  }
  // Waits until `count` buffers have finished in all.
  bool WaitFor(int count, std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return finished_ >= count; });
  }

 private:
  IAudio& inner_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int finished_ = 0;
};

// Two channels as a character has them, an effect played once and a looping music, on
// OpenAL Soft's null device (it mixes in real time, as a sound card would). Two seconds
// of silence pause the device; the next sound resumes it at once and plays in full, and
// a loop keeps it running as long as it goes.
TEST(OpenAlAudio, SilencePausesTheDeviceAndTheNextSoundPlays) {
  // Read when the library first starts; a test run alone gets the null device.
  setenv("ALSOFT_DRIVERS", "null", 0);
  CTempFolder folder;
  folder.WriteBytes("blip.wav", MonoPcm8(8000, std::string(800, '\x90')));   // 100 ms
  folder.WriteBytes("music.wav", MonoPcm8(8000, std::string(800, '\x70')));  // 100 ms a round
  COpenAlAudio openAl;
  CCountingAudio audio(openAl);
  {
    CSoundManager effect(audio);
    CSoundManager music(audio);
    if (!effect.Play(folder.Engine(u"blip.wav"), 0)) GTEST_SKIP() << "no OpenAL device here";
    ASSERT_TRUE(audio.WaitFor(1, std::chrono::seconds(1)));
    EXPECT_FALSE(openAl.Paused());

    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_TRUE(openAl.Paused());
    EXPECT_EQ(openAl.PauseCount(), 1);
    // The device resumes within the call, well inside one frame.
    const auto asked = std::chrono::steady_clock::now();
    ASSERT_TRUE(effect.Play(folder.Engine(u"blip.wav"), 0));
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(33));
    EXPECT_FALSE(openAl.Paused());
    EXPECT_TRUE(audio.WaitFor(2, std::chrono::milliseconds(400))) << "the sound after the pause did not play";

    // A loop longer than the pause's delay keeps the device running.
    ASSERT_TRUE(music.Play(folder.Engine(u"music.wav"), -1));
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    EXPECT_EQ(openAl.PauseCount(), 1);
    EXPECT_GE(audio.Finished(), 2 + 15) << "the loop stalled";
    EXPECT_TRUE(music.IsPlaying());
    ASSERT_TRUE(music.Stop());

    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_TRUE(openAl.Paused());
    EXPECT_EQ(openAl.PauseCount(), 2);
    // The music starts again after the pause and keeps looping.
    const int before = audio.Finished();
    ASSERT_TRUE(music.Play(folder.Engine(u"music.wav"), -1));
    EXPECT_TRUE(audio.WaitFor(before + 3, std::chrono::milliseconds(800))) << "the loop did not resume";
    EXPECT_TRUE(music.IsPlaying());
    ASSERT_TRUE(music.Stop());
  }
}

}  // namespace
