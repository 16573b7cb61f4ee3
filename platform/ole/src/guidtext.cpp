// GUIDs as braced text, and random GUIDs.
#include <cstdio>
#include <random>

#include "objbase.h"

namespace {

constexpr int kGuidTextLength = 38;  // "{8-4-4-4-12}"

int HexDigit(OLECHAR c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Reads digits hex characters at text[at...] into value; false on a non-hex character.
bool ReadHex(LPCOLESTR text, int at, int digits, std::uint64_t& value) {
  value = 0;
  for (int i = 0; i < digits; ++i) {
    const int d = HexDigit(text[at + i]);
    if (d < 0) return false;
    value = value * 16 + static_cast<std::uint64_t>(d);
  }
  return true;
}

HRESULT ParseGuid(LPCOLESTR text, GUID* guid) {
  if (!text || !guid) return E_INVALIDARG;
  for (int i = 0; i < kGuidTextLength; ++i)
    if (!text[i]) return E_INVALIDARG;
  if (text[kGuidTextLength] || text[0] != u'{' || text[37] != u'}' || text[9] != u'-' ||
      text[14] != u'-' || text[19] != u'-' || text[24] != u'-')
    return E_INVALIDARG;
  std::uint64_t d1, d2, d3, d4, node;
  if (!ReadHex(text, 1, 8, d1) || !ReadHex(text, 10, 4, d2) || !ReadHex(text, 15, 4, d3) ||
      !ReadHex(text, 20, 4, d4) || !ReadHex(text, 25, 12, node))
    return E_INVALIDARG;
  guid->Data1 = static_cast<std::uint32_t>(d1);
  guid->Data2 = static_cast<std::uint16_t>(d2);
  guid->Data3 = static_cast<std::uint16_t>(d3);
  guid->Data4[0] = static_cast<BYTE>(d4 >> 8);
  guid->Data4[1] = static_cast<BYTE>(d4);
  for (int i = 0; i < 6; ++i) guid->Data4[2 + i] = static_cast<BYTE>(node >> (8 * (5 - i)));
  return S_OK;
}

}  // namespace

int StringFromGUID2(REFGUID guid, LPOLESTR text, int capacity) {
  if (!text || capacity <= kGuidTextLength) return 0;
  char narrow[kGuidTextLength + 1];
  std::snprintf(narrow, sizeof narrow, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                guid.Data1, guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2],
                guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  for (int i = 0; i <= kGuidTextLength; ++i) text[i] = static_cast<OLECHAR>(narrow[i]);
  return kGuidTextLength + 1;
}

HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID clsid) { return ParseGuid(text, clsid); }

HRESULT IIDFromString(LPCOLESTR text, LPIID iid) { return ParseGuid(text, iid); }

HRESULT CoCreateGuid(GUID* guid) {
  if (!guid) return E_INVALIDARG;
  return UuidCreate(guid) == RPC_S_OK ? S_OK : E_FAIL;
}
