// Case mapping of UTF-16 text for case-insensitive names and strings (CString, registry keys,
// ini sections). Simple one-to-one mappings only: ASCII, Latin-1, Latin Extended-A and
// Additional, Greek, Cyrillic, Armenian and full-width Latin. Other units map to themselves;
// surrogates are never changed.
#pragma once
#include <cstddef>
#include "wintypes.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zx {

// "A" to "Z" in lower case, every other unit as it is: the whole mapping for ASCII, inline for
// loops over names.
inline WCHAR LowerAscii(WCHAR c) { return c >= 'A' && c <= 'Z' ? static_cast<WCHAR>(c - 'A' + 'a') : c; }

#if defined(__SSE2__)
namespace ascii_fold {

// Eight characters with "A" to "Z" folded to lower case; everything else as it is.
inline __m128i FoldedAscii(__m128i units) {
  const __m128i upper = _mm_and_si128(_mm_cmpgt_epi16(units, _mm_set1_epi16('A' - 1)),
                                      _mm_cmplt_epi16(units, _mm_set1_epi16('Z' + 1)));
  return _mm_or_si128(units, _mm_and_si128(upper, _mm_set1_epi16(0x20)));
}

inline __m128i Load8(const WCHAR* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

// Four characters at `at` and four at `at + count - 4` (4 <= count <= 8), side by side.
inline __m128i LoadEnds(const WCHAR* at, std::size_t count) {
  return _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(at)),
                            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at + count - 4)));
}

inline bool SameUnits(__m128i a, __m128i b) { return _mm_movemask_epi8(_mm_cmpeq_epi16(a, b)) == 0xFFFF; }

}  // namespace ascii_fold
#endif

// Whether `count` characters at `text`, "A" to "Z" folded, are those of `lower`. Both are read
// only within their `count` characters: the last block of eight overlaps the one before, and
// a name shorter than eight is read as its first four and its last four characters.
inline bool MatchesLowerAscii(const WCHAR* text, const WCHAR* lower, std::size_t count) {
#if defined(__SSE2__)
  using namespace ascii_fold;
  if (count >= 8) {
    for (std::size_t i = 0; i + 8 < count; i += 8) {
      if (!SameUnits(FoldedAscii(Load8(text + i)), Load8(lower + i))) return false;
    }
    return SameUnits(FoldedAscii(Load8(text + count - 8)), Load8(lower + count - 8));
  }
  if (count >= 4) return SameUnits(FoldedAscii(LoadEnds(text, count)), LoadEnds(lower, count));
#endif
  for (std::size_t i = 0; i < count; ++i) {
    if (LowerAscii(text[i]) != lower[i]) return false;
  }
  return true;
}

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
