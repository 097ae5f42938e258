#include "script/system_status.h"

#include "script/calendar.h"
#include "script/name_tables.h"
#include "support/utf.h"

namespace {

constexpr std::memory_order kRelaxed = std::memory_order_relaxed;

int32_t MiB(uint64_t bytes) { return static_cast<int32_t>(bytes >> 20); }
// A "used" figure never wraps below zero when the two queries disagree.
uint64_t Used(uint64_t total, uint64_t available) { return total > available ? total - available : 0; }

}  // namespace

CSystemStatus& SystemStatus() {
  static CSystemStatus status;
  return status;
}

void CSystemStatus::StoreDate(int year, int month, int day, int dayOfWeek, int hour, int minute, int second) {
  // The day of year follows any change of the date, also a clock set back or forward
  // by whole months.
  if (year != Year() || month != Month() || day != Day()) {
    dayOfYear_.store(static_cast<uint16_t>(::DayOfYear(year, month, day)), kRelaxed);
  }
  year_.store(static_cast<uint16_t>(year), kRelaxed);
  month_.store(static_cast<uint16_t>(month), kRelaxed);
  day_.store(static_cast<uint16_t>(day), kRelaxed);
  dayOfWeek_.store(static_cast<uint16_t>(dayOfWeek), kRelaxed);
  hour_.store(static_cast<uint16_t>(hour), kRelaxed);
  minute_.store(static_cast<uint16_t>(minute), kRelaxed);
  second_.store(static_cast<uint16_t>(second), kRelaxed);
}

void CSystemStatus::SetDateTime(int year, int month, int day, int hour, int minute, int second) {
  StoreDate(year, month, day, ::DayOfWeek(year, month, day), hour, minute, second);
}

void CSystemStatus::StoreMemory(const SMemoryStatus& memory) {
  memoryLoad_.store(memory.loadPercent, kRelaxed);
  totalPhysical_.store(memory.totalPhysical, kRelaxed);
  availablePhysical_.store(memory.availablePhysical, kRelaxed);
  totalPageFile_.store(memory.totalPageFile, kRelaxed);
  availablePageFile_.store(memory.availablePageFile, kRelaxed);
  totalVirtual_.store(memory.totalVirtual, kRelaxed);
  availableVirtual_.store(memory.availableVirtual, kRelaxed);
  availableExtendedVirtual_.store(memory.availableExtendedVirtual, kRelaxed);
}

void CSystemStatus::InitialiseCpu(ISystemInfo& info) {
  cpuInitialised_ = true;
  cpuUsage_.store(-1, kRelaxed);
  const int vendor = FindCpuVendor(FromUtf8(info.CpuVendor()));
  vendorIndex_.store(vendor == kNameNotFound ? VENDOR_UNKNOWN : vendor, kRelaxed);
  previousTime_ = currentTime_ = 0;
  previousCycles_ = currentCycles_ = 0;
  cpuUnavailable_.store(!info.OpenCpuUsage(), kRelaxed);
  coreCount_.store(info.CoreCount(), kRelaxed);
}

void CSystemStatus::SampleClockRate(ISystemInfo& info) {
  previousTime_ = currentTime_;
  previousCycles_ = currentCycles_;
  currentTime_ = info.Milliseconds();
  currentCycles_ = info.CycleCount();
  // The first sample has nothing to compare with, and two samples within one
  // millisecond would divide by zero: both keep the previous figure.
  const uint32_t elapsed = currentTime_ - previousTime_;
  if ((previousTime_ == 0 && previousCycles_ == 0) || elapsed == 0) return;
  cyclesPerMs_.store((currentCycles_ - previousCycles_) / elapsed, kRelaxed);
}

void CSystemStatus::Refresh(ISystemInfo& info) {
  const SLocalTime now = info.LocalTime();
  StoreDate(now.year, now.month, now.day, now.dayOfWeek, now.hour, now.minute, now.second);

  if (const auto memory = info.MemoryStatus()) {
    StoreMemory(*memory);
    memoryFailed_.store(false, kRelaxed);
  } else {
    memoryFailed_.store(true, kRelaxed);
  }

  if (!cpuInitialised_) InitialiseCpu(info);
  if (!CpuUsageUnavailable()) {
    if (const auto usage = info.SampleCpuUsage()) cpuUsage_.store(*usage, kRelaxed);
  }
  SampleClockRate(info);
}

int32_t CSystemStatus::MemoryFigure(int selector) const {
  switch (selector) {
    case MEMORY_TOTAL: return MiB(totalPhysical_.load(kRelaxed));
    case MEMORY_FREE: return MiB(availablePhysical_.load(kRelaxed));
    case MEMORY_USED: return MiB(Used(totalPhysical_.load(kRelaxed), availablePhysical_.load(kRelaxed)));
    case MEMORY_TOTAL_PAGE_FILE: return MiB(totalPageFile_.load(kRelaxed));
    case MEMORY_FREE_PAGE_FILE: return MiB(availablePageFile_.load(kRelaxed));
    case MEMORY_USED_PAGE_FILE:
      return MiB(Used(totalPageFile_.load(kRelaxed), availablePageFile_.load(kRelaxed)));
    case MEMORY_TOTAL_VIRTUAL: return MiB(totalVirtual_.load(kRelaxed));
    case MEMORY_FREE_VIRTUAL: return MiB(availableVirtual_.load(kRelaxed));
    case MEMORY_USED_VIRTUAL: return MiB(Used(totalVirtual_.load(kRelaxed), availableVirtual_.load(kRelaxed)));
    case MEMORY_FREE_EXTENDED_VIRTUAL: return MiB(availableExtendedVirtual_.load(kRelaxed));
    default: return static_cast<int32_t>(memoryLoad_.load(kRelaxed));
  }
}

int32_t CSystemStatus::CpuFigure(int selector) const {
  switch (selector) {
    case CPU_VENDOR_SELECTOR: return vendorIndex_.load(kRelaxed);
    case CPU_CLOCK_RATE: return static_cast<int32_t>(cyclesPerMs_.load(kRelaxed) / 1000);
    case CPU_NUMBER_OF_CORE: return coreCount_.load(kRelaxed);
    default: return cpuUsage_.load(kRelaxed);
  }
}
