// Adapter addresses from IP Helper, the workstation transports and sequential UUIDs.
#include "MachineAddresses.h"

#include <iphlpapi.h>
#include <lm.h>
#include <objbase.h>

namespace {

// Room for sixteen adapters, as the Windows buffer of 10368 bytes holds.
constexpr int kAdapterSlots = 16;

CString FormatAddress(const BYTE* address) {
  CString text;
  text.Format(_T("%02X%02X%02X%02X%02X%02X"), address[0], address[1], address[2], address[3], address[4],
              address[5]);
  return text;
}

int HexValue(WCHAR c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Six fields of up to two hex digits each, blanks allowed before a field; false when the
// text holds fewer.
bool ParseTransportAddress(LPCWSTR text, BYTE (&address)[6]) {
  if (!text) return false;
  for (BYTE& byte : address) {
    while (*text == u' ' || *text == u'\t') ++text;
    int value = HexValue(*text);
    if (value < 0) return false;
    ++text;
    if (const int low = HexValue(*text); low >= 0) {
      value = value * 16 + low;
      ++text;
    }
    byte = static_cast<BYTE>(value);
  }
  return true;
}

void AddAdaptersInfo(std::vector<CString>& addresses) {
  IP_ADAPTER_INFO adapters[kAdapterSlots];
  ULONG size = sizeof adapters;
  if (GetAdaptersInfo(adapters, &size) != ERROR_SUCCESS) return;
  for (const IP_ADAPTER_INFO* adapter = adapters; adapter; adapter = adapter->Next)
    addresses.push_back(FormatAddress(adapter->Address));
}

void AddTransports(std::vector<CString>& addresses) {
  LPBYTE buffer = nullptr;
  DWORD read = 0, total = 0, resume = 0;
  if (NetWkstaTransportEnum(nullptr, 0, &buffer, MAX_PREFERRED_LENGTH, &read, &total, &resume) == NERR_Success) {
    const auto* transports = reinterpret_cast<const WKSTA_TRANSPORT_INFO_0*>(buffer);
    for (DWORD i = 0; i < read; ++i) {
      BYTE address[6];
      if (!ParseTransportAddress(transports[i].wkti0_transport_address, address)) continue;
      const CString text = FormatAddress(address);
      if (text.CompareNoCase(_T("000000000000")) != 0) addresses.push_back(text);
    }
  }
  if (buffer) NetApiBufferFree(buffer);
}

void AddUuidNode(std::vector<CString>& addresses) {
  UUID uuid;
  // A node made up for want of an adapter changes with every call: it names no machine.
  if (UuidCreateSequential(&uuid) == RPC_S_OK) addresses.push_back(FormatAddress(uuid.Data4 + 2));
}

}  // namespace

std::vector<CString> CollectSystemAdapterAddresses() {
  std::vector<CString> addresses;
  AddAdaptersInfo(addresses);
  AddTransports(addresses);
  AddUuidNode(addresses);
  return addresses;
}
