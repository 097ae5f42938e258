#pragma once
// Plays an input script on the headless platform: the commands of each frame run in
// file order on the main thread right before that frame's work, as if the user had
// acted between two frames.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/headless/input_script.h"

class CHeadlessPlatform;

class CInputPlayer {
 public:
  // Told about a command that found nothing to act on (no open menu, an item the menu
  // does not have, no tray icon, …), with the reason; the run goes on.
  using FIgnored = std::function<void(const SInputCommand& command, const char* reason)>;

  // The machine commands of frame 0 (cpu, clock) take effect here, so the program
  // starts on that machine.
  CInputPlayer(CHeadlessPlatform& platform, std::vector<SInputCommand> commands, FIgnored onIgnored = {});

  // Runs, in order, every command not run yet whose frame is `frame` or earlier. Meant
  // for the platform's before-frame hook.
  void RunFrame(uint64_t frame);
  // Runs one command; null when it acted, else why there was nothing to act on.
  const char* Run(const SInputCommand& command);

 private:
  CHeadlessPlatform& platform_;
  std::vector<SInputCommand> commands_;
  FIgnored onIgnored_;
  size_t next_ = 0;
};
