// The Zelvotta desktop program: the characters on the user's desktop through the Qt
// platform. Built without Qt, or started where there is no display, it says so and ends.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/program.h"
#include "support/utf.h"
#ifdef ZV_HAVE_QT
#include "platform/qt/qt_platform.h"
#endif

namespace {

std::filesystem::path ExecutablePath(const char* argv0) {
  std::error_code error;
  auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) path = std::filesystem::absolute(argv0, error);
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(FromUtf8(argv[i]));
#ifdef ZV_HAVE_QT
  if (const std::string reason = CQtPlatform::CannotStart(); !reason.empty()) {
    std::fprintf(stderr, "zelvotta: %s\n", reason.c_str());
    return 1;
  }
  SQtOptions options;
  options.executablePath = FromUtf8(ExecutablePath(argv[0]).string());
  CQtPlatform platform(options);
  return RunProgram(platform, arguments);
#else
  (void)ExecutablePath;
  std::fprintf(stderr, "zelvotta: this build has no desktop platform (Qt 6 was not found); "
                       "use zelvotta-tool run to run characters headless\n");
  return 1;
#endif
}
