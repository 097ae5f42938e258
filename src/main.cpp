// The Zelvotta desktop program. Until a desktop backend exists it runs on the headless
// platform in real time: the start-up checks, the frame loop and the shutdown are real.
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/program.h"
#include "platform/headless/headless_platform.h"
#include "support/utf.h"

namespace {

std::filesystem::path ExecutablePath(const char* argv0) {
  std::error_code error;
  auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) path = std::filesystem::absolute(argv0, error);
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  SHeadlessOptions options;
  options.executablePath = FromUtf8(ExecutablePath(argv[0]).string());
  options.realtime = true;
  options.keepTrace = false;  // nobody reads it, and a long run would only grow it
  CHeadlessPlatform platform(options);

  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(FromUtf8(argv[i]));
  return RunProgram(platform, arguments);
}
