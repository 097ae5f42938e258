#include "platform/win32/win32_system_info.h"

#include "platform/win32/win32_system.h"
#include <mmsystem.h>
#include <pdh.h>
#include <pdhmsg.h>

#include <cstddef>
#include <vector>

#if defined(_M_X64) || defined(_M_IX86) || defined(__x86_64__) || defined(__i386__)
#include <intrin.h>
#define ZV_HAS_X86 1
#endif

namespace {

// Counts the processor cores of every group; 0 when the system cannot list them.
int CountProcessorCores() {
  using SEntry = SYSTEM_LOGICAL_PROCESSOR_INFORMATION_EX;
  DWORD bytes = 0;
  std::vector<unsigned char> buffer;
  while (!GetLogicalProcessorInformationEx(RelationProcessorCore,
                                           reinterpret_cast<SEntry*>(buffer.data()), &bytes)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes <= buffer.size()) return 0;
    buffer.resize(bytes);
  }
  // The entries differ in size; each one says how long it is.
  int cores = 0;
  size_t at = 0;
  while (at + offsetof(SEntry, Processor) <= bytes) {
    const auto* entry = reinterpret_cast<const SEntry*>(buffer.data() + at);
    if (entry->Size == 0) break;
    if (entry->Relationship == RelationProcessorCore) ++cores;
    at += entry->Size;
  }
  return cores;
}

}  // namespace

CWin32SystemInfo::~CWin32SystemInfo() { CloseCpuUsage(); }

SLocalTime CWin32SystemInfo::LocalTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  SLocalTime time;
  time.year = now.wYear;
  time.month = now.wMonth;
  time.day = now.wDay;
  time.dayOfWeek = now.wDayOfWeek;
  time.hour = now.wHour;
  time.minute = now.wMinute;
  time.second = now.wSecond;
  return time;
}

std::optional<SMemoryStatus> CWin32SystemInfo::MemoryStatus() {
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof memory;
  if (!GlobalMemoryStatusEx(&memory)) return std::nullopt;
  SMemoryStatus status;
  status.loadPercent = memory.dwMemoryLoad;
  status.totalPhysical = memory.ullTotalPhys;
  status.availablePhysical = memory.ullAvailPhys;
  status.totalPageFile = memory.ullTotalPageFile;
  status.availablePageFile = memory.ullAvailPageFile;
  status.totalVirtual = memory.ullTotalVirtual;
  status.availableVirtual = memory.ullAvailVirtual;
  status.availableExtendedVirtual = memory.ullAvailExtendedVirtual;
  return status;
}

bool CWin32SystemInfo::OpenCpuUsage() {
  CloseCpuUsage();
  PDH_HQUERY query = nullptr;
  if (PdhOpenQueryW(nullptr, 0, &query) != ERROR_SUCCESS) return false;
  PDH_HCOUNTER counter = nullptr;
  // The English path holds on every display language of the system.
  const wchar_t* path = L"\\Processor(_Total)\\% Processor Time";
  if (PdhAddEnglishCounterW(query, path, 0, &counter) != ERROR_SUCCESS ||
      PdhCollectQueryData(query) != ERROR_SUCCESS) {
    PdhCloseQuery(query);
    return false;
  }
  query_ = query;
  counter_ = counter;
  return true;
}

std::optional<int> CWin32SystemInfo::SampleCpuUsage() {
  if (query_ == nullptr) return std::nullopt;
  if (PdhCollectQueryData(static_cast<PDH_HQUERY>(query_)) != ERROR_SUCCESS) return std::nullopt;
  PDH_FMT_COUNTERVALUE value{};
  const auto counter = static_cast<PDH_HCOUNTER>(counter_);
  if (PdhGetFormattedCounterValue(counter, PDH_FMT_LONG, nullptr, &value) != ERROR_SUCCESS ||
      (value.CStatus != PDH_CSTATUS_VALID_DATA && value.CStatus != PDH_CSTATUS_NEW_DATA)) {
    return std::nullopt;
  }
  return static_cast<int>(value.longValue);
}

int CWin32SystemInfo::CoreCount() {
  const int cores = CountProcessorCores();
  if (cores > 0) return cores;
  return static_cast<int>(GetActiveProcessorCount(ALL_PROCESSOR_GROUPS));
}

std::string CWin32SystemInfo::CpuVendor() {
#ifdef ZV_HAS_X86
  int registers[4] = {};  // EAX, EBX, ECX, EDX
  __cpuid(registers, 0);
  // The vendor string is spread over EBX, EDX, ECX in that order.
  const int order[3] = {1, 3, 2};
  char vendor[13] = {};
  for (int part = 0; part < 3; ++part) {
    const auto value = static_cast<uint32_t>(registers[order[part]]);
    for (int i = 0; i < 4; ++i) vendor[4 * part + i] = static_cast<char>(value >> (8 * i));
  }
  if (vendor[0] != '\0') return vendor;
#endif
  return "Unknown";
}

uint32_t CWin32SystemInfo::Milliseconds() { return timeGetTime(); }

uint64_t CWin32SystemInfo::CycleCount() {
#ifdef ZV_HAS_X86
  return __rdtsc();
#else
  return 0;
#endif
}

void CWin32SystemInfo::CloseCpuUsage() {
  if (query_ != nullptr) PdhCloseQuery(static_cast<PDH_HQUERY>(query_));
  query_ = nullptr;
  counter_ = nullptr;
}

std::optional<SOsVersion> CWin32SystemInfo::WindowsVersion() {
  if (!reportVersion_) return std::nullopt;
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExW(&info)) return std::nullopt;
  return SOsVersion{info.dwMajorVersion, info.dwMinorVersion};
}
