// Feeds arbitrary bytes to the app.cfg reader: it must never crash, and whatever it
// reads must leave a move range with room in it, of a size far from int's ends.
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
  // Its size, and a character's size added to an edge, must not leave int.
  if (settings.moveRange.Width() <= 0 || settings.moveRange.Height() <= 0 ||
      settings.moveRange.Width() > (1 << 26) || settings.moveRange.Height() > (1 << 26)) {
    std::abort();
  }
  return 0;
}
