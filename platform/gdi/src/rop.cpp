// Ternary raster operations on 32-bit pixels.
#include "pixels.h"

namespace zx::gdi {

DWORD ApplyRop3(BYTE code, DWORD d, DWORD s, DWORD p) {
  switch (code) {
    case 0x00: return 0;
    case 0xFF: return 0xFFFFFFFFu;
    case 0xCC: return s;
    case 0x33: return ~s;
    case 0x88: return s & d;
    case 0xEE: return s | d;
    case 0x66: return s ^ d;
    case 0x44: return s & ~d;
    case 0x11: return ~(s | d);
    case 0xBB: return ~s | d;
    case 0x55: return ~d;
    case 0xF0: return p;
    case 0x5A: return p ^ d;
    case 0xC0: return p & s;
    default: break;
  }
  // Bit i of the code is the result for pattern, source and destination bits (i >> 2,
  // (i >> 1) & 1, i & 1).
  DWORD result = 0;
  for (int i = 0; i < 8; ++i) {
    if (!(code & (1 << i))) continue;
    result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return result;
}

}  // namespace zx::gdi
