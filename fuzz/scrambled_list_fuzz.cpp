// Feeds arbitrary file contents to the scrambled list reader: it must never crash,
// and whatever it accepts must survive a write and a re-read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "support/scrambled_text.h"
#include "support/string_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CStringList list;
  if (!list.ParseScrambledList(bytes)) return 0;

  CStringList again;
  if (!again.ParseScrambledList(EncodeScrambledText(list.Join()))) std::abort();
  CStringList nonEmpty;
  for (const auto& item : list.Lines()) {
    if (!item.empty()) nonEmpty.Push(item);
  }
  if (again.Lines() != nonEmpty.Lines()) std::abort();
  return 0;
}
