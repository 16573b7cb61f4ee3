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

}  // namespace zx::test
