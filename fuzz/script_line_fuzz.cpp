// Runs script-line normalisation and unquoting over arbitrary UTF-8 text and checks
// properties every result must have.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "support/text.h"
#include "support/utf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string line = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::u16string normalized = NormalizeScriptLine(line);
  const std::u16string unquoted = Unquote(normalized);
  // Both only remove text or shorten escapes, never add to it.
  if (normalized.size() > line.size() || unquoted.size() > normalized.size()) std::abort();
  // Without escapes, unquoting leaves no quote at all.
  if (line.find(u'\\') == std::u16string::npos && Unquote(line).find(u'"') != std::u16string::npos) {
    std::abort();
  }
  return 0;
}
