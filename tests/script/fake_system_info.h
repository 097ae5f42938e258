#pragma once
// An ISystemInfo whose answers the test sets.
#include <optional>

#include "platform/system_info.h"

class FakeSystemInfo : public ISystemInfo {
 public:
  SLocalTime LocalTime() override { return time; }
  std::optional<SMemoryStatus> MemoryStatus() override { return memory; }
  bool OpenCpuUsage() override {
    ++opens;
    return cpuAvailable;
  }
  std::optional<int> SampleCpuUsage() override { return cpuUsage; }
  int CoreCount() override { return cores; }
  std::string CpuVendor() override { return vendor; }
  uint32_t Milliseconds() override { return milliseconds; }
  uint64_t CycleCount() override { return cycles; }

  SLocalTime time{2024, 3, 1, 5, 12, 30, 45};
  std::optional<SMemoryStatus> memory;
  bool cpuAvailable = true;
  std::optional<int> cpuUsage = 17;
  int cores = 4;
  std::string vendor = "GenuineIntel";
  uint32_t milliseconds = 1000;
  uint64_t cycles = 3'000'000;
  int opens = 0;
};

constexpr uint64_t kMiB = 1024 * 1024;
