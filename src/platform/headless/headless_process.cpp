#include "platform/headless/headless_process.h"

#include <filesystem>
#include <system_error>

#include "platform/headless/named_lock.h"
#include "platform/headless/window_registry.h"
#include "support/utf.h"

namespace {

// The running program's own path, for callers that did not name one.
std::u16string OwnExecutablePath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::u16string() : FromUtf8(path.string());
}

}  // namespace

CHeadlessProcess::CHeadlessProcess(std::string lockDir, CWindowRegistry& registry,
                                   std::u16string executablePath, SRect desktop)
    : lockDir_(std::move(lockDir)),
      registry_(registry),
      executablePath_(executablePath.empty() ? OwnExecutablePath() : std::move(executablePath)),
      desktop_(desktop) {}

SNamedLockResult CHeadlessProcess::CreateNamedLock(const std::u16string& name, bool initialOwner) {
  return OpenNamedLock(lockDir_, name, initialOwner);
}

int CHeadlessProcess::CountWindowsTitled(const std::u16string& title) {
  return registry_.CountTitled(title);
}
