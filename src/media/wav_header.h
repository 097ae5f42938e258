#pragma once
// The header of a PCM WAV file, parsed by the engine's strict rules: "RIFF", "WAVE",
// "fmt " directly after, format tag 1, then "data", optionally preceded by one "fact"
// chunk and nothing else.
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/audio.h"

struct SWavInfo {
  SPcmFormat format;
  uint32_t dataOffset = 0;  // position of the first sample byte in the file
  uint32_t dataLength = 0;  // bytes of sample data the "data" chunk states
};

// Parses the header at the start of `file`; nullopt on any mismatch or when the header
// runs past the end. The sample data itself is not checked here. Linear in nothing:
// reads a fixed number of fields.
std::optional<SWavInfo> ParseWavHeader(std::string_view file);

// A whole PCM WAV file: its header and its sample bytes.
struct SWavSound {
  SWavInfo info;
  std::string_view samples;  // points into the file that was decoded
};

// Parses the header and locates the sample data; nullopt also when the file ends
// before the data the "data" chunk states (a truncated file would otherwise play
// whatever memory follows).
std::optional<SWavSound> DecodeWav(std::string_view file);
