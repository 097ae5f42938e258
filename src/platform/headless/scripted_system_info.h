#pragma once
// The machine's figures as a headless run's input sets them. From the moment a run
// fixes the CPU usage or the local time, scripts read those instead of the machine's,
// so a character's clock and load conditions can be tried at any hour on any machine;
// the fixed time goes on with the run's clock. Whatever is not fixed passes through.
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/system_info.h"

class CHeadlessClock;

class CScriptedSystemInfo final : public ISystemInfo {
 public:
  CScriptedSystemInfo(std::unique_ptr<ISystemInfo> machine, CHeadlessClock& clock);

  // From now on CPU usage reads `percent` (0 to 100).
  void SetCpuUsage(int percent);
  // From now on the local time is `time`, advancing with the clock. The weekday is
  // worked out from the date; a date that does not exist is refused (false).
  bool SetLocalTime(const SLocalTime& time);

  SLocalTime LocalTime() override;
  std::optional<SMemoryStatus> MemoryStatus() override { return machine_->MemoryStatus(); }
  // Always true: a fixed usage can be read even where the machine's cannot.
  bool OpenCpuUsage() override;
  std::optional<int> SampleCpuUsage() override;
  int CoreCount() override { return machine_->CoreCount(); }
  std::string CpuVendor() override { return machine_->CpuVendor(); }
  uint32_t Milliseconds() override { return machine_->Milliseconds(); }
  uint64_t CycleCount() override { return machine_->CycleCount(); }
  std::optional<SOsVersion> WindowsVersion() override { return machine_->WindowsVersion(); }

 private:
  std::unique_ptr<ISystemInfo> machine_;
  CHeadlessClock& clock_;
  std::mutex mutex_;  // the input sets on the main thread; the status sampler reads
  std::optional<int> cpuUsage_;
  std::optional<int64_t> fixedSeconds_;  // seconds since 1970-01-01 00:00 of the fixed time
  uint64_t fixedAtMs_ = 0;               // the clock when it was fixed
};
