#pragma once
// The system status as Windows reports it: the local time, the extended memory status,
// CPU usage from the performance-data counter of total processor time, the processor
// cores the system lists, the CPUID vendor string and the time-stamp counter on x86,
// and the multimedia millisecond clock.
#include <cstdint>

#include "platform/system_info.h"

class CWin32SystemInfo final : public ISystemInfo {
 public:
  // `reportVersion` false: WindowsVersion says nothing, as on other systems (the
  // headless desktop composes alike everywhere).
  explicit CWin32SystemInfo(bool reportVersion = true) : reportVersion_(reportVersion) {}
  CWin32SystemInfo(const CWin32SystemInfo&) = delete;
  CWin32SystemInfo& operator=(const CWin32SystemInfo&) = delete;
  ~CWin32SystemInfo() override;

  SLocalTime LocalTime() override;
  std::optional<SMemoryStatus> MemoryStatus() override;
  // Opening again starts a new query.
  bool OpenCpuUsage() override;
  // Nothing before OpenCpuUsage has succeeded, or while the counter has no valid value.
  std::optional<int> SampleCpuUsage() override;
  // Physical cores (hyper-threads share one); the logical processors when the system
  // does not list its cores.
  int CoreCount() override;
  std::string CpuVendor() override;
  uint32_t Milliseconds() override;
  uint64_t CycleCount() override;
  // As GetVersionExW reports it: without a compatibility manifest, Windows 8 and later
  // say 6.2.
  std::optional<SOsVersion> WindowsVersion() override;

 private:
  void CloseCpuUsage();

  // The performance-data query and its counter (PDH_HQUERY and PDH_HCOUNTER), kept as
  // plain pointers so this header needs no system headers.
  void* query_ = nullptr;
  bool reportVersion_ = true;
  void* counter_ = nullptr;
};
