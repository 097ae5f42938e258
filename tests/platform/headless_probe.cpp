// A second process for the cross-process tests: opens a named lock and main windows on
// the headless platform, prints what it saw and "ready", then holds everything until its
// standard input closes (or it is killed).
//   zv_headless_probe <runtime-dir> [--lock NAME] [--window TITLE]...
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "../common/null_main_window_handler.h"
#include "platform/headless/headless_platform.h"
#include "support/utf.h"

// After the engine's headers: <windows.h> defines macros such as PostAppMessage that
// would rename their members.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

#include "platform/headless/wide_path.h"
#endif

namespace {

// The arguments in UTF-8. Windows hands main() the narrow code page's spelling, which
// cannot hold every folder name, so there they come from the wide command line.
std::vector<std::string> Arguments([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
  std::vector<std::string> args;
#ifdef _WIN32
  int count = 0;
  if (wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
    for (int i = 0; i < count; ++i) args.push_back(Utf8Path(wide[i]));
    ::LocalFree(wide);
  }
#else
  args.assign(argv, argv + argc);
#endif
  return args;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The parent reads exact lines: no "\r" before each "\n".
  ::_setmode(::_fileno(stdout), _O_BINARY);
#endif
  const std::vector<std::string> args = Arguments(argc, argv);
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: zv_headless_probe <runtime-dir> [--lock NAME] [--window TITLE]...\n");
    return 2;
  }
  SHeadlessOptions options;
  options.runtimeDir = args[1];
  CHeadlessPlatform platform(options);
  CNullMainWindowHandler handler;
  std::vector<std::unique_ptr<INamedLock>> locks;
  for (size_t i = 2; i + 1 < args.size(); i += 2) {
    const std::u16string value = FromUtf8(args[i + 1]);
    if (args[i] == "--lock") {
      SNamedLockResult result = platform.Process().CreateNamedLock(value, true);
      std::printf("lock %s existed=%d\n", result.lock ? "open" : "failed", result.alreadyExisted);
      locks.push_back(std::move(result.lock));
    } else if (args[i] == "--window") {
      platform.Ui().CreateMainWindow({value, false}, handler);
    }
  }
  std::printf("ready\n");
  std::fflush(stdout);
  while (std::fgetc(stdin) != EOF) {
  }
  return 0;
}
