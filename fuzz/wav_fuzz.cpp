// libFuzzer target: the WAV header parser and data location over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "media/wav_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  if (const auto wav = DecodeWav(file)) {
    // The samples must lie inside the input.
    volatile char sink = 0;
    for (char c : wav->samples) sink = static_cast<char>(sink ^ c);
    if (wav->samples.data() < file.data() || wav->samples.data() + wav->samples.size() > file.data() + file.size()) {
      __builtin_trap();
    }
  }
  return 0;
}
