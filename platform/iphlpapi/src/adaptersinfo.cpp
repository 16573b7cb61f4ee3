// GetAdaptersInfo over the machine's adapter list.
#include <algorithm>
#include <cstring>
#include <vector>

#include "iphlpapi.h"
#include "zx/netadapters.h"

namespace {

void CopyNarrow(char* target, std::size_t capacity, const std::string& text) {
  const std::size_t n = std::min(text.size(), capacity - 1);
  std::memcpy(target, text.data(), n);
  target[n] = '\0';
}

void SetUnspecified(IP_ADDR_STRING& address) {
  CopyNarrow(address.IpAddress.String, sizeof address.IpAddress.String, "0.0.0.0");
  CopyNarrow(address.IpMask.String, sizeof address.IpMask.String, "0.0.0.0");
}

void Fill(IP_ADAPTER_INFO& info, const zx::net::Adapter& adapter) {
  std::memset(&info, 0, sizeof info);
  info.ComboIndex = adapter.index;
  CopyNarrow(info.AdapterName, sizeof info.AdapterName, adapter.name);
  CopyNarrow(info.Description, sizeof info.Description, adapter.description);
  info.AddressLength = static_cast<UINT>(adapter.address.size());
  std::copy(adapter.address.begin(), adapter.address.end(), info.Address);
  info.Index = adapter.index;
  info.Type = adapter.wireless ? IF_TYPE_IEEE80211 : MIB_IF_TYPE_ETHERNET;
  SetUnspecified(info.IpAddressList);
  SetUnspecified(info.GatewayList);
  SetUnspecified(info.DhcpServer);
  SetUnspecified(info.PrimaryWinsServer);
  SetUnspecified(info.SecondaryWinsServer);
}

}  // namespace

DWORD GetAdaptersInfo(PIP_ADAPTER_INFO adapterInfo, ULONG* size) {
  if (!size) return ERROR_INVALID_PARAMETER;
  const std::vector<zx::net::Adapter> adapters = zx::net::Adapters();
  if (adapters.empty()) return ERROR_NO_DATA;
  const ULONG needed = static_cast<ULONG>(adapters.size() * sizeof(IP_ADAPTER_INFO));
  if (!adapterInfo || *size < needed) {
    *size = needed;
    return ERROR_BUFFER_OVERFLOW;
  }
  for (std::size_t i = 0; i < adapters.size(); ++i) {
    Fill(adapterInfo[i], adapters[i]);
    adapterInfo[i].Next = i + 1 < adapters.size() ? &adapterInfo[i + 1] : nullptr;
  }
  return ERROR_SUCCESS;
}
