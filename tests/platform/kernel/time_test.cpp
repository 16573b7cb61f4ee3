// Time: tick counts on the manual clock, system and local time, FILETIME <-> SYSTEMTIME
// against known values and the C library's calendar, bad dates, time zones.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <sstream>
#include <string>

#include "kernel_testing.h"
#include "windows.h"

namespace {

constexpr std::uint64_t kYear2000 = 125911584000000000ull;
constexpr std::uint64_t kTicksPerSecond = 10000000ull;
constexpr std::uint64_t kUnixEpoch = 116444736000000000ull;

FILETIME FileTime(std::uint64_t ticks) {
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

std::uint64_t Ticks(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

SYSTEMTIME Date(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0,
                WORD second = 0, WORD ms = 0) {
  return SYSTEMTIME{year, month, 0, day, hour, minute, second, ms};
}

std::string Text(const SYSTEMTIME& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u dow%u", t.wYear, t.wMonth,
                t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds, t.wDayOfWeek);
  return text;
}

std::string TextOf(std::uint64_t ticks) {
  SYSTEMTIME t{};
  const FILETIME ft = FileTime(ticks);
  EXPECT_TRUE(FileTimeToSystemTime(&ft, &t));
  return Text(t);
}

// Sets the host's time zone for one test and puts the old one back.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) old_ = old;
    ::setenv("TZ", zone, 1);
    ::tzset();
  }
  ~ScopedTimeZone() {
    if (old_)
      ::setenv("TZ", old_->c_str(), 1);
    else
      ::unsetenv("TZ");
    ::tzset();
  }

 private:
  std::optional<std::string> old_;
};

constexpr const char* kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";

class ClockTime : public zx::test::ManualClockTest {};

TEST_F(ClockTime, TickCountWrapsAfter32Bits) {
  clock_.Advance(0xFFFFFFFFull - 5);
  EXPECT_EQ(GetTickCount(), 0xFFFFFFFAu);
  EXPECT_EQ(timeGetTime(), 0xFFFFFFFAu);
  clock_.Advance(10);
  EXPECT_EQ(GetTickCount(), 4u);
  EXPECT_EQ(timeGetTime(), 4u);
  EXPECT_EQ(GetTickCount64(), 0x100000004ull);
  // The usual elapsed-time arithmetic survives the wrap.
  EXPECT_EQ(GetTickCount() - 0xFFFFFFFAu, 10u);
}

TEST_F(ClockTime, SystemTimeFollowsTheWallClock) {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  EXPECT_EQ(Ticks(now), kYear2000);
  clock_.Advance(90061500);  // 1 day, 1 hour, 1 minute, 1.5 seconds
  SYSTEMTIME t{};
  GetSystemTime(&t);
  EXPECT_EQ(Text(t), "2000-01-02 01:01:01.500 dow0");
  clock_.SetWallTime(0);
  GetSystemTime(&t);
  EXPECT_EQ(Text(t), "1601-01-01 00:00:00.000 dow1");
}

TEST_F(ClockTime, LocalTimeUsesTheHostZone) {
  ScopedTimeZone zone(kCentralEurope);
  SYSTEMTIME t{};
  GetLocalTime(&t);
  EXPECT_EQ(Text(t), "2000-01-01 01:00:00.000 dow6");
  // July: summer time, two hours ahead.
  SYSTEMTIME july = Date(2000, 7, 1, 12);
  FILETIME ft{};
  ASSERT_TRUE(SystemTimeToFileTime(&july, &ft));
  clock_.SetWallTime(Ticks(ft));
  GetLocalTime(&t);
  EXPECT_EQ(Text(t), "2000-07-01 14:00:00.000 dow6");
}

TEST_F(ClockTime, FileTimeToLocalUsesTheBiasInForceNow) {
  ScopedTimeZone zone(kCentralEurope);
  const FILETIME winter = FileTime(kYear2000);
  FILETIME local{};
  // Now is winter: one hour, whatever the date converted.
  ASSERT_TRUE(FileTimeToLocalFileTime(&winter, &local));
  EXPECT_EQ(Ticks(local), kYear2000 + 3600 * kTicksPerSecond);
  SYSTEMTIME july = Date(2000, 7, 1);
  FILETIME summer{};
  SystemTimeToFileTime(&july, &summer);
  clock_.SetWallTime(Ticks(summer));
  // Now is summer: two hours, even for a January date (as Windows does).
  ASSERT_TRUE(FileTimeToLocalFileTime(&winter, &local));
  EXPECT_EQ(Ticks(local), kYear2000 + 7200 * kTicksPerSecond);
  FILETIME back{};
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
  EXPECT_EQ(Ticks(back), kYear2000);
}

TEST(FileTimes, KnownValues) {
  EXPECT_EQ(TextOf(0), "1601-01-01 00:00:00.000 dow1");
  EXPECT_EQ(TextOf(kYear2000), "2000-01-01 00:00:00.000 dow6");
  EXPECT_EQ(TextOf(kUnixEpoch), "1970-01-01 00:00:00.000 dow4");
  EXPECT_EQ(TextOf(kYear2000 + 59ull * 86400 * kTicksPerSecond), "2000-02-29 00:00:00.000 dow2");
  EXPECT_EQ(TextOf(kYear2000 - 1), "1999-12-31 23:59:59.999 dow5");
  // The last moment a FILETIME can name.
  EXPECT_EQ(TextOf(0x7FFFFFFFFFFFFFFFull), "30828-09-14 02:48:05.477 dow4");
  SYSTEMTIME t = Date(2000, 1, 1);
  t.wDayOfWeek = 3;  // ignored
  FILETIME ft{};
  ASSERT_TRUE(SystemTimeToFileTime(&t, &ft));
  EXPECT_EQ(Ticks(ft), kYear2000);
  EXPECT_EQ(ft.dwLowDateTime, 0x256D4000u);
  EXPECT_EQ(ft.dwHighDateTime, 0x1BF53EBu);
  t = Date(1601, 1, 1);
  ASSERT_TRUE(SystemTimeToFileTime(&t, &ft));
  EXPECT_EQ(Ticks(ft), 0u);
}

TEST(FileTimes, AgreeWithTheCLibraryCalendar) {
  // Every 3 days and 7 hours from 1970 to 2100, against gmtime.
  for (std::int64_t seconds = 0; seconds < 4102444800; seconds += 3 * 86400 + 7 * 3600 + 13) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    const std::tm* c = std::gmtime(&t);
    ASSERT_NE(c, nullptr);
    SYSTEMTIME s{};
    const FILETIME ft =
        FileTime(kUnixEpoch + static_cast<std::uint64_t>(seconds) * kTicksPerSecond);
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &s));
    ASSERT_EQ(Text(s), Text(SYSTEMTIME{static_cast<WORD>(c->tm_year + 1900),
                                       static_cast<WORD>(c->tm_mon + 1),
                                       static_cast<WORD>(c->tm_wday), static_cast<WORD>(c->tm_mday),
                                       static_cast<WORD>(c->tm_hour), static_cast<WORD>(c->tm_min),
                                       static_cast<WORD>(c->tm_sec), 0}));
  }
}

TEST(FileTimes, RoundTripEveryDayOfAFourHundredYearCycle) {
  // From 1601 on, across 1700, 1800, 1900 (no leap days) and 2000 (a leap day).
  const std::uint64_t day = 86400ull * kTicksPerSecond;
  const std::uint64_t first = 12345678;
  for (std::uint64_t d = 0; d <= 146097 + 400; ++d) {
    const FILETIME in = FileTime(first + d * day);
    SYSTEMTIME s{};
    FILETIME out{};
    ASSERT_TRUE(FileTimeToSystemTime(&in, &s));
    ASSERT_TRUE(SystemTimeToFileTime(&s, &out)) << Text(s);
    ASSERT_EQ(Ticks(out), Ticks(in) - Ticks(in) % 10000) << Text(s);
  }
}

TEST(FileTimes, BadDatesAreRefused) {
  const SYSTEMTIME bad[] = {
      Date(2021, 2, 31),       Date(2021, 2, 29),       Date(1900, 2, 29),
      Date(2021, 4, 31),       Date(2021, 13, 1),       Date(2021, 0, 1),
      Date(2021, 1, 0),        Date(2021, 1, 1, 24),    Date(2021, 1, 1, 0, 60),
      Date(2021, 1, 1, 0, 0, 60), Date(2021, 1, 1, 0, 0, 0, 1000),
      Date(1600, 12, 31),      Date(30828, 1, 1),       Date(0, 1, 1)};
  for (const SYSTEMTIME& t : bad) {
    FILETIME ft{0x12345678, 0x9ABC};
    SetLastError(0);
    EXPECT_FALSE(SystemTimeToFileTime(&t, &ft)) << Text(t);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(ft.dwLowDateTime, 0x12345678u) << "output touched";
  }
  const SYSTEMTIME good[] = {Date(2000, 2, 29), Date(2024, 2, 29),
                             Date(30827, 12, 31, 23, 59, 59, 999)};
  for (const SYSTEMTIME& t : good) {
    FILETIME ft{};
    EXPECT_TRUE(SystemTimeToFileTime(&t, &ft)) << Text(t);
  }
  const FILETIME tooLate = FileTime(0x8000000000000000ull);
  SYSTEMTIME s{};
  EXPECT_FALSE(FileTimeToSystemTime(&tooLate, &s));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(FileTimes, CompareOrdersByTheWholeValue) {
  const FILETIME a{0xFFFFFFFF, 1};
  const FILETIME b{0, 2};
  EXPECT_EQ(CompareFileTime(&a, &b), -1);
  EXPECT_EQ(CompareFileTime(&b, &a), 1);
  EXPECT_EQ(CompareFileTime(&a, &a), 0);
}

TEST(TimeZones, HostZoneFollowsItsRulesAtEachDate) {
  ScopedTimeZone zone(kCentralEurope);
  SYSTEMTIME utc = Date(2021, 7, 1, 12);
  SYSTEMTIME local{};
  ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local));
  EXPECT_EQ(Text(local), "2021-07-01 14:00:00.000 dow4");
  utc = Date(2021, 12, 31, 23, 30);
  ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local));
  EXPECT_EQ(Text(local), "2022-01-01 00:30:00.000 dow6");
  SYSTEMTIME back{};
  ASSERT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &back));
  EXPECT_EQ(Text(back), "2021-12-31 23:30:00.000 dow5");
  local = Date(2021, 7, 1, 14);
  ASSERT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &back));
  EXPECT_EQ(Text(back), "2021-07-01 12:00:00.000 dow4");
}

TIME_ZONE_INFORMATION Eastern() {
  TIME_ZONE_INFORMATION zone{};
  zone.Bias = 300;
  zone.StandardDate = SYSTEMTIME{0, 11, 0, 1, 2, 0, 0, 0};  // first Sunday of November, 2:00
  zone.DaylightDate = SYSTEMTIME{0, 3, 0, 2, 2, 0, 0, 0};   // second Sunday of March, 2:00
  zone.DaylightBias = -60;
  return zone;
}

TEST(TimeZones, ExplicitZoneRulesChangeAtTheRightMinute) {
  const TIME_ZONE_INFORMATION zone = Eastern();
  auto local = [&](SYSTEMTIME utc) {
    SYSTEMTIME out{};
    EXPECT_TRUE(SystemTimeToTzSpecificLocalTime(&zone, &utc, &out));
    return Text(out);
  };
  EXPECT_EQ(local(Date(2021, 7, 1, 12)), "2021-07-01 08:00:00.000 dow4");
  EXPECT_EQ(local(Date(2021, 12, 1, 12)), "2021-12-01 07:00:00.000 dow3");
  // 14 March 2021 is the second Sunday: 2:00 standard time becomes 3:00.
  EXPECT_EQ(local(Date(2021, 3, 14, 6, 59)), "2021-03-14 01:59:00.000 dow0");
  EXPECT_EQ(local(Date(2021, 3, 14, 7, 0)), "2021-03-14 03:00:00.000 dow0");
  // 7 November 2021 is the first Sunday: 2:00 daylight time goes back to 1:00.
  EXPECT_EQ(local(Date(2021, 11, 7, 5, 59)), "2021-11-07 01:59:00.000 dow0");
  EXPECT_EQ(local(Date(2021, 11, 7, 6, 0)), "2021-11-07 01:00:00.000 dow0");
  SYSTEMTIME summer = Date(2021, 7, 1, 8);
  SYSTEMTIME utc{};
  ASSERT_TRUE(TzSpecificLocalTimeToSystemTime(&zone, &summer, &utc));
  EXPECT_EQ(Text(utc), "2021-07-01 12:00:00.000 dow4");
}

TEST(TimeZones, LastWeekdayRuleAndZonesWithoutDaylightTime) {
  TIME_ZONE_INFORMATION europe{};
  europe.Bias = -60;
  europe.StandardDate = SYSTEMTIME{0, 10, 0, 5, 3, 0, 0, 0};  // last Sunday of October, 3:00
  europe.DaylightDate = SYSTEMTIME{0, 3, 0, 5, 2, 0, 0, 0};   // last Sunday of March, 2:00
  europe.DaylightBias = -60;
  SYSTEMTIME utc = Date(2021, 3, 28, 0, 59);  // the last Sunday of March 2021
  SYSTEMTIME local{};
  ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(&europe, &utc, &local));
  EXPECT_EQ(Text(local), "2021-03-28 01:59:00.000 dow0");
  utc = Date(2021, 3, 28, 1, 0);
  ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(&europe, &utc, &local));
  EXPECT_EQ(Text(local), "2021-03-28 03:00:00.000 dow0");

  TIME_ZONE_INFORMATION india{};
  india.Bias = -330;
  utc = Date(2021, 7, 1, 12);
  ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(&india, &utc, &local));
  EXPECT_EQ(Text(local), "2021-07-01 17:30:00.000 dow4");
}

TEST(TimeZones, DamagedInputIsRefused) {
  TIME_ZONE_INFORMATION zone = Eastern();
  zone.DaylightDate.wMonth = 13;
  SYSTEMTIME utc = Date(2021, 7, 1, 12);
  SYSTEMTIME local{};
  EXPECT_FALSE(SystemTimeToTzSpecificLocalTime(&zone, &utc, &local));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  zone = Eastern();
  zone.StandardDate.wDay = 6;
  EXPECT_FALSE(SystemTimeToTzSpecificLocalTime(&zone, &utc, &local));
  const SYSTEMTIME bad = Date(2021, 2, 30);
  EXPECT_FALSE(SystemTimeToTzSpecificLocalTime(nullptr, &bad, &local));
  EXPECT_FALSE(TzSpecificLocalTimeToSystemTime(nullptr, &bad, &local));
  // Before 1601 in UTC: no FILETIME can hold it.
  TIME_ZONE_INFORMATION east{};
  east.Bias = -600;
  const SYSTEMTIME first = Date(1601, 1, 1, 1);
  EXPECT_FALSE(TzSpecificLocalTimeToSystemTime(&east, &first, &local));
}

}  // namespace

namespace {

// A program started to skip its pauses sees a 20 s Sleep pass on its tick count and wall time
// at once.
TEST(SkippedPauses, MoveTheProgramsClockInsteadOfWaiting) {
  ::setenv("ZX_SKIP_PAUSES", "1", 1);
  zx::test::ChildProcess child(zx::test::TestProgram(), "pause", "20000");
  ::unsetenv("ZX_SKIP_PAUSES");
  ASSERT_TRUE(child.started());
  std::istringstream line(child.ReadLine());
  std::uint64_t ticks = 0, wall = 0, host = 0;
  line >> ticks >> wall >> host;
  EXPECT_GE(ticks, 20000u);
  EXPECT_GE(wall, 20000u);
  EXPECT_LT(host, 10000u);
  EXPECT_EQ(child.Wait(), 0);
}

TEST(FixedWallTime, OnlyPlainDigitsWithinTheCalendarAreRead) {
  const struct {
    const char* text;
    std::optional<std::uint64_t> read;
  } cases[] = {
      {"125911584000000000", kYear2000},
      {"0125911584000000000", kYear2000},
      {"2334898656000000000", 2334898656000000000ull},  // the first of the year 9000
      {"2334898656000000001", std::nullopt},
      {"99999999999999999999999", std::nullopt},         // past 64 bits
      {"0", std::nullopt},
      {"", std::nullopt},
      {"-1", std::nullopt},
      {"125911584000000000 ", std::nullopt},
      {"1e18", std::nullopt},
  };
  for (const auto& c : cases) {
    std::uint64_t value = 7;
    EXPECT_EQ(zx::ReadFixedWallTime(c.text, &value), c.read.has_value()) << '"' << c.text << '"';
    if (c.read) {
      EXPECT_EQ(value, *c.read) << c.text;
    }
  }
}

}  // namespace
