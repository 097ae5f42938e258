#pragma once
// Process services on Windows: a kernel mutex as the named lock, the census over the
// top-level windows of every process, the module's own path and the monitors' extent.
#include <string>

#include "platform/process.h"

class CWin32Process final : public IProcessServices {
 public:
  // A null lock when the name is empty, holds U+0000 or the system refuses it.
  SNamedLockResult CreateNamedLock(const std::u16string& name, bool initialOwner) override;
  // Hidden windows count too; an empty title counts nothing.
  int CountWindowsTitled(const std::u16string& title) override;
  // Empty when the system cannot say.
  std::u16string ExecutablePath() override;
  // The union of the monitors when they share one pixel depth, else the primary one.
  SRect DesktopRect() override;
};
