// String-array and small text helpers of the shared library.
#include "StringHelpers.h"

#include <algorithm>
#include <vector>

void SortStringArray(CStringArray& array, BOOL descending, BOOL caseSensitive) {
  const INT_PTR count = array.GetSize();
  if (count == 0) return;
  std::vector<CString> items(static_cast<std::size_t>(count));
  for (INT_PTR i = 0; i < count; ++i) items[static_cast<std::size_t>(i)] = array[i];
  auto compare = [&](const CString& a, const CString& b) {
    const int order = caseSensitive ? a.Compare(b) : a.CompareNoCase(b);
    return descending ? order > 0 : order < 0;
  };
  std::stable_sort(items.begin(), items.end(), compare);
  for (INT_PTR i = 0; i < count; ++i) array[i] = items[static_cast<std::size_t>(i)];
}

BOOL FindInStringArray(const CStringArray& array, LPCTSTR text, BOOL fromBack) {
  const INT_PTR count = array.GetSize();
  for (INT_PTR n = 0; n < count; ++n) {
    const INT_PTR i = fromBack ? count - 1 - n : n;
    if (array[i].CompareNoCase(text ? text : _T("")) == 0) return TRUE;
  }
  return FALSE;
}

LPCTSTR NormalizeText(LPCTSTR text) {
  thread_local CString normalized;
  normalized = text ? text : _T("");
  normalized.MakeLower();
  normalized.Trim();
  return normalized.GetString();
}

PCO_ERROR_CODES AppendSeparator(CString& target, LPCTSTR itemText, LPCTSTR separatorText) {
  CString item = itemText ? itemText : _T("");
  const CString separator = separatorText ? separatorText : _T("");
  if (target.IsEmpty() || item.IsEmpty() || separator.IsEmpty()) {
    target += item;
    return PCO_SUCCESS;
  }
  if (item.Left(separator.GetLength()) == separator) item = item.Mid(separator.GetLength());
  if (target.Right(separator.GetLength()) != separator) target += separator;
  target += item;
  return PCO_SUCCESS;
}

PCO_ERROR_CODES AppendSeparator_Comma(CString& target, LPCTSTR item) {
  return AppendSeparator(target, item, _T(","));
}

int FormatKilobytes(ULONGLONG bytes, LPTSTR buffer, int bufferSize) {
  if (!buffer || bufferSize <= 0) return 1;
  CString text;
  text.Format(bytes >= 1024 ? _T("%0.1f KB") : _T("%0.3f KB"), static_cast<double>(bytes) / 1024.0);
  lstrcpynW(buffer, text, bufferSize);
  return 1;
}
