// What the machine says about the network: host routes from the machine profile and whether
// the machine is connected. Inet-internal.
#pragma once
#include <string>

#include "wintypes.h"

namespace zx::inet {

// A libcurl CONNECT_TO entry for the machine profile's route of host ([Hosts] host=address[:port]),
// or "" when the host has no route (or its route does not read as an address and port).
std::string HostRoute(const std::string& host);

// INTERNET_CONNECTION_LAN or INTERNET_CONNECTION_MODEM, or 0 when the machine is not connected:
// the machine profile's [Network] Connection (lan, modem, none), else the host's interfaces.
DWORD MachineConnection();

}  // namespace zx::inet
