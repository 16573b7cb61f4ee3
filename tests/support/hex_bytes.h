// Byte vectors written as hexadecimal text ("4d 5a 90 00"), for the hand-written layouts the
// tests compare stored formats against.
#pragma once
#include <sstream>
#include <string>
#include <vector>

#include "wintypes.h"

namespace zx::test {

inline std::vector<BYTE> Hex(const std::string& text) {
  std::istringstream in(text);
  std::vector<BYTE> bytes;
  unsigned value = 0;
  while (in >> std::hex >> value) bytes.push_back(static_cast<BYTE>(value));
  return bytes;
}

// The same as text: pairs of hex digits, blanks between groups ignored ("01000000 0100").
inline std::string HexString(const char* digits) {
  std::string bytes;
  for (const char* p = digits; p[0] != '\0';) {
    if (*p == ' ') {
      ++p;
      continue;
    }
    if (p[1] == '\0') break;
    bytes.push_back(static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16)));
    p += 2;
  }
  return bytes;
}

}  // namespace zx::test
