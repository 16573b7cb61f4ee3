// The date and time picker's formats and fields: the pictures d, dd, ddd, dddd, M, MM, MMM,
// MMMM, y, yy, yyyy, h, hh, H, HH, m, mm, s, ss, t, tt and quoted literals, in US English.
#include <algorithm>

#include "datetime.h"

namespace zx::comctl::dtp {
namespace {

constexpr const char16_t* kDays[] = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday",
                                     u"Thursday", u"Friday", u"Saturday"};
constexpr const char16_t* kMonths[] = {u"January", u"February", u"March", u"April",
                                       u"May", u"June", u"July", u"August",
                                       u"September", u"October", u"November", u"December"};

std::u16string Number(int value, int width) {
  std::u16string out;
  do {
    out.insert(out.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value > 0);
  while (static_cast<int>(out.size()) < width) out.insert(out.begin(), u'0');
  return out;
}

bool IsPicture(char16_t c) {
  return c == u'd' || c == u'M' || c == u'y' || c == u'h' || c == u'H' || c == u'm' || c == u's' || c == u't';
}

Segment Picture(char16_t c, int run, const SYSTEMTIME& t) {
  const int hour12 = t.wHour % 12 == 0 ? 12 : t.wHour % 12;
  const std::u16string ampm = t.wHour < 12 ? u"AM" : u"PM";
  switch (c) {
    case u'd':
      if (run >= 3) {
        const std::u16string name = kDays[t.wDayOfWeek % 7];
        return {Field::kDayName, run == 3 ? name.substr(0, 3) : name};
      }
      return {Field::kDay, Number(t.wDay, run)};
    case u'M':
      if (run >= 3) {
        const std::u16string name = kMonths[(t.wMonth + 11) % 12];
        return {Field::kMonth, run == 3 ? name.substr(0, 3) : name};
      }
      return {Field::kMonth, Number(t.wMonth, run)};
    case u'y':
      if (run == 1) return {Field::kYear, Number(t.wYear % 10, 1)};
      if (run == 2) return {Field::kYear, Number(t.wYear % 100, 2)};
      return {Field::kYear, Number(t.wYear, 4)};
    case u'h': return {Field::kHour, Number(hour12, std::min(run, 2))};
    case u'H': return {Field::kHour, Number(t.wHour, std::min(run, 2))};
    case u'm': return {Field::kMinute, Number(t.wMinute, std::min(run, 2))};
    case u's': return {Field::kSecond, Number(t.wSecond, std::min(run, 2))};
    default: return {Field::kAmPm, run == 1 ? ampm.substr(0, 1) : ampm};
  }
}

void AddLiteral(std::vector<Segment>& out, const std::u16string& text) {
  if (text.empty()) return;
  if (!out.empty() && out.back().field == Field::kLiteral) out.back().text += text;
  else out.push_back({Field::kLiteral, text});
}

int Wrapped(int value, int low, int high) {
  const int span = high - low + 1;
  return low + ((value - low) % span + span) % span;
}

}  // namespace

std::u16string DefaultFormat(DWORD style) {
  if ((style & DTS_SHORTDATECENTURYFORMAT) == DTS_SHORTDATECENTURYFORMAT) return u"M/d/yyyy";
  if ((style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT) return u"h:mm:ss tt";
  if (style & DTS_LONGDATEFORMAT) return u"dddd, MMMM d, yyyy";
  return u"M/d/yyyy";
}

std::vector<Segment> Render(const std::u16string& format, const SYSTEMTIME& time) {
  std::vector<Segment> out;
  for (std::size_t i = 0; i < format.size();) {
    const char16_t c = format[i];
    if (c == u'\'') {
      // A quoted literal; '' inside it (or alone) is one quote.
      std::u16string text;
      std::size_t j = i + 1;
      for (; j < format.size(); ++j) {
        if (format[j] != u'\'') {
          text += format[j];
        } else if (j + 1 < format.size() && format[j + 1] == u'\'') {
          text += u'\'';
          ++j;
        } else {
          break;
        }
      }
      if (j == i + 1 && j < format.size()) text.assign(1, u'\'');
      AddLiteral(out, text);
      i = std::min(j + 1, format.size());
      continue;
    }
    if (!IsPicture(c)) {
      AddLiteral(out, std::u16string(1, c));
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (i + run < format.size() && format[i + run] == c) ++run;
    out.push_back(Picture(c, static_cast<int>(std::min<std::size_t>(run, 4)), time));
    i += run;
  }
  return out;
}

std::u16string Joined(const std::vector<Segment>& segments) {
  std::u16string out;
  for (const Segment& s : segments) out += s.text;
  return out;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDaysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (month < 1 || month > 12) return 0;
  return month == 2 && leap ? 29 : kDaysIn[month - 1];
}

bool IsValidTime(const SYSTEMTIME& t) {
  return t.wYear >= 1601 && t.wYear <= 9999 && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 &&
         t.wDay <= DaysInMonth(t.wYear, t.wMonth) && t.wHour < 24 && t.wMinute < 60 && t.wSecond < 60;
}

SYSTEMTIME Completed(SYSTEMTIME t) {
  // Days since 1 March of year 0 (a proleptic Gregorian count), 1 March 0000 being a Wednesday.
  const int y = t.wMonth <= 2 ? t.wYear - 1 : t.wYear;
  const int m = t.wMonth <= 2 ? t.wMonth + 9 : t.wMonth - 3;
  const long days = 365L * y + y / 4 - y / 100 + y / 400 + (153 * m + 2) / 5 + t.wDay - 1;
  t.wDayOfWeek = static_cast<WORD>((days + 3) % 7);
  t.wMilliseconds = 0;
  return t;
}

SYSTEMTIME Stepped(const SYSTEMTIME& time, Field field, int delta) {
  SYSTEMTIME t = time;
  switch (field) {
    case Field::kDay:
    case Field::kDayName:
      t.wDay = static_cast<WORD>(Wrapped(t.wDay + delta, 1, DaysInMonth(t.wYear, t.wMonth)));
      break;
    case Field::kMonth: t.wMonth = static_cast<WORD>(Wrapped(t.wMonth + delta, 1, 12)); break;
    case Field::kYear: t.wYear = static_cast<WORD>(std::clamp(t.wYear + delta, 1601, 9999)); break;
    case Field::kHour: t.wHour = static_cast<WORD>(Wrapped(t.wHour + delta, 0, 23)); break;
    case Field::kMinute: t.wMinute = static_cast<WORD>(Wrapped(t.wMinute + delta, 0, 59)); break;
    case Field::kSecond: t.wSecond = static_cast<WORD>(Wrapped(t.wSecond + delta, 0, 59)); break;
    case Field::kAmPm: t.wHour = static_cast<WORD>((t.wHour + 12) % 24); break;
    case Field::kLiteral: return time;
  }
  t.wDay = static_cast<WORD>(std::min(static_cast<int>(t.wDay), DaysInMonth(t.wYear, t.wMonth)));
  return Completed(t);
}

}  // namespace zx::comctl::dtp
