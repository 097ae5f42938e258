// zelvotta-tool: command-line tools for character authors and for tests.
#include <cstdio>
#include <cstring>

#include "commands.h"

namespace {

struct SCommand {
  const char* name;
  int (*run)(const ToolArguments&);
  const char* summary;
};

constexpr SCommand kCommands[] = {
    {"run", RunRunCommand, "run the engine headless for a number of frames"},
};

int Usage() {
  std::fputs("usage: zelvotta-tool <command> [options]\n\ncommands:\n", stderr);
  for (const SCommand& command : kCommands) std::fprintf(stderr, "  %-8s %s\n", command.name, command.summary);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  for (const SCommand& command : kCommands) {
    if (std::strcmp(argv[1], command.name) == 0) return command.run(ToolArguments(argv + 2, argv + argc));
  }
  std::fprintf(stderr, "zelvotta-tool: unknown command '%s'\n", argv[1]);
  return Usage();
}
