// CTime: a calendar time in whole seconds, read from the layer's clock, with strftime-style
// formatting in English (the C locale) over local time.
#pragma once
#include "afxstr.h"
#include "wintypes.h"

class CTime {
 public:
  CTime() = default;
  // Local time fields; a time that does not exist reads as 0.
  CTime(int year, int month, int day, int hour, int minute, int second);
  explicit CTime(const SYSTEMTIME& localTime);
  // The moment of a file time (UTC). A file time past the year 30827 throws
  // CInvalidArgException*, as the class library does for a time it cannot convert.
  explicit CTime(const FILETIME& fileTime);
  static CTime GetCurrentTime();

  // Seconds since 1970-01-01 00:00:00 UTC.
  LONGLONG GetTime() const { return seconds_; }
  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 Sunday .. 7 Saturday
  BOOL GetAsSystemTime(SYSTEMTIME& localTime) const;

  // %a %A %b %B %d %H %I %j %m %M %p %S %y %Y %%; other conversions are copied as written.
  CString Format(LPCTSTR format) const;

  auto operator<=>(const CTime&) const = default;

 private:
  LONGLONG seconds_ = 0;
};
