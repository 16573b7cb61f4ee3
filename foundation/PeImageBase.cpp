// The preferred image base from a module's DOS and NT headers.
#include "PeImageBase.h"

#include <cstring>

ULONG_PTR PeImageBase(const PeHeaderReader& read) {
  BYTE dosHeader[64] = {};
  if (!read(0, dosHeader, sizeof dosHeader) || dosHeader[0] != 'M' || dosHeader[1] != 'Z') return 0;
  DWORD offset = 0;
  std::memcpy(&offset, dosHeader + 60, sizeof offset);
  BYTE ntHeaders[248] = {};
  DWORD signature = 0;
  if (!read(offset, ntHeaders, sizeof ntHeaders)) return 0;
  std::memcpy(&signature, ntHeaders, sizeof signature);
  if (signature != 0x00004550) return 0;
  DWORD imageBase = 0;
  std::memcpy(&imageBase, ntHeaders + 52, sizeof imageBase);
  return imageBase;
}
