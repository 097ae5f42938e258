#pragma once
// Process services without a display: named locks and the window census live in the
// private runtime folder, so they reach every process of the user that uses the same
// folder.
#include <string>

#include "platform/process.h"

class CWindowRegistry;

// The running program's own path; empty when the system does not say.
std::u16string OwnExecutablePath();

class CHeadlessProcess final : public IProcessServices {
 public:
  // `lockDir` is empty when no private folder could be made; named locks then fail.
  CHeadlessProcess(std::string lockDir, CWindowRegistry& registry, std::u16string executablePath,
                   SRect desktop);

  SNamedLockResult CreateNamedLock(const std::u16string& name, bool initialOwner) override;
  int CountWindowsTitled(const std::u16string& title) override;
  std::u16string ExecutablePath() override { return executablePath_; }
  SRect DesktopRect() override { return desktop_; }

 private:
  std::string lockDir_;
  CWindowRegistry& registry_;
  std::u16string executablePath_;
  SRect desktop_;
};
