#include "script/calendar.h"

namespace {

constexpr int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DayOfYear(int year, int month, int day) {
  if (month < 1 || month > 12) return day;
  const int leapDay = month > 2 && IsLeapYear(year) ? 1 : 0;
  return kDaysBeforeMonth[month - 1] + leapDay + day;
}

int DayOfWeek(int year, int month, int day) {
  // Sakamoto's method: January and February count as months of the previous year.
  static constexpr int kMonthOffset[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 1 || month > 12) return 0;
  if (month < 3) year -= 1;
  const int days = year + year / 4 - year / 100 + year / 400 + kMonthOffset[month - 1] + day;
  return ((days % 7) + 7) % 7;
}
