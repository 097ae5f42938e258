// The Zelvotta desktop program: the characters on the user's desktop, through the Win32
// platform on Windows and the Qt platform on Linux. Built without either, or started
// where there is no display, it says so and ends.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/data_layout.h"
#include "app/program.h"
#include "support/file_system.h"
#include "support/utf.h"
#if defined(_WIN32)
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_system.h"

#include <shellapi.h>
#elif defined(ZV_HAVE_QT)
#include "platform/qt/qt_platform.h"
#endif

#if defined(_WIN32)

// The arguments as the system hands them over, in UTF-16, without the program's path.
std::vector<std::u16string> WideArguments() {
  std::vector<std::u16string> arguments;
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  if (words == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.emplace_back(reinterpret_cast<const char16_t*>(words[i]));
  LocalFree(words);
  return arguments;
}

int main() {
  CWin32Platform platform(SWin32Options{});
  return RunProgram(platform, WideArguments());
}

#else

namespace {

std::filesystem::path ExecutablePath(const char* argv0) {
  std::error_code error;
  auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) path = std::filesystem::absolute(argv0, error);
  return path;
}

// Where an installed copy finds its data: ZV_INSTALLED_DATA_PATH is the data folder
// relative to the executable's, as the build's install layout has it.
SProgramOptions InstalledProgramOptions() {
  SProgramOptions options;
#ifdef ZV_INSTALLED_DATA_PATH
  options.installedDataPath = FromNativePath(std::filesystem::path(ZV_INSTALLED_DATA_PATH));
#endif
  options.userDataFolder = UserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  return options;
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
  return RunProgram(platform, arguments, InstalledProgramOptions());
#else
  (void)ExecutablePath;
  (void)InstalledProgramOptions;
  std::fprintf(stderr, "zelvotta: this build has no desktop platform (Qt 6 was not found); "
                       "use zelvotta-tool run to run characters headless\n");
  return 1;
#endif
}

#endif
