// Local time: the host's time zone (or a TIME_ZONE_INFORMATION's rules) applied to the
// layer's clock and to FILETIME / SYSTEMTIME values.
#include <time.h>

#include <optional>

#include "calendar.h"
#include "errhandlingapi.h"
#include "sysinfoapi.h"
#include "zx/clock.h"

using namespace zx::calendar;

namespace {

constexpr std::int64_t kTicksPerMinute = 60 * static_cast<std::int64_t>(kTicksPerSecond);

// Local minus UTC, in ticks, in the host's zone at a UTC moment.
std::int64_t HostOffset(std::int64_t utcTicks) {
  const time_t seconds = static_cast<time_t>(
      (utcTicks - static_cast<std::int64_t>(kUnixEpochTicks)) /
      static_cast<std::int64_t>(kTicksPerSecond));
  ::tzset();
  tm local{};
  ::localtime_r(&seconds, &local);
  return static_cast<std::int64_t>(local.tm_gmtoff) * static_cast<std::int64_t>(kTicksPerSecond);
}

// The local moment of a zone's yearly change, in the frame the rule is written in (the
// daylight start in standard time, the standard start in daylight time).
std::optional<std::int64_t> ChangeMoment(int year, const SYSTEMTIME& rule) {
  if (rule.wMonth < 1 || rule.wMonth > 12 || rule.wDayOfWeek > 6 || rule.wDay < 1) return {};
  int day = rule.wDay;
  if (rule.wYear == 0) {
    if (rule.wDay > 5) return {};
    const int first = DayOfWeek(DayNumber(year, rule.wMonth, 1));
    day = 1 + (rule.wDayOfWeek + 7 - first) % 7 + (rule.wDay - 1) * 7;
    while (day > DaysInMonth(year, rule.wMonth)) day -= 7;
  }
  SYSTEMTIME at{static_cast<WORD>(year), rule.wMonth, 0, static_cast<WORD>(day), rule.wHour,
                rule.wMinute, rule.wSecond, rule.wMilliseconds};
  std::uint64_t ticks = 0;
  if (!ToTicks(at, ticks)) return {};
  return static_cast<std::int64_t>(ticks);
}

// Local minus UTC under a zone's rules, for a moment given in UTC (fromLocal false) or in
// local time (fromLocal true).
std::optional<std::int64_t> ZoneOffset(const TIME_ZONE_INFORMATION& zone, std::int64_t moment,
                                       bool fromLocal) {
  const std::int64_t standard = -(zone.Bias + zone.StandardBias) * kTicksPerMinute;
  const std::int64_t daylight = -(zone.Bias + zone.DaylightBias) * kTicksPerMinute;
  if (zone.StandardDate.wMonth == 0 || zone.DaylightDate.wMonth == 0) return standard;
  // The year of the changes is the local (standard time) year of the moment.
  const std::int64_t local = fromLocal ? moment : moment + standard;
  SYSTEMTIME civil{};
  if (local < 0 || !ToSystemTime(static_cast<std::uint64_t>(local), civil)) return {};
  auto start = ChangeMoment(civil.wYear, zone.DaylightDate);
  auto end = ChangeMoment(civil.wYear, zone.StandardDate);
  if (!start || !end) return {};
  if (!fromLocal) {
    *start -= standard;
    *end -= daylight;
  }
  const bool inDaylight = *start < *end ? (moment >= *start && moment < *end)
                                        : (moment >= *start || moment < *end);
  return inDaylight ? daylight : standard;
}

std::optional<std::int64_t> OffsetAtUtc(const TIME_ZONE_INFORMATION* zone, std::int64_t utc) {
  return zone ? ZoneOffset(*zone, utc, false) : HostOffset(utc);
}

std::optional<std::int64_t> OffsetAtLocal(const TIME_ZONE_INFORMATION* zone, std::int64_t local) {
  if (zone) return ZoneOffset(*zone, local, true);
  const std::int64_t guess = HostOffset(local);
  return HostOffset(local - guess);
}

// Applies an offset (added or taken away) to a SYSTEMTIME.
BOOL Shift(const SYSTEMTIME* in, LPSYSTEMTIME out, bool toLocal,
           std::optional<std::int64_t> (*offsetOf)(const TIME_ZONE_INFORMATION*, std::int64_t),
           const TIME_ZONE_INFORMATION* zone) {
  std::uint64_t ticks = 0;
  if (in && out && ToTicks(*in, ticks)) {
    const auto moment = static_cast<std::int64_t>(ticks);
    if (auto offset = offsetOf(zone, moment)) {
      const std::int64_t shifted = toLocal ? moment + *offset : moment - *offset;
      if (shifted >= 0 && ToSystemTime(static_cast<std::uint64_t>(shifted), *out)) return TRUE;
    }
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

// FILETIME shifted by the host's offset in force now.
BOOL ShiftByCurrentBias(const FILETIME* in, LPFILETIME out, int sign) {
  if (!in || !out) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto now = static_cast<std::int64_t>(zx::CurrentClock().WallTime());
  *out = MakeFileTime(Ticks(*in) + static_cast<std::uint64_t>(sign * HostOffset(now)));
  return TRUE;
}

}  // namespace

BOOL SystemTimeToTzSpecificLocalTime(const TIME_ZONE_INFORMATION* timeZone,
                                     const SYSTEMTIME* universalTime, LPSYSTEMTIME localTime) {
  return Shift(universalTime, localTime, true, OffsetAtUtc, timeZone);
}

BOOL TzSpecificLocalTimeToSystemTime(const TIME_ZONE_INFORMATION* timeZone,
                                     const SYSTEMTIME* localTime, LPSYSTEMTIME universalTime) {
  return Shift(localTime, universalTime, false, OffsetAtLocal, timeZone);
}

void GetLocalTime(LPSYSTEMTIME localTime) {
  SYSTEMTIME utc{};
  GetSystemTime(&utc);
  SystemTimeToTzSpecificLocalTime(nullptr, &utc, localTime);
}

BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime) {
  return ShiftByCurrentBias(fileTime, localFileTime, 1);
}

BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime) {
  return ShiftByCurrentBias(localFileTime, fileTime, -1);
}
