#pragma once
// The command-line options of the program.
#include <string>
#include <vector>

struct SStartOptions {
  bool taskbar = false;  // the main window gets a taskbar button
};

// Reads options from the arguments after the program's path, in order. An option begins
// with "-" or "/"; the first argument that begins with neither ends the options. The
// only option is "taskbar" (exact case); other names are ignored.
SStartOptions ParseStartOptions(const std::vector<std::u16string>& argumentsAfterProgram);
