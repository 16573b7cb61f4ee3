// Case mapping of UTF-16 units by a small table of upper/lower ranges.
#include "zx/casefold.h"

#include <string>

namespace zx {
namespace {

// Each row maps upper-case units to lower case. An offset row maps every unit of
// [first, last] to unit + delta; a pairs row maps first, first+2, ... to the next unit.
struct CaseRange {
  char16_t first;
  char16_t last;
  short delta;  // 0 marks a pairs row
};

constexpr CaseRange kRanges[] = {
    {0x0041, 0x005A, 32},   {0x00C0, 0x00D6, 32},   {0x00D8, 0x00DE, 32},
    {0x0100, 0x012E, 0},    {0x0132, 0x0136, 0},    {0x0139, 0x0147, 0},
    {0x014A, 0x0176, 0},    {0x0178, 0x0178, -121}, {0x0179, 0x017D, 0},
    {0x0386, 0x0386, 38},   {0x0388, 0x038A, 37},   {0x038C, 0x038C, 64},
    {0x038E, 0x038F, 63},   {0x0391, 0x03A1, 32},   {0x03A3, 0x03AB, 32},
    {0x03D8, 0x03EE, 0},    {0x0400, 0x040F, 80},   {0x0410, 0x042F, 32},
    {0x0460, 0x0480, 0},    {0x048A, 0x04BE, 0},    {0x04C0, 0x04C0, 15},
    {0x04C1, 0x04CD, 0},    {0x04D0, 0x052E, 0},    {0x0531, 0x0556, 48},
    {0x1E00, 0x1E94, 0},    {0x1EA0, 0x1EFE, 0},    {0xFF21, 0xFF3A, 32},
};

bool MapsDown(const CaseRange& r, char16_t c) {
  return c >= r.first && c <= r.last && (r.delta != 0 || (c - r.first) % 2 == 0);
}

char16_t Down(const CaseRange& r, char16_t c) {
  return static_cast<char16_t>(c + (r.delta != 0 ? r.delta : 1));
}

}  // namespace

WCHAR ToLower(WCHAR c) {
  if (c < 0x80) return LowerAscii(c);
  for (const CaseRange& r : kRanges)
    if (MapsDown(r, c)) return Down(r, c);
  return c;
}

WCHAR ToUpper(WCHAR c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<WCHAR>(c - 32) : c;
  if (c == 0x03C2) return 0x03A3;  // final sigma
  for (const CaseRange& r : kRanges) {
    const int up = c - (r.delta != 0 ? r.delta : 1);
    if (up >= 0 && MapsDown(r, static_cast<char16_t>(up))) return static_cast<WCHAR>(up);
  }
  return c;
}

WCHAR FoldCase(WCHAR c) {
  if (c < 0x80) return LowerAscii(c);
  return ToLower(ToUpper(c));
}

int CompareNoCase(const WCHAR* a, std::size_t lengthA, const WCHAR* b, std::size_t lengthB) {
  const std::size_t n = lengthA < lengthB ? lengthA : lengthB;
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] == b[i]) continue;
    const WCHAR fa = FoldCase(a[i]);
    const WCHAR fb = FoldCase(b[i]);
    if (fa != fb) return fa < fb ? -1 : 1;
  }
  return lengthA == lengthB ? 0 : (lengthA < lengthB ? -1 : 1);
}

int CompareNoCase(LPCWSTR a, LPCWSTR b) {
  const std::u16string_view va = a != nullptr ? std::u16string_view(a) : std::u16string_view();
  const std::u16string_view vb = b != nullptr ? std::u16string_view(b) : std::u16string_view();
  return CompareNoCase(va.data(), va.size(), vb.data(), vb.size());
}

bool EqualNoCase(LPCWSTR a, LPCWSTR b) { return CompareNoCase(a, b) == 0; }

void MakeUpper(WCHAR* text, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) text[i] = ToUpper(text[i]);
}

void MakeLower(WCHAR* text, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) text[i] = ToLower(text[i]);
}

}  // namespace zx
