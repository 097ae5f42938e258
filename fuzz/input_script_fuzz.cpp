// Parses arbitrary bytes as a headless run's input file and checks what every result
// must satisfy: either one error naming a line and no commands, or commands in file
// order whose frames never decrease.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/headless/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const SInputScript script = ParseInputScript(text);
  const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  if (!script.error.empty()) {
    if (!script.commands.empty() || !script.error.starts_with("input line ")) std::abort();
    return 0;
  }
  int line = 0;
  int frame = 0;
  for (const SInputCommand& command : script.commands) {
    if (command.line <= line || command.line > lines || command.frame < frame) std::abort();
    line = command.line;
    frame = command.frame;
  }
  return 0;
}
