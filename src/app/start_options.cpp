#include "app/start_options.h"

SStartOptions ParseStartOptions(const std::vector<std::u16string>& argumentsAfterProgram) {
  SStartOptions options;
  for (const std::u16string& argument : argumentsAfterProgram) {
    if (argument.empty() || (argument[0] != u'-' && argument[0] != u'/')) break;
    if (argument.compare(1, std::u16string::npos, u"taskbar") == 0) options.taskbar = true;
  }
  return options;
}
