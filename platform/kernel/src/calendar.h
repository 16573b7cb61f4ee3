// The Gregorian calendar behind FILETIME <-> SYSTEMTIME. Kernel-internal.
#pragma once
#include <cstdint>

#include "wintypes.h"

namespace zx::calendar {

constexpr std::uint64_t kTicksPerMs = 10000;
constexpr std::uint64_t kTicksPerSecond = 10000000;
// FILETIME of 1970-01-01 00:00:00 UTC.
constexpr std::uint64_t kUnixEpochTicks = 116444736000000000ull;

int DaysInMonth(int year, int month);
// Day 0 is 1601-01-01 (a Monday); valid for years 1601 and later.
std::int64_t DayNumber(int year, int month, int day);
// wDayOfWeek of a day number: 0 is Sunday.
WORD DayOfWeek(std::int64_t dayNumber);

// False for a FILETIME past the Windows range (high bit set).
bool ToSystemTime(std::uint64_t ticks, SYSTEMTIME& time);
// False when a field is out of range (year 1601..30827, the day within its month...).
bool ToTicks(const SYSTEMTIME& time, std::uint64_t& ticks);

inline std::uint64_t Ticks(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}
inline FILETIME MakeFileTime(std::uint64_t ticks) {
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace zx::calendar
