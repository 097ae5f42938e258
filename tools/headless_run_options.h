#pragma once
// What the subcommands that run the program headless (run, record) read the same way:
// counts, the screen size, the input script and the application folder. Messages name
// the subcommand, so each keeps its own prefix and usage text.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/headless/input_player.h"
#include "platform/headless/input_script.h"

// Prints "zelvotta-tool <command>: <message>" and the usage text; returns the exit code.
using FUsageError = std::function<int(const std::string& message)>;

// A whole number of at most 18 digits; nothing for anything else.
std::optional<uint64_t> ParseCount(const std::string& text);
// WIDTHxHEIGHT, each 1 to 65536, as a desktop rectangle at 0, 0.
std::optional<SRect> ParseScreen(const std::string& text);

// The input file's commands; an exit code (2) when it cannot be read (through
// `usageError`) or has a faulty line (printed with `command`'s prefix).
std::optional<int> LoadInputCommands(const std::string& file, const char* command, const FUsageError& usageError,
                                     std::vector<SInputCommand>& commands);

// Prints each input command that found nothing to act on, with `command`'s prefix.
CInputPlayer::FIgnored ReportIgnoredInput(const char* command);

// The program's executable path (engine notation) inside the application folder `appDir`,
// where the program looks for its data; nothing when the folder cannot be made absolute.
std::optional<std::u16string> ExecutablePathIn(const std::string& appDir);
