#pragma once
// The seam between the portable core and the operating system. A backend (headless,
// qt, win32) implements IPlatform; the core reaches the system only through it.
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/layered_window.h"
#include "platform/process.h"
#include "platform/system_info.h"
#include "platform/text.h"
#include "platform/trace_record.h"
#include "platform/user_interface.h"

class IPlatform : public ITraceSink {
 public:
  virtual ~IPlatform() = default;
  virtual IProcessServices& Process() = 0;
  virtual IClock& Clock() = 0;
  virtual IUserInterface& Ui() = 0;
  // Time, memory and processor figures for the script language's system status.
  virtual ISystemInfo& SystemInfo() = 0;
  virtual IAudio& Audio() = 0;
  // Character and balloon windows (main thread, except ILayeredWindow::Update).
  virtual ILayeredWindows& LayeredWindows() = 0;
  // Fonts for the balloon text.
  virtual IText& Text() = 0;
  // Records a notable event in the run trace; backends without a trace ignore it.
  void Trace(const CTraceRecord& record) override = 0;
};
