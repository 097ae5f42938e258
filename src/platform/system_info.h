#pragma once
// What the script language's system status reads from the machine: local time, memory
// load, CPU usage, the processor's identity and its cycle counter. Plain data only, so
// the portable core can take an implementation without knowing the backend.
#include <cstdint>
#include <optional>
#include <string>

struct SLocalTime {
  uint16_t year = 0;
  uint16_t month = 0;      // 1..12
  uint16_t day = 0;        // 1..31
  uint16_t dayOfWeek = 0;  // 0 = Sunday .. 6 = Saturday
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
};

// Byte counts, as the extended memory status of the operating system gives them.
struct SMemoryStatus {
  uint32_t loadPercent = 0;
  uint64_t totalPhysical = 0;
  uint64_t availablePhysical = 0;
  uint64_t totalPageFile = 0;
  uint64_t availablePageFile = 0;
  uint64_t totalVirtual = 0;
  uint64_t availableVirtual = 0;
  uint64_t availableExtendedVirtual = 0;
};

// The operating system's version as its version query reports it.
struct SOsVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
};

class ISystemInfo {
 public:
  virtual ~ISystemInfo() = default;
  // The current local time.
  virtual SLocalTime LocalTime() = 0;
  // The memory figures, or nothing when the query fails.
  virtual std::optional<SMemoryStatus> MemoryStatus() = 0;
  // Prepares CPU usage sampling and takes a first sample; false when it is unavailable.
  virtual bool OpenCpuUsage() = 0;
  // Percentage of total processor time since the previous sample, or nothing.
  virtual std::optional<int> SampleCpuUsage() = 0;
  // Number of processor cores; 0 when unknown.
  virtual int CoreCount() = 0;
  // The processor's vendor identification ("GenuineIntel", "AuthenticAMD", …) or
  // "Unknown".
  virtual std::string CpuVendor() = 0;
  // Milliseconds of a monotonic clock that wraps at 2^32.
  virtual uint32_t Milliseconds() = 0;
  // The processor's time-stamp counter; 0 where there is none.
  virtual uint64_t CycleCount() = 0;
  // The version of Windows the program runs on; nothing on other systems.
  virtual std::optional<SOsVersion> WindowsVersion() { return std::nullopt; }
};
