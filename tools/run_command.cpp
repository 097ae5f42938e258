// zelvotta-tool run: the program's start-up, frame loop and shutdown on the headless
// platform, on a virtual clock (or the wall clock with --realtime).
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "app/program.h"
#include "commands.h"
#include "platform/headless/headless_platform.h"
#include "support/utf.h"

namespace {

constexpr char kRunUsage[] =
    "usage: zelvotta-tool run [--app-dir DIR] [--frames N] [--screen WxH] [--realtime]\n"
    "                         [--trace FILE] [-- ARGS...]\n";

int RunUsageError(const std::string& message) {
  std::fprintf(stderr, "zelvotta-tool run: %s\n%s", message.c_str(), kRunUsage);
  return 2;
}

std::optional<uint64_t> ParseCount(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 18) {
    return std::nullopt;
  }
  return std::stoull(text);
}

std::optional<SRect> ParseScreen(const std::string& text) {
  const size_t x = text.find('x');
  if (x == std::string::npos) return std::nullopt;
  const auto width = ParseCount(text.substr(0, x));
  const auto height = ParseCount(text.substr(x + 1));
  if (!width || !height || *width == 0 || *height == 0 || *width > 65536 || *height > 65536) {
    return std::nullopt;
  }
  return SRect{0, 0, static_cast<int>(*width), static_cast<int>(*height)};
}

}  // namespace

int RunRunCommand(const ToolArguments& arguments) {
  SHeadlessOptions options;
  std::string appDir = ".";
  std::vector<std::u16string> programArguments;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--") {
      for (++i; i < arguments.size(); ++i) programArguments.push_back(FromUtf8(arguments[i]));
      break;
    }
    if (option == "--realtime") {
      options.realtime = true;
      continue;
    }
    if (i + 1 >= arguments.size()) return RunUsageError("missing value or unknown option '" + option + "'");
    const std::string& value = arguments[++i];
    if (option == "--app-dir") {
      appDir = value;
    } else if (option == "--frames") {
      const auto frames = ParseCount(value);
      if (!frames) return RunUsageError("--frames needs a whole number, not '" + value + "'");
      options.quitAfterFrames = *frames;
    } else if (option == "--screen") {
      const auto screen = ParseScreen(value);
      if (!screen) return RunUsageError("--screen needs WIDTHxHEIGHT, not '" + value + "'");
      options.desktop = *screen;
    } else if (option == "--trace") {
      options.traceFile = value;
    } else {
      return RunUsageError("unknown option '" + option + "'");
    }
  }

  std::error_code error;
  const std::filesystem::path folder = std::filesystem::absolute(appDir, error);
  if (error) return RunUsageError("cannot use the application folder '" + appDir + "'");
  // The program finds its data beside its executable; here that folder is --app-dir.
  options.executablePath = FromUtf8((folder / "zelvotta").lexically_normal().string());

  CHeadlessPlatform platform(options);
  if (!options.traceFile.empty() && !platform.TraceFileOpen()) {
    return RunUsageError("cannot write the trace file '" + options.traceFile + "'");
  }
  return RunProgram(platform, programArguments);
}
