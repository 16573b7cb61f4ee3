// Workstation transports: one NetBIOS-over-TCP transport per adapter with an address.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "lm.h"
#include "zx/netadapters.h"

namespace {

struct Transport {
  std::u16string name;
  std::u16string address;
};

std::u16string Widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::vector<Transport> Transports() {
  std::vector<Transport> transports;
  for (const zx::net::Adapter& adapter : zx::net::Adapters())
    if (!adapter.address.empty())
      transports.push_back({u"\\Device\\NetBT_Tcpip_" + Widen(adapter.name),
                            Widen(zx::net::HexAddress(adapter.address))});
  return transports;
}

// Copies text with its terminator to cursor and answers where it lies.
LMSTR Place(WCHAR*& cursor, const std::u16string& text) {
  LMSTR placed = cursor;
  std::memcpy(cursor, text.c_str(), (text.size() + 1) * sizeof(WCHAR));
  cursor += text.size() + 1;
  return placed;
}

}  // namespace

NET_API_STATUS NetApiBufferAllocate(DWORD byteCount, LPVOID* buffer) {
  if (!buffer) return ERROR_INVALID_PARAMETER;
  *buffer = std::malloc(byteCount ? byteCount : 1);
  return *buffer ? NERR_Success : ERROR_NOT_ENOUGH_MEMORY;
}

NET_API_STATUS NetApiBufferFree(LPVOID buffer) {
  std::free(buffer);
  return NERR_Success;
}

NET_API_STATUS NetWkstaTransportEnum(LMSTR serverName, DWORD level, LPBYTE* buffer, DWORD,
                                     LPDWORD entriesRead, LPDWORD totalEntries,
                                     LPDWORD resumeHandle) {
  if (!buffer || !entriesRead || !totalEntries) return ERROR_INVALID_PARAMETER;
  *buffer = nullptr;
  *entriesRead = *totalEntries = 0;
  if (level != 0) return ERROR_INVALID_LEVEL;
  if (serverName && serverName[0]) return ERROR_BAD_NETPATH;
  const std::vector<Transport> transports = Transports();
  std::size_t bytes = transports.size() * sizeof(WKSTA_TRANSPORT_INFO_0);
  for (const Transport& t : transports) bytes += (t.name.size() + t.address.size() + 2) * sizeof(WCHAR);
  LPVOID block = nullptr;
  if (const NET_API_STATUS status = NetApiBufferAllocate(static_cast<DWORD>(bytes), &block)) return status;
  auto* records = static_cast<WKSTA_TRANSPORT_INFO_0*>(block);
  auto* cursor = reinterpret_cast<WCHAR*>(records + transports.size());
  for (std::size_t i = 0; i < transports.size(); ++i) {
    records[i] = {};
    records[i].wkti0_number_of_vcs = 1;
    records[i].wkti0_transport_name = Place(cursor, transports[i].name);
    records[i].wkti0_transport_address = Place(cursor, transports[i].address);
  }
  *buffer = static_cast<LPBYTE>(block);
  *entriesRead = *totalEntries = static_cast<DWORD>(transports.size());
  if (resumeHandle) *resumeHandle = 0;
  return NERR_Success;
}
