// WOW64 queries and processor times.
#include "wow64apiset.h"

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "errhandlingapi.h"
#include "zx/machine.h"

namespace {

void StoreFileTime(PFILETIME target, unsigned long long value) {
  if (!target) return;
  target->dwLowDateTime = static_cast<DWORD>(value);
  target->dwHighDateTime = static_cast<DWORD>(value >> 32);
}

unsigned long long TicksTo100ns(unsigned long long ticks) {
  const long perSecond = ::sysconf(_SC_CLK_TCK);
  return ticks * (10000000ull / static_cast<unsigned long long>(perSecond > 0 ? perSecond : 100));
}

}  // namespace

extern "C" BOOL IsWow64Process(HANDLE, PBOOL wow64) {
  if (!wow64) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *wow64 = zx::machine::ProfileValue("Windows", "Architecture", "x64") != "x86";
  return TRUE;
}

extern "C" BOOL Wow64DisableWow64FsRedirection(PVOID* oldValue) {
  if (oldValue) *oldValue = nullptr;
  return TRUE;
}

extern "C" BOOL Wow64RevertWow64FsRedirection(PVOID) { return TRUE; }

extern "C" BOOL GetSystemTimes(PFILETIME idleTime, PFILETIME kernelTime, PFILETIME userTime) {
  // First line of /proc/stat: cpu user nice system idle iowait irq softirq ...
  std::ifstream in("/proc/stat");
  std::string line, label;
  if (!std::getline(in, line)) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  std::istringstream fields(line);
  unsigned long long user = 0, nice = 0, system = 0, idle = 0, iowait = 0, irq = 0, softirq = 0;
  fields >> label >> user >> nice >> system >> idle >> iowait >> irq >> softirq;
  const unsigned long long idleAll = idle + iowait;
  // As on Windows, kernel time includes idle time.
  StoreFileTime(idleTime, TicksTo100ns(idleAll));
  StoreFileTime(kernelTime, TicksTo100ns(system + irq + softirq + idleAll));
  StoreFileTime(userTime, TicksTo100ns(user + nice));
  return TRUE;
}

extern "C" BOOL GetProcessTimes(HANDLE, PFILETIME creationTime, PFILETIME exitTime,
                                PFILETIME kernelTime, PFILETIME userTime) {
  rusage usage{};
  if (::getrusage(RUSAGE_SELF, &usage) != 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  const auto to100ns = [](const timeval& t) {
    return static_cast<unsigned long long>(t.tv_sec) * 10000000ull +
           static_cast<unsigned long long>(t.tv_usec) * 10ull;
  };
  StoreFileTime(creationTime, 0);
  StoreFileTime(exitTime, 0);
  StoreFileTime(kernelTime, to100ns(usage.ru_stime));
  StoreFileTime(userTime, to100ns(usage.ru_utime));
  return TRUE;
}
