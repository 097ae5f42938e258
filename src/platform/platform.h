#pragma once
// The seam between the portable core and the operating system. A backend (headless,
// qt, win32) implements IPlatform; the core reaches the system only through it.
#include "platform/clock.h"
#include "platform/process.h"
#include "platform/trace_record.h"
#include "platform/user_interface.h"

class IPlatform {
 public:
  virtual ~IPlatform() = default;
  virtual IProcessServices& Process() = 0;
  virtual IClock& Clock() = 0;
  virtual IUserInterface& Ui() = 0;
  // Records a notable event in the run trace; backends without a trace ignore it.
  virtual void Trace(const CTraceRecord& record) = 0;
};
