#include "script/system_status.h"

#include <gtest/gtest.h>

#include "fake_system_info.h"
#include "script/calendar.h"
#include "script/name_tables.h"

namespace {

TEST(Calendar, DayOfYearAndWeek) {
  EXPECT_EQ(DayOfYear(2024, 3, 1), 61);
  EXPECT_EQ(DayOfYear(2023, 3, 1), 60);
  EXPECT_EQ(DayOfYear(2000, 3, 1), 61);
  EXPECT_EQ(DayOfYear(1900, 3, 1), 60);
  EXPECT_EQ(DayOfYear(2023, 1, 1), 1);
  EXPECT_EQ(DayOfYear(2024, 12, 31), 366);
  EXPECT_EQ(DayOfWeek(2024, 3, 1), 5);    // a Friday
  EXPECT_EQ(DayOfWeek(2000, 1, 1), 6);    // a Saturday
  EXPECT_EQ(DayOfWeek(2026, 12, 6), 0);   // a Sunday
}

TEST(SystemStatus, RefreshCopiesTheDateAndFollowsDateChanges) {
  CSystemStatus status;
  FakeSystemInfo info;
  status.Refresh(info);
  EXPECT_EQ(status.Year(), 2024);
  EXPECT_EQ(status.DayOfWeek(), 5);
  EXPECT_EQ(status.DayOfYear(), 61);
  // Running since a leap year does not carry its February into the next year.
  info.time = {2025, 3, 1, 6, 0, 0, 0};
  status.Refresh(info);
  EXPECT_EQ(status.DayOfYear(), 60);
  // Same day of the month, another month.
  info.time = {2025, 4, 1, 2, 0, 0, 0};
  status.Refresh(info);
  EXPECT_EQ(status.DayOfYear(), 91);
}

TEST(SystemStatus, SetDateTimeComputesWeekdayAndDayOfYear) {
  CSystemStatus status;
  status.SetDateTime(2024, 12, 31, 23, 59, 58);
  EXPECT_EQ(status.DayOfYear(), 366);
  EXPECT_EQ(status.DayOfWeek(), 2);
  EXPECT_EQ(status.Second(), 58);
}

TEST(SystemStatus, MemoryFiguresInMiB) {
  CSystemStatus status;
  FakeSystemInfo info;
  info.memory = SMemoryStatus{63, 8192 * kMiB, 3000 * kMiB, 10000 * kMiB, 4000 * kMiB,
                              131072 * kMiB, 131000 * kMiB, 0};
  status.Refresh(info);
  EXPECT_EQ(status.MemoryFigure(FindMemoryStatus(u"Used")), 5192);
  EXPECT_EQ(status.MemoryFigure(FindMemoryStatus(u"Total")), 8192);
  EXPECT_EQ(status.MemoryFigure(FindMemoryStatus(u"UsedPageFile")), 6000);
  EXPECT_EQ(status.MemoryFigure(FindMemoryStatus(u"UsedVirtual")), 72);
  EXPECT_EQ(status.MemoryFigure(FindMemoryStatus(u"UsageRate")), 63);
  EXPECT_EQ(status.MemoryFigure(FindMemoryStatus(u"nonsense")), 63);
  // A failed query keeps the last figures and says so.
  info.memory.reset();
  status.Refresh(info);
  EXPECT_TRUE(status.MemoryQueryFailed());
  EXPECT_EQ(status.MemoryFigure(MEMORY_TOTAL), 8192);
}

TEST(SystemStatus, CpuFigures) {
  CSystemStatus status;
  EXPECT_EQ(status.CpuFigure(CPU_USAGE_RATE), -1);
  EXPECT_EQ(status.CpuFigure(CPU_VENDOR_SELECTOR), VENDOR_UNKNOWN);
  FakeSystemInfo info;
  info.vendor = "AuthenticAMD";
  status.Refresh(info);
  EXPECT_EQ(status.CpuFigure(CPU_USAGE_RATE), 17);
  EXPECT_EQ(status.CpuFigure(kNameNotFound), 17);
  EXPECT_EQ(status.CpuFigure(CPU_VENDOR_SELECTOR), VENDOR_AMD);
  EXPECT_EQ(status.CpuFigure(CPU_NUMBER_OF_CORE), 4);
  EXPECT_EQ(status.CpuFigure(CPU_CLOCK_RATE), 0);  // one sample is no rate yet
  info.milliseconds += 500;
  info.cycles += 1'500'000'000;
  status.Refresh(info);
  EXPECT_EQ(status.CpuFigure(CPU_CLOCK_RATE), 3000);
  EXPECT_EQ(info.opens, 1);
}

TEST(SystemStatus, RefreshesInTheSameMillisecondKeepTheClockRate) {
  CSystemStatus status;
  FakeSystemInfo info;
  status.Refresh(info);
  info.milliseconds += 1000;
  info.cycles += 2'000'000'000;
  status.Refresh(info);
  ASSERT_EQ(status.CpuFigure(CPU_CLOCK_RATE), 2000);
  info.cycles += 5;
  status.Refresh(info);  // no time has passed
  EXPECT_EQ(status.CpuFigure(CPU_CLOCK_RATE), 2000);
}

TEST(SystemStatus, UnavailableCpuUsageIsNeverSampled) {
  CSystemStatus status;
  FakeSystemInfo info;
  info.cpuAvailable = false;
  info.vendor = "SomethingElse";
  status.Refresh(info);
  EXPECT_TRUE(status.CpuUsageUnavailable());
  EXPECT_EQ(status.CpuFigure(CPU_USAGE_RATE), -1);
  EXPECT_EQ(status.CpuFigure(CPU_VENDOR_SELECTOR), VENDOR_UNKNOWN);
}

}  // namespace
