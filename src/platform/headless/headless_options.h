#pragma once
// How a headless platform is set up: by tests, by zelvotta-tool and by the program
// when it runs without a display.
#include <cstdint>
#include <string>

#include "platform/geometry.h"

struct SHeadlessOptions {
  std::u16string executablePath;      // returned by ExecutablePath(); empty: this program's own
  SRect desktop{0, 0, 1920, 1080};
  bool realtime = false;              // false: virtual clock, frames stepped from the message loop
  uint64_t quitAfterFrames = 0;       // >0: post kQuitRequestMessage to the main window after that many frames
  bool keepTrace = true;               // false: no trace in memory (a trace file still gets one)
  bool keepAudioEvents = true;         // false: the audio keeps no log of its events (long runs)
  std::string traceFile;              // empty: no trace file; else JSON lines, flushed per line
  std::string runtimeDir;             // empty: the per-user default folder
};
