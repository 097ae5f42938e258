// The OpenAL output on a machine that may have no sound card.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/openal/openal_audio.h"

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

}  // namespace
