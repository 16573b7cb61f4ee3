// Language texts of the main program with "%1" and "%2" placeholders.
#pragma once
#include <afx.h>

// The text with each "%1" replaced by `first` and each "%2" by `second` (null leaves that
// placeholder as it stands). One pass over the text: a placeholder inside a value is kept.
CString ReplacePlaceholders(const CString& text, LPCTSTR first, LPCTSTR second = nullptr);

// The text of the key (trimmed) in the application's default section with "%1" replaced by the
// value; empty when there is no application object or no such text.
void LoadLangStringReplace(CString& text, LPCTSTR key, LPCTSTR value);
// The same with "%1" and "%2".
void LoadLangStringReplace2(CString& text, LPCTSTR key, LPCTSTR value1, LPCTSTR value2);
