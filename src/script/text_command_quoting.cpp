#include "script/text_command_quoting.h"

#include "script/name_tables.h"

namespace {

void QuoteArgumentsOf(std::u16string_view name, std::u16string& line) {
  const std::u16string call = std::u16string(name) + u'(';
  size_t pos = line.find(call);
  while (pos != std::u16string::npos) {
    size_t argument = pos + call.size();
    if (argument < line.size() && line[argument] != u'"') {
      line.insert(argument, 1, u'"');
      ++argument;
      size_t end = line.find(u')', argument);
      if (end == std::u16string::npos) end = line.size();
      if (end == argument || line[end - 1] != u'"') {
        line.insert(end, 1, u'"');
        ++end;
      }
      pos = end;
    } else {
      pos = argument;
    }
    pos = line.find(call, pos);
  }
}

}  // namespace

std::u16string QuoteTextCommandArguments(std::u16string_view line) {
  std::u16string result(line);
  for (int command = 0; command < QUOTED_COMMAND_COUNT; ++command) {
    QuoteArgumentsOf(NameOf(kQuotedCommandNames, command), result);
  }
  return result;
}
