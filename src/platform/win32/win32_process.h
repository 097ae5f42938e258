#pragma once
// Process services on Windows: a kernel mutex as the named lock, the census over the
// top-level windows of every process, the module's own path and the monitors' extent.
#include <string>
#include <utility>

#include "platform/process.h"

class CWin32Process final : public IProcessServices {
 public:
  // `executablePath` empty: the module's own path; else the path a tool runs the
  // program as, for a folder other than its own.
  explicit CWin32Process(std::u16string executablePath = {}) : executablePath_(std::move(executablePath)) {}

  // A null lock when the name is empty, holds U+0000 or the system refuses it.
  SNamedLockResult CreateNamedLock(const std::u16string& name, bool initialOwner) override;
  // Hidden windows count too; an empty title counts nothing.
  int CountWindowsTitled(const std::u16string& title) override;
  // The path given at construction, else the module's; empty when the system cannot say.
  std::u16string ExecutablePath() override;
  // The union of the monitors when they share one pixel depth, else the primary one.
  SRect DesktopRect() override;

 private:
  std::u16string executablePath_;
};
