// Readers of the host's hardware, one per WMI class.
#pragma once
#include "classes.h"

namespace zx::wmi {

// MemTotal of /proc/meminfo in bytes; missing when it cannot be read.
Value HostTotalMemory();

std::vector<Instance> ReadHostBios(const ClassInfo& info);
std::vector<Instance> ReadHostBaseBoard(const ClassInfo& info);
std::vector<Instance> ReadHostComputerSystem(const ClassInfo& info);
std::vector<Instance> ReadHostNetworkAdapters(const ClassInfo& info);
std::vector<Instance> ReadHostPhysicalMemory(const ClassInfo& info);
// Win32_PnPSignedDriver: the machine's device tree.
std::vector<Instance> ReadSignedDrivers(const ClassInfo& info);

}  // namespace zx::wmi
