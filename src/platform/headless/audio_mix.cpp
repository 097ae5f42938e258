#include "platform/headless/audio_mix.h"

#include <algorithm>

namespace {

// One sample of the frame as a signed 16-bit value; 8-bit PCM is unsigned.
int32_t SampleAt(const uint8_t* sample, uint16_t bits) {
  const int bytes = bits / 8;
  if (bytes == 1) return (static_cast<int32_t>(sample[0]) - 128) * 256;
  // The two most significant bytes of a little-endian signed sample.
  return static_cast<int16_t>(static_cast<uint16_t>(sample[bytes - 2] | (sample[bytes - 1] << 8)));
}

void PutU16(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutU32(std::string& out, uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

}  // namespace

void CAudioMix::Add(const SPcmFormat& format, const uint8_t* bytes, uint32_t length, uint64_t startUs) {
  const uint16_t bits = format.bitsPerSample;
  if (format.channels == 0 || format.samplesPerSecond == 0 || (bits != 8 && bits != 16 && bits != 24 && bits != 32) ||
      format.blockAlign != format.channels * (bits / 8)) {
    return;
  }
  const uint64_t frames = length / format.blockAlign;
  const uint64_t outStart = startUs * kRate / 1000000;
  const uint64_t outFrames = frames * kRate / format.samplesPerSecond;
  if (samples_.size() < (outStart + outFrames) * 2) samples_.resize((outStart + outFrames) * 2, 0);
  const size_t sampleBytes = bits / 8;
  for (uint64_t i = 0; i < outFrames; ++i) {
    // Nearest earlier source frame: enough to hear and compare what was played.
    const uint64_t source = i * format.samplesPerSecond / kRate;
    const uint8_t* frame = bytes + source * format.blockAlign;
    const int32_t left = SampleAt(frame, bits);
    const int32_t right = format.channels > 1 ? SampleAt(frame + sampleBytes, bits) : left;
    samples_[(outStart + i) * 2] += left;
    samples_[(outStart + i) * 2 + 1] += right;
  }
}

std::string CAudioMix::WavFile() const {
  const uint32_t dataBytes = static_cast<uint32_t>(samples_.size() * 2);
  std::string out = "RIFF";
  PutU32(out, 36 + dataBytes);
  out += "WAVEfmt ";
  PutU32(out, 16);
  PutU16(out, 1);
  PutU16(out, 2);
  PutU32(out, kRate);
  PutU32(out, kRate * 4);
  PutU16(out, 4);
  PutU16(out, 16);
  out += "data";
  PutU32(out, dataBytes);
  for (int32_t sample : samples_) PutU16(out, static_cast<uint16_t>(std::clamp(sample, -32768, 32767)));
  return out;
}
