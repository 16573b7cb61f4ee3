// GetDateFormatW and GetTimeFormatW: a SYSTEMTIME (or the local time) written through a
// picture of the user's locale, which is English (United States) here.
#include <cstring>
#include <string>
#include <string_view>

#include "calendar.h"
#include "errhandlingapi.h"
#include "sysinfoapi.h"
#include "winnls.h"

namespace {

constexpr const char16_t* kDays[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                     u"Thursday", u"Friday", u"Saturday"};
constexpr const char16_t* kMonths[] = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                                       u"July",    u"August",   u"September", u"October", u"November", u"December"};

std::u16string Number(int value, std::size_t digits) {
  std::u16string text;
  do {
    text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value != 0);
  if (text.size() < digits) text.insert(0, digits - text.size(), u'0');
  return text;
}

// One picture element: a letter repeated count times.
using Element = std::u16string (*)(const SYSTEMTIME& time, std::size_t count, DWORD flags);

std::u16string DateElement(const SYSTEMTIME& time, char16_t letter, std::size_t count) {
  switch (letter) {
    case u'd':
      if (count <= 2) return Number(time.wDay, count);
      {
        const WORD day = zx::calendar::DayOfWeek(zx::calendar::DayNumber(time.wYear, time.wMonth, time.wDay));
        const std::u16string name = kDays[day];
        return count == 3 ? name.substr(0, 3) : name;
      }
    case u'M':
      if (count <= 2) return Number(time.wMonth, count);
      return count == 3 ? std::u16string(kMonths[time.wMonth - 1]).substr(0, 3) : kMonths[time.wMonth - 1];
    case u'y':
      if (count <= 2) return Number(time.wYear % 100, count);
      return Number(time.wYear, 4);
    default:  // g, gg: the era
      return u"A.D.";
  }
}

std::u16string TimeElement(const SYSTEMTIME& time, char16_t letter, std::size_t count, DWORD flags) {
  const std::size_t digits = count >= 2 ? 2 : 1;
  switch (letter) {
    case u'h':
      if ((flags & TIME_FORCE24HOURFORMAT) == 0) return Number(time.wHour % 12 == 0 ? 12 : time.wHour % 12, digits);
      [[fallthrough]];
    case u'H':
      return Number(time.wHour, digits);
    case u'm':
      return Number(time.wMinute, digits);
    case u's':
      return Number(time.wSecond, digits);
    default: {  // t, tt: the time marker
      const std::u16string marker = time.wHour < 12 ? u"AM" : u"PM";
      return count == 1 ? marker.substr(0, 1) : marker;
    }
  }
}

bool IsDateLetter(char16_t c) { return c == u'd' || c == u'M' || c == u'y' || c == u'g'; }
bool IsTimeLetter(char16_t c) { return c == u'h' || c == u'H' || c == u'm' || c == u's' || c == u't'; }

// Walks a picture: runs of the element letters become their values, text in single quotes
// is copied ('' is a quote), anything else is copied as it is. A time element the flags
// leave out takes the text since the element before it along ("h:mm:ss tt" without seconds
// is "h:mm tt").
std::u16string Expand(std::u16string_view picture, const SYSTEMTIME& time, bool isTime, DWORD flags) {
  std::u16string out;
  std::size_t elementEnd = 0;  // where the text after the last written element starts
  std::size_t i = 0;
  while (i < picture.size()) {
    const char16_t c = picture[i];
    if (c == u'\'') {
      ++i;
      while (i < picture.size()) {
        if (picture[i] == u'\'') {
          if (i + 1 < picture.size() && picture[i + 1] == u'\'') {
            out += u'\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out += picture[i++];
      }
      continue;
    }
    const bool element = isTime ? IsTimeLetter(c) : IsDateLetter(c);
    if (!element) {
      out += c;
      ++i;
      continue;
    }
    std::size_t count = 1;
    while (i + count < picture.size() && picture[i + count] == c) ++count;
    i += count;
    if (!isTime) {
      out += DateElement(time, c, count);
      continue;
    }
    const bool dropped = ((flags & TIME_NOMINUTESORSECONDS) != 0 && (c == u'm' || c == u's')) ||
                         ((flags & TIME_NOSECONDS) != 0 && c == u's') ||
                         ((flags & TIME_NOTIMEMARKER) != 0 && c == u't');
    if (dropped) {
      out.resize(elementEnd);
      continue;
    }
    out += TimeElement(time, c, count, flags);
    elementEnd = out.size();
  }
  return out;
}

int Answer(const std::u16string& text, LPWSTR buffer, int size) {
  const int needed = static_cast<int>(text.size()) + 1;
  if (size == 0) return needed;
  if (size < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(buffer, text.c_str(), needed * sizeof(WCHAR));
  return needed;
}

bool ValidBuffer(LPWSTR buffer, int size) { return size >= 0 && (size == 0 || buffer != nullptr); }

// A day of the Windows calendar (the time of day is not looked at).
bool ValidDate(const SYSTEMTIME& date) {
  SYSTEMTIME day{};
  day.wYear = date.wYear;
  day.wMonth = date.wMonth;
  day.wDay = date.wDay;
  std::uint64_t ticks = 0;
  return zx::calendar::ToTicks(day, ticks);
}

}  // namespace

int GetDateFormatW(LCID, DWORD flags, const SYSTEMTIME* date, LPCWSTR format, LPWSTR buffer, int size) {
  constexpr DWORD kKnown = DATE_SHORTDATE | DATE_LONGDATE | LOCALE_NOUSEROVERRIDE;
  const DWORD pictures = flags & (DATE_SHORTDATE | DATE_LONGDATE);
  if ((flags & ~kKnown) != 0 || pictures == (DATE_SHORTDATE | DATE_LONGDATE) ||
      (format != nullptr && pictures != 0)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  SYSTEMTIME time{};
  if (date != nullptr) time = *date;
  else GetLocalTime(&time);
  if (!ValidBuffer(buffer, size) || !ValidDate(time)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::u16string_view picture =
      format != nullptr ? std::u16string_view(format) : pictures == DATE_LONGDATE ? u"dddd, MMMM d, yyyy" : u"M/d/yyyy";
  return Answer(Expand(picture, time, false, 0), buffer, size);
}

int GetTimeFormatW(LCID, DWORD flags, const SYSTEMTIME* time, LPCWSTR format, LPWSTR buffer, int size) {
  constexpr DWORD kKnown = TIME_NOMINUTESORSECONDS | TIME_NOSECONDS | TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT |
                           LOCALE_NOUSEROVERRIDE;
  if ((flags & ~kKnown) != 0) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  SYSTEMTIME when{};
  if (time != nullptr) when = *time;
  else GetLocalTime(&when);
  if (!ValidBuffer(buffer, size) || when.wHour > 23 || when.wMinute > 59 || when.wSecond > 59 ||
      when.wMilliseconds > 999) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::u16string_view picture = format != nullptr ? std::u16string_view(format) : u"h:mm:ss tt";
  return Answer(Expand(picture, when, true, flags), buffer, size);
}
