// Feeds arbitrary bytes to the app.cfg reader: it must never crash, and whatever it
// reads must leave a move range with room in it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SAppSettings settings;
  const SRect desktop{0, 0, 1920, 1080};
  ParseAppSettings(std::string_view(reinterpret_cast<const char*>(data), size), desktop, settings);
  if (settings.moveRange.right <= settings.moveRange.left || settings.moveRange.bottom <= settings.moveRange.top) {
    std::abort();
  }
  return 0;
}
