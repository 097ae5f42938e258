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
    {"record", RunRecordCommand, "run headless and write an animated PNG or GIF of the characters"},
    {"eval", RunEvalCommand, "evaluate script expressions, one per line of standard input"},
    {"wav", RunWavCommand, "load a WAV file and print its format; --play plays it"},
    {"cursor", RunCursorCommand, "load a .cur or .ani file and describe its first frame"},
    {"image", RunImageCommand, "decode a PNG or TGA file and print its size and pixel hash"},
    {"check", RunCheckCommand, "load character folders as the program does and report each one's first fault"},
    {"compose", RunComposeCommand, "scale an image or merge a layer into a frame, as characters are painted"},
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
