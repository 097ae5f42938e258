#include "platform/headless/system_info_linux.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define ZV_HAS_X86 1
#endif

namespace {

// The value in kB of one "Name:   123 kB" line of /proc/meminfo-style text, in bytes.
std::optional<uint64_t> KilobyteField(const std::string& text, const std::string& name) {
  const std::string key = "\n" + name + ":";
  const size_t at = ("\n" + text).find(key);
  if (at == std::string::npos) return std::nullopt;
  unsigned long long kilobytes = 0;
  if (std::sscanf(text.c_str() + at + key.size() - 1, "%llu", &kilobytes) != 1) return std::nullopt;
  return static_cast<uint64_t>(kilobytes) * 1024u;
}

std::string ReadWholeFile(const char* path) {
  std::ifstream in(path);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

// The address space a process may use: 128 TiB on 64-bit Linux, 3 GiB on 32-bit.
constexpr uint64_t kUserAddressSpace = sizeof(void*) == 8 ? (uint64_t{1} << 47) : (uint64_t{3} << 30);

// Busy and total jiffies of the aggregate "cpu" line of /proc/stat.
std::optional<std::pair<uint64_t, uint64_t>> ReadCpuJiffies() {
  std::ifstream in("/proc/stat");
  std::string label;
  if (!(in >> label) || label != "cpu") return std::nullopt;
  uint64_t fields[8] = {};
  int count = 0;
  while (count < 8 && in >> fields[count]) ++count;
  if (count < 4) return std::nullopt;
  uint64_t total = 0;
  for (int i = 0; i < count; ++i) total += fields[i];
  const uint64_t idle = fields[3] + (count > 4 ? fields[4] : 0);  // idle and iowait
  return std::make_pair(total - idle, total);
}

}  // namespace

SLocalTime CLinuxSystemInfo::LocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  SLocalTime time;
  time.year = static_cast<uint16_t>(local.tm_year + 1900);
  time.month = static_cast<uint16_t>(local.tm_mon + 1);
  time.day = static_cast<uint16_t>(local.tm_mday);
  time.dayOfWeek = static_cast<uint16_t>(local.tm_wday);
  time.hour = static_cast<uint16_t>(local.tm_hour);
  time.minute = static_cast<uint16_t>(local.tm_min);
  time.second = static_cast<uint16_t>(local.tm_sec);
  return time;
}

std::optional<SMemoryStatus> CLinuxSystemInfo::MemoryStatus() {
  const std::string meminfo = ReadWholeFile("/proc/meminfo");
  const auto total = KilobyteField(meminfo, "MemTotal");
  if (!total || *total == 0) return std::nullopt;
  auto available = KilobyteField(meminfo, "MemAvailable");
  if (!available) available = KilobyteField(meminfo, "MemFree");
  if (!available) return std::nullopt;
  const uint64_t swapTotal = KilobyteField(meminfo, "SwapTotal").value_or(0);
  const uint64_t swapFree = KilobyteField(meminfo, "SwapFree").value_or(0);

  SMemoryStatus status;
  status.totalPhysical = *total;
  status.availablePhysical = *available < *total ? *available : *total;
  status.loadPercent = static_cast<uint32_t>((status.totalPhysical - status.availablePhysical) * 100 / *total);
  // The page file of Windows is the commit limit: memory plus swap.
  status.totalPageFile = *total + swapTotal;
  status.availablePageFile = status.availablePhysical + swapFree;
  status.totalVirtual = kUserAddressSpace;
  const uint64_t used = KilobyteField(ReadWholeFile("/proc/self/status"), "VmSize").value_or(0);
  status.availableVirtual = used < kUserAddressSpace ? kUserAddressSpace - used : 0;
  status.availableExtendedVirtual = 0;
  return status;
}

bool CLinuxSystemInfo::OpenCpuUsage() {
  const auto jiffies = ReadCpuJiffies();
  if (!jiffies) return false;
  previousBusy_ = jiffies->first;
  previousTotal_ = jiffies->second;
  return true;
}

std::optional<int> CLinuxSystemInfo::SampleCpuUsage() {
  const auto jiffies = ReadCpuJiffies();
  if (!jiffies) return std::nullopt;
  const uint64_t busy = jiffies->first - previousBusy_;
  const uint64_t total = jiffies->second - previousTotal_;
  // Within one jiffy nothing has been counted yet; the previous figure stays.
  if (total == 0 || jiffies->second < previousTotal_ || jiffies->first < previousBusy_) return std::nullopt;
  previousBusy_ = jiffies->first;
  previousTotal_ = jiffies->second;
  return static_cast<int>(busy * 100 / total);
}

int CLinuxSystemInfo::CoreCount() {
  // Distinct (package, core) pairs of the CPUs the kernel lists; hyper-threads share one.
  std::set<std::pair<std::string, std::string>> cores;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/sys/devices/system/cpu", error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() < 4 || name.compare(0, 3, "cpu") != 0 ||
        name.find_first_not_of("0123456789", 3) != std::string::npos) {
      continue;
    }
    const std::filesystem::path topology = entry.path() / "topology";
    std::ifstream package(topology / "physical_package_id");
    std::ifstream core(topology / "core_id");
    std::string packageId, coreId;
    if (package >> packageId && core >> coreId) cores.emplace(packageId, coreId);
  }
  if (!cores.empty()) return static_cast<int>(cores.size());
  return static_cast<int>(std::thread::hardware_concurrency());
}

std::string CLinuxSystemInfo::CpuVendor() {
#ifdef ZV_HAS_X86
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(0, &eax, &ebx, &ecx, &edx)) {
    // The vendor string is spread over EBX, EDX, ECX in that order.
    char vendor[13] = {};
    for (int i = 0; i < 4; ++i) {
      vendor[i] = static_cast<char>(ebx >> (8 * i));
      vendor[4 + i] = static_cast<char>(edx >> (8 * i));
      vendor[8 + i] = static_cast<char>(ecx >> (8 * i));
    }
    return vendor;
  }
#endif
  return "Unknown";
}

uint32_t CLinuxSystemInfo::Milliseconds() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

uint64_t CLinuxSystemInfo::CycleCount() {
#ifdef ZV_HAS_X86
  return __rdtsc();
#else
  return 0;
#endif
}
