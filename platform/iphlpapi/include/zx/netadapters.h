// Platform-internal: the machine's network adapters, one list that GetAdaptersInfo, the
// workstation transports, sequential UUIDs and WMI's Win32_NetworkAdapter all read.
//
// From the machine profile when [NetworkAdapters] Count=N is set: adapters 0..N-1 come from
// sections [NetworkAdapter.<i>] with the keys Name, Description, MACAddress (twelve hex digits,
// with or without ':' or '-' between pairs; empty or absent = no address), NetConnectionID
// (empty or absent = none), Physical (0/1, default 1), Up (0/1, default 1), Speed (bits per
// second). Otherwise from /sys/class/net, loopback left out, ordered by interface index.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "wintypes.h"

namespace zx::net {

struct Adapter {
  std::string name;
  std::string description;
  std::vector<BYTE> address;  // empty when the adapter has none (or all zeros)
  DWORD index = 0;
  bool physical = false;
  bool wireless = false;
  bool up = false;
  std::string connectionId;  // empty when the adapter has none
  ULONGLONG speed = 0;       // bits per second, 0 when unknown
};

std::vector<Adapter> Adapters();

// What a host interface's folder of /sys/class/net holds: its files' first lines ("uevent"
// of its device whole) and whether it has a device and wireless parts.
struct HostAdapterFiles {
  std::string type, uevent, address, ifindex, operstate, speed;
  bool device = false, wireless = false;
};
// The adapter a host interface makes; nullopt for the loopback interface. A number that
// does not read (or fit) is unknown.
std::optional<Adapter> HostAdapterFrom(const std::string& name, const HostAdapterFiles& files);

// Hex pairs, optionally separated by ':' or '-'; at most 8 bytes. False for anything else.
bool ParseHardwareAddress(const std::string& text, std::vector<BYTE>& bytes);
// "XXXXXXXXXXXX": the bytes as upper-case hex without separators.
std::string HexAddress(const std::vector<BYTE>& bytes);

}  // namespace zx::net
