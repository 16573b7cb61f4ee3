// CTime: calendar times in seconds, converted to and from local time through the layer's
// time functions, and formatted in English.
#include "atltime.h"

#include "afxexcept.h"

#include "sysinfoapi.h"

namespace {

constexpr LONGLONG kUnixEpochIn100ns = 116444736000000000LL;

const WCHAR* const kDays[] = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday",
                              u"Saturday"};
const WCHAR* const kMonths[] = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                                u"July",    u"August",   u"September", u"October", u"November", u"December"};

bool ToSeconds(const SYSTEMTIME& local, LONGLONG& seconds) {
  FILETIME localFile, utc;
  if (!SystemTimeToFileTime(&local, &localFile) || !LocalFileTimeToFileTime(&localFile, &utc)) return false;
  const LONGLONG value = (static_cast<LONGLONG>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
  seconds = (value - kUnixEpochIn100ns) / 10000000LL;
  return true;
}

CString Number(int value, int digits) {
  CString text;
  text.Format(u"%0*d", digits, value);
  return text;
}

}  // namespace

CTime::CTime(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME local{};
  local.wYear = static_cast<WORD>(year);
  local.wMonth = static_cast<WORD>(month);
  local.wDay = static_cast<WORD>(day);
  local.wHour = static_cast<WORD>(hour);
  local.wMinute = static_cast<WORD>(minute);
  local.wSecond = static_cast<WORD>(second);
  if (!ToSeconds(local, seconds_)) seconds_ = 0;
}

CTime::CTime(const SYSTEMTIME& localTime) {
  SYSTEMTIME whole = localTime;
  whole.wMilliseconds = 0;
  if (!ToSeconds(whole, seconds_)) seconds_ = 0;
}

CTime::CTime(const FILETIME& fileTime) {
  const ULONGLONG ticks = (static_cast<ULONGLONG>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
  SYSTEMTIME fields;
  if (!FileTimeToSystemTime(&fileTime, &fields)) AfxThrowInvalidArgException();
  seconds_ = (static_cast<LONGLONG>(ticks) - kUnixEpochIn100ns) / 10000000LL;
}

CTime CTime::GetCurrentTime() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  CTime time;
  time.seconds_ = ((static_cast<LONGLONG>(now.dwHighDateTime) << 32 | now.dwLowDateTime) - kUnixEpochIn100ns) /
                  10000000LL;
  return time;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& localTime) const {
  const LONGLONG value = seconds_ * 10000000LL + kUnixEpochIn100ns;
  FILETIME utc{static_cast<DWORD>(value), static_cast<DWORD>(static_cast<ULONGLONG>(value) >> 32)};
  FILETIME local;
  return FileTimeToLocalFileTime(&utc, &local) && FileTimeToSystemTime(&local, &localTime);
}

namespace {
SYSTEMTIME Fields(const CTime& time) {
  SYSTEMTIME local{};
  time.GetAsSystemTime(local);
  return local;
}
}  // namespace

int CTime::GetYear() const { return Fields(*this).wYear; }
int CTime::GetMonth() const { return Fields(*this).wMonth; }
int CTime::GetDay() const { return Fields(*this).wDay; }
int CTime::GetHour() const { return Fields(*this).wHour; }
int CTime::GetMinute() const { return Fields(*this).wMinute; }
int CTime::GetSecond() const { return Fields(*this).wSecond; }
int CTime::GetDayOfWeek() const { return Fields(*this).wDayOfWeek + 1; }

CString CTime::Format(LPCTSTR format) const {
  const SYSTEMTIME t = Fields(*this);
  const CString pattern = format ? format : u"";
  CString out;
  for (int i = 0; i < pattern.GetLength(); ++i) {
    const WCHAR c = pattern[i];
    if (c != u'%' || i + 1 == pattern.GetLength()) {
      out += c;
      continue;
    }
    const WCHAR conversion = pattern[++i];
    const int hour12 = t.wHour % 12 == 0 ? 12 : t.wHour % 12;
    switch (conversion) {
      case u'a': out += CString(kDays[t.wDayOfWeek]).Left(3); break;
      case u'A': out += kDays[t.wDayOfWeek]; break;
      case u'b': out += CString(kMonths[(t.wMonth + 11) % 12]).Left(3); break;
      case u'B': out += kMonths[(t.wMonth + 11) % 12]; break;
      case u'd': out += Number(t.wDay, 2); break;
      case u'H': out += Number(t.wHour, 2); break;
      case u'I': out += Number(hour12, 2); break;
      case u'j': {
        const CTime startOfYear(t.wYear, 1, 1, 0, 0, 0);
        const CTime day(t.wYear, t.wMonth, t.wDay, 0, 0, 0);
        out += Number(static_cast<int>((day.GetTime() - startOfYear.GetTime() + 43200) / 86400) + 1, 3);
        break;
      }
      case u'm': out += Number(t.wMonth, 2); break;
      case u'M': out += Number(t.wMinute, 2); break;
      case u'p': out += t.wHour < 12 ? u"AM" : u"PM"; break;
      case u'S': out += Number(t.wSecond, 2); break;
      case u'y': out += Number(t.wYear % 100, 2); break;
      case u'Y': out += Number(t.wYear, 4); break;
      case u'%': out += u'%'; break;
      default:
        out += u'%';
        out += conversion;
    }
  }
  return out;
}
