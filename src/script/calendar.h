#pragma once
// Calendar arithmetic of the Gregorian calendar for the date built-ins.

bool IsLeapYear(int year);
// 1 for 1 January; February has 29 days in a leap year. Month 1..12.
int DayOfYear(int year, int month, int day);
// 0 = Sunday .. 6 = Saturday.
int DayOfWeek(int year, int month, int day);
