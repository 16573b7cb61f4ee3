// Checked formatting of language texts: every conversion is matched with a value of its kind
// before anything is formatted.
#include "CheckedFormat.h"

#include <string>
#include <vector>

namespace {

bool IsOneOf(TCHAR ch, LPCTSTR set) { return CString(set).Find(ch) >= 0; }

enum class ValueKind { kText, kInteger, kReal };

ValueKind KindOf(const tagFormatValue& value) {
  if (value.isReal) return ValueKind::kReal;
  return value.isNumber ? ValueKind::kInteger : ValueKind::kText;
}

// Past an integer size prefix (I64, ll, l or h) at format[at], if there is one.
int SkipSizePrefix(const CString& format, int at) {
  for (LPCTSTR prefix : {_T("I64"), _T("ll"), _T("l"), _T("h")}) {
    const int length = static_cast<int>(std::char_traits<TCHAR>::length(prefix));
    if (format.Mid(at, length) == prefix) return at + length;
  }
  return at;
}

// The conversion starting at format[at] (a '%'): its end (one past the letter) and the kind of
// value it takes; -1 for a conversion that is refused.
int ReadConversion(const CString& format, int at, ValueKind& kind) {
  int index = at + 1;
  while (index < format.GetLength() && IsOneOf(format[index], _T("-+ #0"))) ++index;
  while (index < format.GetLength() && format[index] >= _T('0') && format[index] <= _T('9')) ++index;
  if (index < format.GetLength() && format[index] == _T('.')) {
    ++index;
    while (index < format.GetLength() && format[index] >= _T('0') && format[index] <= _T('9')) ++index;
  }
  const int sized = SkipSizePrefix(format, index);
  if (sized >= format.GetLength()) return -1;
  const TCHAR letter = format[sized];
  if (sized != index && !IsOneOf(letter, _T("diuxX"))) return -1;  // sizes are for integers only
  index = sized;
  if (letter == _T('s')) {
    kind = ValueKind::kText;
  } else if (IsOneOf(letter, _T("diuxX"))) {
    kind = ValueKind::kInteger;
  } else if (IsOneOf(letter, _T("fFeEgG"))) {
    kind = ValueKind::kReal;
  } else {
    return -1;
  }
  return index + 1;
}

}  // namespace

BOOL FormatChecked(CString& result, const CString& format, std::initializer_list<tagFormatValue> values) {
  const std::vector<tagFormatValue> given(values);
  CString out;
  size_t next = 0;
  for (int at = 0; at < format.GetLength();) {
    if (format[at] != _T('%')) {
      out += format[at++];
      continue;
    }
    if (at + 1 < format.GetLength() && format[at + 1] == _T('%')) {
      out += _T('%');
      at += 2;
      continue;
    }
    ValueKind kind = ValueKind::kText;
    const int end = ReadConversion(format, at, kind);
    if (end < 0 || next >= given.size() || KindOf(given[next]) != kind) {
      result = format;
      return FALSE;
    }
    const CString spec = format.Mid(at, end - at);
    CString piece;
    if (kind == ValueKind::kText) piece.Format(spec, given[next].text);
    else if (kind == ValueKind::kReal) piece.Format(spec, given[next].real);
    else piece.Format(spec, given[next].number);
    out += piece;
    ++next;
    at = end;
  }
  result = out;
  return TRUE;
}
