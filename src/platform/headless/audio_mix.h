#pragma once
// Mixes what the headless audio outputs played into one 16-bit stereo 44.1 kHz track,
// each piece placed at the time it started, and writes it as a WAV file.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio.h"

class CAudioMix {
 public:
  static constexpr uint32_t kRate = 44100;

  // Adds `bytes` of the format as played from `startUs` (microseconds of the clock).
  // Formats of 8, 16, 24 or 32 bits with any channel count; other formats are
  // skipped. Linear in the bytes.
  void Add(const SPcmFormat& format, const uint8_t* bytes, uint32_t length, uint64_t startUs);
  // The mixed track as a complete WAV file (interleaved left and right samples).
  std::string WavFile() const;

 private:
  std::vector<int32_t> samples_;  // interleaved, summed, clipped when written
};
