#pragma once
// CSystemStatus: the date, memory and CPU figures that the script built-ins read. The
// main window refreshes it twice a second; scripts read it from the frame thread.
// Every field is an independent atomic word, so a reader may see a mix of two
// refreshes but never a torn value.
#include <atomic>
#include <cstdint>

#include "platform/system_info.h"

class CSystemStatus {
 public:
  CSystemStatus() = default;
  CSystemStatus(const CSystemStatus&) = delete;
  CSystemStatus& operator=(const CSystemStatus&) = delete;

  // Re-reads local time, memory and CPU usage and updates the clock-rate figure; on the
  // first call also identifies the processor and opens CPU usage sampling. A failed
  // query keeps the previous figures.
  void Refresh(ISystemInfo& info);

  // Fixes the date and time fields (day of week and day of year computed), for tools
  // and tests that need a known date.
  void SetDateTime(int year, int month, int day, int hour, int minute, int second);

  int Year() const { return year_.load(std::memory_order_relaxed); }
  int Month() const { return month_.load(std::memory_order_relaxed); }
  int Day() const { return day_.load(std::memory_order_relaxed); }
  int DayOfWeek() const { return dayOfWeek_.load(std::memory_order_relaxed); }
  int DayOfYear() const { return dayOfYear_.load(std::memory_order_relaxed); }
  int Hour() const { return hour_.load(std::memory_order_relaxed); }
  int Minute() const { return minute_.load(std::memory_order_relaxed); }
  int Second() const { return second_.load(std::memory_order_relaxed); }

  // The memory figure for a selector of the memory family (MEMORY_USAGE_RATE ..
  // MEMORY_FREE_EXTENDED_VIRTUAL): the load percentage or MiB; the load percentage for
  // any other value.
  int32_t MemoryFigure(int selector) const;
  // The CPU figure for a selector of the CPU family: vendor index, clock rate in MHz,
  // core count, or the usage percentage (-1 before the first sample) for any other.
  int32_t CpuFigure(int selector) const;

  bool MemoryQueryFailed() const { return memoryFailed_.load(std::memory_order_relaxed); }
  bool CpuUsageUnavailable() const { return cpuUnavailable_.load(std::memory_order_relaxed); }
  uint64_t CyclesPerMillisecond() const { return cyclesPerMs_.load(std::memory_order_relaxed); }

 private:
  void StoreDate(int year, int month, int day, int dayOfWeek, int hour, int minute, int second);
  void StoreMemory(const SMemoryStatus& memory);
  void InitialiseCpu(ISystemInfo& info);
  void SampleClockRate(ISystemInfo& info);

  std::atomic<uint16_t> year_{0}, month_{0}, day_{0}, dayOfWeek_{0}, hour_{0}, minute_{0}, second_{0};
  std::atomic<uint16_t> dayOfYear_{0};

  std::atomic<uint32_t> memoryLoad_{0};
  std::atomic<uint64_t> totalPhysical_{0}, availablePhysical_{0};
  std::atomic<uint64_t> totalPageFile_{0}, availablePageFile_{0};
  std::atomic<uint64_t> totalVirtual_{0}, availableVirtual_{0}, availableExtendedVirtual_{0};
  std::atomic<bool> memoryFailed_{false};

  std::atomic<int32_t> cpuUsage_{-1};
  std::atomic<bool> cpuUnavailable_{false};
  std::atomic<int32_t> vendorIndex_{2};
  std::atomic<int32_t> coreCount_{0};
  // Touched by Refresh only, on one thread.
  bool cpuInitialised_ = false;
  uint32_t previousTime_ = 0, currentTime_ = 0;
  uint64_t previousCycles_ = 0, currentCycles_ = 0;
  std::atomic<uint64_t> cyclesPerMs_{0};
};

// The process-wide record the built-ins read; created on first use.
CSystemStatus& SystemStatus();
