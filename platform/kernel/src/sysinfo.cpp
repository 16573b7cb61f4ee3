// GetSystemInfo: the host's processors and memory layout in the Windows structure.
#include <unistd.h>

#include "sysinfoapi.h"

void GetSystemInfo(LPSYSTEM_INFO systemInfo) {
  *systemInfo = SYSTEM_INFO{};
#if defined(__x86_64__)
  systemInfo->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_AMD64;
  systemInfo->dwProcessorType = PROCESSOR_AMD_X8664;
#else
  systemInfo->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
  systemInfo->dwProcessorType = PROCESSOR_INTEL_PENTIUM;
#endif
  const long pageSize = ::sysconf(_SC_PAGESIZE);
  systemInfo->dwPageSize = pageSize > 0 ? static_cast<DWORD>(pageSize) : 4096;
  systemInfo->lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(0x10000);
  systemInfo->lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(0x7FFFFFEFFFFull);
  const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
  const DWORD processors = online > 0 ? static_cast<DWORD>(online) : 1;
  systemInfo->dwNumberOfProcessors = processors;
  systemInfo->dwActiveProcessorMask =
      processors >= 64 ? ~DWORD_PTR{0} : (DWORD_PTR{1} << processors) - 1;
  systemInfo->dwAllocationGranularity = 65536;
  systemInfo->wProcessorLevel = 6;
}

void GetNativeSystemInfo(LPSYSTEM_INFO systemInfo) { GetSystemInfo(systemInfo); }
