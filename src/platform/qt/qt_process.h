#pragma once
// Process services of the Linux desktop program: named locks in the user's private
// runtime folder (shared with every copy of the program), the census through the X
// server, and the desktop from Qt's screens.
#include <string>

#include "platform/process.h"

class CX11Display;

class CQtProcess final : public IProcessServices {
 public:
  // `lockDir` is empty when no private folder could be made; named locks then fail.
  CQtProcess(std::string lockDir, CX11Display& display, std::u16string executablePath);

  SNamedLockResult CreateNamedLock(const std::u16string& name, bool initialOwner) override;
  int CountWindowsTitled(const std::u16string& title) override;
  std::u16string ExecutablePath() override { return executablePath_; }
  // The union of the screens when they share one pixel depth, else the primary screen.
  // GUI thread.
  SRect DesktopRect() override;

 private:
  std::string lockDir_;
  CX11Display& display_;
  std::u16string executablePath_;
};
