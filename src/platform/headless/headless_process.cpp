#include "platform/headless/headless_process.h"

#ifdef _WIN32
#include "platform/win32/win32_process.h"
#else
#include <filesystem>
#include <system_error>
#endif

#include "platform/headless/named_lock.h"
#include "platform/headless/window_registry.h"
#include "support/utf.h"

#ifdef _WIN32
std::u16string OwnExecutablePath() { return CWin32Process().ExecutablePath(); }
#else
std::u16string OwnExecutablePath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::u16string() : FromUtf8(path.string());
}
#endif

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
