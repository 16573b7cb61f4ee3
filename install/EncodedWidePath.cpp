// Decoding of encoded wide paths.
#include "EncodedWidePath.h"

#include <cstring>

namespace {

// The six bits of a base64 digit; -1 for any other character.
int DigitValue(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

bool IsEncodedWidePath(LPCSTR path) { return path != nullptr && std::strchr(path, '<') != nullptr; }

bool DecodeEncodedWidePath(LPCSTR path, CString& wide) {
  wide.Empty();
  if (path == nullptr) return true;
  CStringA plain;
  for (const char* p = path; *p != 0;) {
    if (*p != '<') {
      plain += *p++;
      continue;
    }
    ++p;
    if (*p == '>') {  // "<>": a literal "<"
      plain += '<';
      ++p;
      continue;
    }
    wide += CString(plain);
    plain.Empty();
    unsigned bits = 0;
    int count = 0;
    for (int value = DigitValue(*p); value >= 0; value = DigitValue(*++p)) {
      bits = (bits << 6 | static_cast<unsigned>(value)) & 0xFFFFFF;
      count += 6;
      if (count < 16) continue;
      count -= 16;
      const WCHAR unit = static_cast<WCHAR>(bits >> count);
      if (unit == 0) {
        wide.Empty();
        return false;
      }
      wide += unit;
    }
    // What is left of a run must be the zero padding of its last digit.
    if ((bits & ((1u << count) - 1)) != 0) {
      wide.Empty();
      return false;
    }
    if (*p == '>') ++p;
  }
  wide += CString(plain);
  return true;
}
