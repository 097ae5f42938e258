// A second process for the cross-process tests: opens a named lock and main windows on
// the headless platform, prints what it saw and "ready", then holds everything until its
// standard input closes (or it is killed).
//   zv_headless_probe <runtime-dir> [--lock NAME] [--window TITLE]...
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "../common/null_main_window_handler.h"
#include "platform/headless/headless_platform.h"
#include "support/utf.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: zv_headless_probe <runtime-dir> [--lock NAME] [--window TITLE]...\n");
    return 2;
  }
  SHeadlessOptions options;
  options.runtimeDir = argv[1];
  CHeadlessPlatform platform(options);
  CNullMainWindowHandler handler;
  std::vector<std::unique_ptr<INamedLock>> locks;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::u16string value = FromUtf8(argv[i + 1]);
    if (std::strcmp(argv[i], "--lock") == 0) {
      SNamedLockResult result = platform.Process().CreateNamedLock(value, true);
      std::printf("lock %s existed=%d\n", result.lock ? "open" : "failed", result.alreadyExisted);
      locks.push_back(std::move(result.lock));
    } else if (std::strcmp(argv[i], "--window") == 0) {
      platform.Ui().CreateMainWindow({value, false}, handler);
    }
  }
  std::printf("ready\n");
  std::fflush(stdout);
  while (std::fgetc(stdin) != EOF) {
  }
  return 0;
}
