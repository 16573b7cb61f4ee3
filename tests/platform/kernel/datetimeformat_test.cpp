// Dates and times as text: the pictures' elements, quoted text, the default pictures, the
// time flags, the buffer rules and days or times outside the calendar.
#include <gtest/gtest.h>

#include <string>

#include "windows.h"

namespace {

SYSTEMTIME At(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0) {
  SYSTEMTIME time{};
  time.wYear = year;
  time.wMonth = month;
  time.wDay = day;
  time.wHour = hour;
  time.wMinute = minute;
  time.wSecond = second;
  return time;
}

std::u16string Date(const SYSTEMTIME& time, LPCWSTR picture, DWORD flags = 0) {
  WCHAR text[128] = {};
  const int written = GetDateFormatW(LOCALE_USER_DEFAULT, flags, &time, picture, text, 128);
  EXPECT_GT(written, 0);
  EXPECT_EQ(static_cast<std::size_t>(written), std::char_traits<char16_t>::length(text) + 1);
  return text;
}

std::u16string Time(const SYSTEMTIME& time, LPCWSTR picture, DWORD flags = 0) {
  WCHAR text[128] = {};
  EXPECT_GT(GetTimeFormatW(LOCALE_USER_DEFAULT, flags, &time, picture, text, 128), 0);
  return text;
}

TEST(DateFormat, ThePicturesElements) {
  const SYSTEMTIME day = At(2013, 2, 4);
  EXPECT_EQ(Date(day, u"MM-dd-yyyy"), u"02-04-2013");
  EXPECT_EQ(Date(day, u"M/d/yy"), u"2/4/13");
  EXPECT_EQ(Date(day, u"ddd, MMM d yyyy"), u"Mon, Feb 4 2013");
  EXPECT_EQ(Date(day, u"dddd d MMMM yyyy gg"), u"Monday 4 February 2013 A.D.");
  EXPECT_EQ(Date(At(2000, 2, 29), u"dddd"), u"Tuesday") << "the weekday comes from the date";
  EXPECT_EQ(Date(At(2009, 12, 31), u"yy.MM.dd"), u"09.12.31");
}

TEST(DateFormat, QuotedTextIsCopied) {
  EXPECT_EQ(Date(At(2013, 2, 4), u"'day' d 'of' MMMM, 'it''s' yyyy"), u"day 4 of February, it's 2013");
  EXPECT_EQ(Date(At(2013, 2, 4), u"d 'unclosed"), u"4 unclosed");
}

TEST(DateFormat, DefaultPictures) {
  const SYSTEMTIME day = At(2026, 12, 8);
  EXPECT_EQ(Date(day, nullptr), u"12/8/2026");
  EXPECT_EQ(Date(day, nullptr, DATE_SHORTDATE), u"12/8/2026");
  EXPECT_EQ(Date(day, nullptr, DATE_LONGDATE), u"Tuesday, December 8, 2026");
}

TEST(DateFormat, ConflictingFlagsAreRefused) {
  const SYSTEMTIME day = At(2013, 2, 4);
  WCHAR text[32];
  SetLastError(0);
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, u"MM", text, 32), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE | DATE_LONGDATE, &day, nullptr, text, 32), 0);
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, 0x100, &day, nullptr, text, 32), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
}

TEST(DateFormat, DaysOutsideTheCalendarAreInvalid) {
  WCHAR text[32];
  for (const SYSTEMTIME& day : {At(2013, 2, 29), At(2013, 13, 1), At(2013, 0, 1), At(1600, 12, 31), At(2013, 4, 0)}) {
    SetLastError(0);
    EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, 0, &day, u"MM-dd-yyyy", text, 32), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
}

TEST(DateFormat, BufferRules) {
  const SYSTEMTIME day = At(2013, 2, 4);
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, 0, &day, u"MM-dd-yyyy", nullptr, 0), 11);
  WCHAR text[11] = {};
  SetLastError(0);
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, 0, &day, u"MM-dd-yyyy", text, 10), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, 0, &day, u"MM-dd-yyyy", text, 11), 11);
  EXPECT_EQ(std::u16string(text), u"02-04-2013");
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, 0, &day, u"MM", nullptr, 5), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_GT(GetDateFormatW(LOCALE_USER_DEFAULT, 0, nullptr, u"yyyy", nullptr, 0), 0) << "today";
}

TEST(TimeFormat, ThePicturesElements) {
  EXPECT_EQ(Time(At(2013, 2, 4, 0, 5, 9), nullptr), u"12:05:09 AM");
  EXPECT_EQ(Time(At(2013, 2, 4, 13, 5, 9), nullptr), u"1:05:09 PM");
  EXPECT_EQ(Time(At(2013, 2, 4, 13, 5, 9), u"HH'h'mm t"), u"13h05 P");
  EXPECT_EQ(Time(At(2013, 2, 4, 9, 0, 0), u"hh:mm:ss tt"), u"09:00:00 AM");
}

TEST(TimeFormat, FlagsLeaveElementsOut) {
  const SYSTEMTIME time = At(2013, 2, 4, 15, 42, 7);
  EXPECT_EQ(Time(time, nullptr, TIME_NOSECONDS), u"3:42 PM");
  EXPECT_EQ(Time(time, nullptr, TIME_NOMINUTESORSECONDS), u"3 PM");
  EXPECT_EQ(Time(time, nullptr, TIME_NOTIMEMARKER), u"3:42:07");
  EXPECT_EQ(Time(time, nullptr, TIME_FORCE24HOURFORMAT | TIME_NOTIMEMARKER), u"15:42:07");
}

TEST(TimeFormat, TimesOutsideTheDayAreInvalid) {
  WCHAR text[32];
  for (const SYSTEMTIME& time : {At(2013, 2, 4, 24), At(2013, 2, 4, 1, 60), At(2013, 2, 4, 1, 1, 60)}) {
    SetLastError(0);
    EXPECT_EQ(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, 32), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  const SYSTEMTIME time = At(2013, 2, 4, 1);
  EXPECT_EQ(GetTimeFormatW(LOCALE_USER_DEFAULT, 0x40, &time, nullptr, text, 32), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
}

}  // namespace
