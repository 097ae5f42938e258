#include "platform/headless/scripted_system_info.h"

#include <chrono>

#include "platform/headless/headless_clock.h"

namespace {

constexpr int64_t kSecondsPerDay = 86400;

}  // namespace

CScriptedSystemInfo::CScriptedSystemInfo(std::unique_ptr<ISystemInfo> machine, CHeadlessClock& clock)
    : machine_(std::move(machine)), clock_(clock) {}

void CScriptedSystemInfo::SetCpuUsage(int percent) {
  std::lock_guard lock(mutex_);
  cpuUsage_ = percent;
}

bool CScriptedSystemInfo::SetLocalTime(const SLocalTime& time) {
  using namespace std::chrono;
  const year_month_day date{year{time.year}, month{time.month}, day{time.day}};
  if (!date.ok() || time.hour > 23 || time.minute > 59 || time.second > 59) return false;
  const int64_t days = sys_days(date).time_since_epoch().count();
  std::lock_guard lock(mutex_);
  fixedSeconds_ = days * kSecondsPerDay + time.hour * 3600 + time.minute * 60 + time.second;
  fixedAtMs_ = clock_.NowMs();
  return true;
}

SLocalTime CScriptedSystemInfo::LocalTime() {
  int64_t seconds = 0;
  {
    std::lock_guard lock(mutex_);
    if (!fixedSeconds_) return machine_->LocalTime();
    seconds = *fixedSeconds_ + static_cast<int64_t>((clock_.NowMs() - fixedAtMs_) / 1000);
  }
  using namespace std::chrono;
  // Floor division, so times before 1970 fall on the right day too.
  const int64_t dayCount = seconds / kSecondsPerDay - (seconds % kSecondsPerDay < 0 ? 1 : 0);
  const int64_t inDay = seconds - dayCount * kSecondsPerDay;
  const sys_days day{days{dayCount}};
  const year_month_day date{day};
  SLocalTime time;
  time.year = static_cast<uint16_t>(static_cast<int>(date.year()));
  time.month = static_cast<uint16_t>(static_cast<unsigned>(date.month()));
  time.day = static_cast<uint16_t>(static_cast<unsigned>(date.day()));
  time.dayOfWeek = static_cast<uint16_t>(weekday{day}.c_encoding());
  time.hour = static_cast<uint16_t>(inDay / 3600);
  time.minute = static_cast<uint16_t>(inDay / 60 % 60);
  time.second = static_cast<uint16_t>(inDay % 60);
  return time;
}

bool CScriptedSystemInfo::OpenCpuUsage() {
  machine_->OpenCpuUsage();
  return true;
}

std::optional<int> CScriptedSystemInfo::SampleCpuUsage() {
  {
    std::lock_guard lock(mutex_);
    if (cpuUsage_) return cpuUsage_;
  }
  return machine_->SampleCpuUsage();
}
