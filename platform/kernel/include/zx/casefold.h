// Case mapping of UTF-16 text for case-insensitive names and strings (CString, registry keys,
// ini sections). Simple one-to-one mappings only: ASCII, Latin-1, Latin Extended-A and
// Additional, Greek, Cyrillic, Armenian and full-width Latin. Other units map to themselves;
// surrogates are never changed.
#pragma once
#include <cstddef>
#include "wintypes.h"

namespace zx {

// "A" to "Z" in lower case, every other unit as it is: the whole mapping for ASCII, inline for
// loops over names.
inline WCHAR LowerAscii(WCHAR c) { return c >= 'A' && c <= 'Z' ? static_cast<WCHAR>(c - 'A' + 'a') : c; }

WCHAR ToUpper(WCHAR c);
WCHAR ToLower(WCHAR c);
// The unit both cases of a letter fold to (the lower case of its upper case, so that final
// sigma and sigma fold alike).
WCHAR FoldCase(WCHAR c);

// Compares unit by unit after folding: <0, 0 or >0, ordered as the folded (lower-case) text,
// so "_" sorts before "a" as the C runtime's case-insensitive compare does.
int CompareNoCase(const WCHAR* a, std::size_t lengthA, const WCHAR* b, std::size_t lengthB);
// Zero-terminated forms; a null pointer reads as the empty string.
int CompareNoCase(LPCWSTR a, LPCWSTR b);
bool EqualNoCase(LPCWSTR a, LPCWSTR b);

void MakeUpper(WCHAR* text, std::size_t length);
void MakeLower(WCHAR* text, std::size_t length);

}  // namespace zx
