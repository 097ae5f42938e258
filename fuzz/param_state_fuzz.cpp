// Feeds arbitrary file contents to the saved-state reader: it must never crash, and a
// state it reads completely must survive a write and a re-read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "runtime/chara_state_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  SCharaStartState state;
  if (!ParseCharaState(bytes, u"Walker", state)) return 0;

  SCharaStartState again;
  const std::string written = EncodeCharaState(u"Walker", state.x, state.y, state.lineNumber, state.mute, state.hide);
  if (!ParseCharaState(written, u"Walker", again)) std::abort();
  if (again.x != state.x || again.y != state.y || again.lineNumber != state.lineNumber || again.mute != state.mute ||
      again.hide != state.hide) {
    std::abort();
  }
  return 0;
}
