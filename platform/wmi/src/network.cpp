// Win32_NetworkAdapter over the machine's adapter list.
#include <cstdio>

#include "hostreaders.h"
#include "zx/netadapters.h"

namespace zx::wmi {
namespace {

// "00:1A:2B:3C:4D:5E", as WMI writes adapter addresses.
std::string ColonAddress(const std::vector<BYTE>& bytes) {
  const std::string hex = net::HexAddress(bytes);
  std::string text;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    if (i) text += ':';
    text += hex.substr(i, 2);
  }
  return text;
}

}  // namespace

std::vector<Instance> ReadHostNetworkAdapters(const ClassInfo& info) {
  std::vector<Instance> instances;
  for (const net::Adapter& adapter : net::Adapters()) {
    InstanceBuilder row(info);
    const std::string index = std::to_string(adapter.index);
    char caption[32];
    std::snprintf(caption, sizeof caption, "[%08u] ", adapter.index);
    row.Set("Caption", caption + adapter.description);
    row.Set("Description", adapter.description);
    row.Set("Name", adapter.description);
    row.Set("ProductName", adapter.description);
    row.Set("DeviceID", index);
    row.Set("Index", index);
    row.Set("InterfaceIndex", index);
    row.Set("PhysicalAdapter", std::string(adapter.physical ? "TRUE" : "FALSE"));
    if (!adapter.address.empty()) {
      row.Set("AdapterType", std::string("Ethernet 802.3"));
      row.Set("MACAddress", ColonAddress(adapter.address));
    }
    if (!adapter.connectionId.empty()) {
      row.Set("NetConnectionID", adapter.connectionId);
      row.Set("NetEnabled", std::string(adapter.up ? "TRUE" : "FALSE"));
    }
    if (adapter.speed) row.Set("Speed", std::to_string(adapter.speed));
    instances.push_back(row.Take());
  }
  return instances;
}

}  // namespace zx::wmi
