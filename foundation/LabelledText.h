// A language text followed by what it names ("Installing:" and a driver's name). Texts are
// read from the language files trimmed, so the blank that the file may end them with is gone:
// it is put back here, once, for every such line.
#pragma once
#include <afx.h>

inline CString LabelledText(const CString& label, const CString& named) {
  if (label.IsEmpty() || named.IsEmpty()) return label + named;
  const TCHAR last = label[label.GetLength() - 1], first = named[0];
  const auto blank = [](TCHAR c) { return c == _T(' ') || c == _T('\t') || c == _T('\n') || c == _T('\r'); };
  if (blank(last) || blank(first)) return label + named;
  return label + _T(' ') + named;
}
