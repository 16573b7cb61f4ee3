// The Gregorian calendar from 1601 on: 1601 starts a 400-year cycle, which keeps the day
// arithmetic to whole cycles of 400, 100, 4 and 1 years.
#include "calendar.h"

namespace zx::calendar {
namespace {

constexpr std::int64_t kDaysPer400Years = 146097;
constexpr std::int64_t kDaysPer100Years = 36524;
constexpr std::int64_t kDaysPer4Years = 1461;
constexpr std::uint64_t kTicksPerDay = 86400ull * kTicksPerSecond;

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

std::int64_t DayNumber(int year, int month, int day) {
  const std::int64_t years = year - 1601;
  std::int64_t days = years * 365 + years / 4 - years / 100 + years / 400;
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  return days + day - 1;
}

WORD DayOfWeek(std::int64_t dayNumber) { return static_cast<WORD>((dayNumber + 1) % 7); }

bool ToSystemTime(std::uint64_t ticks, SYSTEMTIME& time) {
  if (ticks >> 63) return false;
  const std::int64_t dayNumber = static_cast<std::int64_t>(ticks / kTicksPerDay);
  std::uint64_t inDay = ticks % kTicksPerDay;

  std::int64_t days = dayNumber;
  const std::int64_t cycles400 = days / kDaysPer400Years;
  days %= kDaysPer400Years;
  // The last century and the last year of a cycle are one day longer: clamp to them.
  const std::int64_t centuries = days / kDaysPer100Years == 4 ? 3 : days / kDaysPer100Years;
  days -= centuries * kDaysPer100Years;
  const std::int64_t cycles4 = days / kDaysPer4Years;
  days %= kDaysPer4Years;
  const std::int64_t years = days / 365 == 4 ? 3 : days / 365;
  days -= years * 365;

  const int year = static_cast<int>(1601 + cycles400 * 400 + centuries * 100 + cycles4 * 4 + years);
  int month = 1;
  while (days >= DaysInMonth(year, month)) days -= DaysInMonth(year, month++);

  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(days + 1);
  time.wDayOfWeek = DayOfWeek(dayNumber);
  time.wHour = static_cast<WORD>(inDay / (3600 * kTicksPerSecond));
  inDay %= 3600 * kTicksPerSecond;
  time.wMinute = static_cast<WORD>(inDay / (60 * kTicksPerSecond));
  inDay %= 60 * kTicksPerSecond;
  time.wSecond = static_cast<WORD>(inDay / kTicksPerSecond);
  time.wMilliseconds = static_cast<WORD>(inDay % kTicksPerSecond / kTicksPerMs);
  return true;
}

bool ToTicks(const SYSTEMTIME& time, std::uint64_t& ticks) {
  if (time.wYear < 1601 || time.wYear > 30827 || time.wMonth < 1 || time.wMonth > 12 ||
      time.wDay < 1 || time.wDay > DaysInMonth(time.wYear, time.wMonth) || time.wHour > 23 ||
      time.wMinute > 59 || time.wSecond > 59 || time.wMilliseconds > 999)
    return false;
  const std::uint64_t seconds =
      static_cast<std::uint64_t>(DayNumber(time.wYear, time.wMonth, time.wDay)) * 86400 +
      time.wHour * 3600u + time.wMinute * 60u + time.wSecond;
  ticks = seconds * kTicksPerSecond + time.wMilliseconds * kTicksPerMs;
  return true;
}

}  // namespace zx::calendar
