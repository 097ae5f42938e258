#include "headless_run_options.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "support/file_system.h"

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

std::optional<int> LoadInputCommands(const std::string& file, const char* command, const FUsageError& usageError,
                                     std::vector<SInputCommand>& commands) {
  const std::optional<std::string> text = ReadFileBytes(FromNativePath(std::filesystem::path(file)), EFileKind::kText);
  if (!text) return usageError("cannot read the input file '" + file + "'");
  SInputScript script = ParseInputScript(*text);
  if (!script.error.empty()) {
    std::fprintf(stderr, "zelvotta-tool %s: %s\n", command, script.error.c_str());
    return 2;
  }
  commands = std::move(script.commands);
  return std::nullopt;
}

CInputPlayer::FIgnored ReportIgnoredInput(const char* command) {
  return [command](const SInputCommand& input, const char* reason) {
    std::fprintf(stderr, "zelvotta-tool %s: input line %d ignored: %s\n", command, input.line, reason);
  };
}

std::optional<std::u16string> ExecutablePathIn(const std::string& appDir) {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::absolute(appDir, error);
  if (error) return std::nullopt;
  return FromNativePath((folder / "zelvotta").lexically_normal());
}
