// The date and time picker's fields: a format ("M/d/yyyy", "h:mm:ss tt", quoted literals)
// turned into the segments a time shows, dates checked and completed, and one field moved.
#pragma once
#include <string>
#include <vector>

#include "datetimepick.h"

namespace zx::comctl::dtp {

enum class Field { kLiteral, kDay, kDayName, kMonth, kYear, kHour, kMinute, kSecond, kAmPm };

struct Segment {
  Field field;
  std::u16string text;
};

// The format a picker of this style shows when it was given none.
std::u16string DefaultFormat(DWORD style);
// The segments of a time in a format.
std::vector<Segment> Render(const std::u16string& format, const SYSTEMTIME& time);
std::u16string Joined(const std::vector<Segment>& segments);

int DaysInMonth(int year, int month);
// A date and time the picker can show (years 1601 to 9999).
bool IsValidTime(const SYSTEMTIME& time);
// The time with its day of the week set and milliseconds cleared.
SYSTEMTIME Completed(SYSTEMTIME time);
// The time with one field moved by delta, wrapping within the field; the day stays within
// its month.
SYSTEMTIME Stepped(const SYSTEMTIME& time, Field field, int delta);

}  // namespace zx::comctl::dtp
