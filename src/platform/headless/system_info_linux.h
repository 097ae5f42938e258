#pragma once
// The system status as Linux reports it: /proc/meminfo for memory, /proc/stat for CPU
// usage, /sys/devices/system/cpu for cores, the time-stamp counter and the CPUID vendor
// string on x86, and the C library's local time.
#include <cstdint>

#include "platform/system_info.h"

class CLinuxSystemInfo final : public ISystemInfo {
 public:
  SLocalTime LocalTime() override;
  std::optional<SMemoryStatus> MemoryStatus() override;
  bool OpenCpuUsage() override;
  std::optional<int> SampleCpuUsage() override;
  int CoreCount() override;
  std::string CpuVendor() override;
  uint32_t Milliseconds() override;
  uint64_t CycleCount() override;

 private:
  // Jiffies of the aggregate "cpu" line at the previous sample.
  uint64_t previousBusy_ = 0;
  uint64_t previousTotal_ = 0;
};
