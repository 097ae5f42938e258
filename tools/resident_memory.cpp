#include "resident_memory.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <psapi.h>
#else
#include <unistd.h>

#include <cstdio>
#endif

std::optional<uint64_t> ResidentKib() {
#if defined(_WIN32)
  PROCESS_MEMORY_COUNTERS counters{};
  if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return std::nullopt;
  return static_cast<uint64_t>(counters.WorkingSetSize) / 1024;
#else
  // The second field of statm is the resident size in pages.
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return std::nullopt;
  unsigned long long size = 0;
  unsigned long long resident = 0;
  const int read = std::fscanf(statm, "%llu %llu", &size, &resident);
  std::fclose(statm);
  const long page = sysconf(_SC_PAGESIZE);
  if (read != 2 || page <= 0) return std::nullopt;
  return resident * static_cast<uint64_t>(page) / 1024;
#endif
}
