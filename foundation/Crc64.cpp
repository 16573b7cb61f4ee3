// CRC-64/WE of a text, the last step of the machine hash.
#include <array>

#include "HardwareHash.h"

namespace {

constexpr ULONGLONG kPolynomial = 0x42F0E1EBA9EA3693ull;

constexpr std::array<ULONGLONG, 256> MakeTable() {
  std::array<ULONGLONG, 256> table{};
  for (ULONGLONG byte = 0; byte < 256; ++byte) {
    ULONGLONG crc = byte << 56;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & (1ull << 63)) ? (crc << 1) ^ kPolynomial : crc << 1;
    table[byte] = crc;
  }
  return table;
}
constexpr std::array<ULONGLONG, 256> kTable = MakeTable();

}  // namespace

ULONGLONG CHardwareHash::Crc64(const CString& text) {
  CString normalised = text;
  normalised.MakeLower();
  normalised.Trim();
  ULONGLONG crc = ~0ull;
  const auto feed = [&crc](BYTE byte) { crc = kTable[((crc >> 56) ^ byte) & 0xFF] ^ (crc << 8); };
  // An empty text still gives the two bytes of its terminator.
  const int units = normalised.IsEmpty() ? 1 : normalised.GetLength();
  const LPCTSTR characters = normalised;
  for (int i = 0; i < units; ++i) {
    feed(static_cast<BYTE>(characters[i] & 0xFF));
    feed(static_cast<BYTE>(characters[i] >> 8));
  }
  return ~crc;
}
