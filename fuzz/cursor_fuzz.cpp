// libFuzzer target: the .cur/.ani readers and the icon image decoder over arbitrary
// bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "media/cursor_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  if (const auto cursor = ReadCursorFile(file)) {
    for (const SCursorStep& step : cursor->steps) {
      if (step.frame < 0 || static_cast<size_t>(step.frame) >= cursor->frames.size()) __builtin_trap();
    }
  }
  // The image decoder on its own reaches DIB layouts the directory would not select.
  DecodeIconImage(file);
  return 0;
}
