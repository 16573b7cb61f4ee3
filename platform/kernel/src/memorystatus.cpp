// GlobalMemoryStatusEx: physical memory and swap of the host, or of the machine profile.
#include <sys/sysinfo.h>

#include <algorithm>
#include <string>

#include "errhandlingapi.h"
#include "sysinfoapi.h"
#include "zx/machine.h"

namespace {

// The user part of a 32-bit process's address space.
constexpr ULONGLONG kVirtualSpace = 0x7FFE0000ull;

// A whole number of bytes from the profile, or fallback when absent or not a number.
ULONGLONG ProfileBytes(const char* key, ULONGLONG fallback) {
  const std::string text = zx::machine::ProfileValue("Memory", key, "");
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 19)
    return fallback;
  return std::stoull(text);
}

}  // namespace

BOOL GlobalMemoryStatusEx(LPMEMORYSTATUSEX status) {
  if (!status || status->dwLength != sizeof(MEMORYSTATUSEX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  struct sysinfo host = {};
  ::sysinfo(&host);
  const ULONGLONG unit = host.mem_unit ? host.mem_unit : 1;
  const ULONGLONG total = ProfileBytes("TotalPhys", host.totalram * unit);
  const ULONGLONG available = std::min(total, ProfileBytes("AvailPhys", (host.freeram + host.bufferram) * unit));
  status->ullTotalPhys = total;
  status->ullAvailPhys = available;
  status->dwMemoryLoad = total ? static_cast<DWORD>((total - available) * 100 / total) : 0;
  status->ullTotalPageFile = total + host.totalswap * unit;
  status->ullAvailPageFile = available + host.freeswap * unit;
  status->ullTotalVirtual = kVirtualSpace;
  status->ullAvailVirtual = kVirtualSpace;
  status->ullAvailExtendedVirtual = 0;
  return TRUE;
}
