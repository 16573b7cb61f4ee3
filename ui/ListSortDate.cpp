// Date and time texts of list columns: the forms read, the checks of a real date and time,
// and the value they are compared by.
#include "ListSortDate.h"

namespace {

struct Reader {
  const CString& text;
  int at = 0;

  bool AtEnd() const { return at >= text.GetLength(); }
  WCHAR Peek() const { return AtEnd() ? 0 : text[at]; }
  void SkipBlanks() {
    while (Peek() == u' ' || Peek() == u'\t') ++at;
  }
  // Up to maxDigits decimal digits; their count (0: none there).
  int Number(int maxDigits, int& value) {
    value = 0;
    int digits = 0;
    while (digits < maxDigits && Peek() >= u'0' && Peek() <= u'9') {
      value = value * 10 + (Peek() - u'0');
      ++at;
      ++digits;
    }
    return digits;
  }
  bool Take(WCHAR c) {
    if (Peek() != c) return false;
    ++at;
    return true;
  }
  bool TakeDateSeparator() { return Take(u'-') || Take(u'/') || Take(u'.'); }
  bool TakeWord(const char16_t* word) {
    int i = 0;
    for (; word[i]; ++i) {
      if (at + i >= text.GetLength()) return false;
      WCHAR c = text[at + i];
      if (c >= u'a' && c <= u'z') c = static_cast<WCHAR>(c - u'a' + u'A');
      if (c != word[i]) return false;
    }
    at += i;
    return true;
  }
};

bool LeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && LeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1 January 1601 (the proleptic Gregorian calendar).
long long DayNumber(int year, int month, int day) {
  long long days = 0;
  const long long yearsBefore = year - 1601;
  days += yearsBefore * 365 + yearsBefore / 4 - yearsBefore / 100 + yearsBefore / 400;
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  return days + day - 1;
}

}  // namespace

ListDateRead ReadListDate(const CString& text, long long* pValue) {
  Reader in{text};
  in.SkipBlanks();
  int first = 0, second = 0, third = 0;
  const int firstDigits = in.Number(4, first);
  if (firstDigits == 0 || !in.TakeDateSeparator()) return ListDateRead::kNotDate;
  if (in.Number(2, second) == 0 || !in.TakeDateSeparator()) return ListDateRead::kNotDate;
  const int thirdDigits = in.Number(4, third);
  int year = 0, month = 0, day = 0;
  if (firstDigits == 4 && thirdDigits >= 1 && thirdDigits <= 2) {
    year = first, month = second, day = third;
  } else if (firstDigits <= 2 && thirdDigits == 4) {
    month = first, day = second, year = third;
  } else {
    return ListDateRead::kNotDate;
  }
  int hour = 0, minute = 0, seconds = 0;
  bool pm = false, meridiem = false;
  in.SkipBlanks();
  if (!in.AtEnd()) {
    if (in.Number(2, hour) == 0 || !in.Take(u':') || in.Number(2, minute) != 2) return ListDateRead::kNotDate;
    if (in.Take(u':') && in.Number(2, seconds) != 2) return ListDateRead::kNotDate;
    in.SkipBlanks();
    if (in.TakeWord(u"AM")) {
      meridiem = true;
    } else if (in.TakeWord(u"PM")) {
      meridiem = pm = true;
    }
    in.SkipBlanks();
    if (!in.AtEnd()) return ListDateRead::kNotDate;
  }
  const bool dateOk = year >= 1601 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
  const bool hourOk = meridiem ? hour >= 1 && hour <= 12 : hour <= 23;
  if (!dateOk || !hourOk || minute > 59 || seconds > 59) return ListDateRead::kInvalid;
  if (meridiem) hour = hour % 12 + (pm ? 12 : 0);
  if (pValue) *pValue = ((DayNumber(year, month, day) * 24 + hour) * 60 + minute) * 60 + seconds;
  return ListDateRead::kValid;
}
