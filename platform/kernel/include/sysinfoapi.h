// Time and system information: tick counts, system and local time, FILETIME / SYSTEMTIME
// conversions, time zones, processor information and the Windows version the layer reports
// (read from the machine profile, <machine root>/machine.ini). All times come from the
// layer's clock (zx/clock.h); local time follows the host's time zone.
#pragma once
#include "wintypes.h"

// Milliseconds since the clock's start: 32 bits wrap after 49.7 days.
DWORD GetTickCount();
ULONGLONG GetTickCount64();
// The multimedia timer: the same count as GetTickCount.
DWORD timeGetTime();

void GetSystemTime(LPSYSTEMTIME systemTime);
void GetLocalTime(LPSYSTEMTIME localTime);
void GetSystemTimeAsFileTime(LPFILETIME fileTime);
// FALSE + ERROR_INVALID_PARAMETER for a FILETIME past 30827 or a SYSTEMTIME that names no
// valid moment (31 February, hour 24...); wDayOfWeek is ignored on input.
BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime);
BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime);
// -1, 0 or 1.
LONG CompareFileTime(const FILETIME* first, const FILETIME* second);

// As on Windows these two use the bias in force now, whatever the date converted.
BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime);
BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime);

// Bias in minutes: UTC = local time + bias. StandardDate / DaylightDate with wMonth 0 mean no
// daylight saving; otherwise wMonth, wDayOfWeek, wDay (the n-th such weekday, 5 = the last)
// and wHour / wMinute give the yearly change (wYear 0), or wYear != 0 and wDay a day of month.
struct TIME_ZONE_INFORMATION {
  LONG Bias;
  WCHAR StandardName[32];
  SYSTEMTIME StandardDate;
  LONG StandardBias;
  WCHAR DaylightName[32];
  SYSTEMTIME DaylightDate;
  LONG DaylightBias;
};
using LPTIME_ZONE_INFORMATION = TIME_ZONE_INFORMATION*;
using PTIME_ZONE_INFORMATION = TIME_ZONE_INFORMATION*;

// A null zone means the host's zone with the rules in force at that date.
BOOL SystemTimeToTzSpecificLocalTime(const TIME_ZONE_INFORMATION* timeZone,
                                     const SYSTEMTIME* universalTime, LPSYSTEMTIME localTime);
BOOL TzSpecificLocalTimeToSystemTime(const TIME_ZONE_INFORMATION* timeZone,
                                     const SYSTEMTIME* localTime, LPSYSTEMTIME universalTime);

#define PROCESSOR_ARCHITECTURE_INTEL 0
#define PROCESSOR_ARCHITECTURE_AMD64 9
#define PROCESSOR_INTEL_PENTIUM 586
#define PROCESSOR_AMD_X8664 8664

struct SYSTEM_INFO {
  union {
    DWORD dwOemId;
    struct {
      WORD wProcessorArchitecture;
      WORD wReserved;
    };
  };
  DWORD dwPageSize;
  LPVOID lpMinimumApplicationAddress;
  LPVOID lpMaximumApplicationAddress;
  DWORD_PTR dwActiveProcessorMask;
  DWORD dwNumberOfProcessors;
  DWORD dwProcessorType;
  DWORD dwAllocationGranularity;
  WORD wProcessorLevel;
  WORD wProcessorRevision;
};
using LPSYSTEM_INFO = SYSTEM_INFO*;

// The host's processors and page size; the architecture is AMD64 on x86-64, else Intel.
void GetSystemInfo(LPSYSTEM_INFO systemInfo);
void GetNativeSystemInfo(LPSYSTEM_INFO systemInfo);

struct MEMORYSTATUSEX {
  DWORD dwLength;
  DWORD dwMemoryLoad;
  ULONGLONG ullTotalPhys;
  ULONGLONG ullAvailPhys;
  ULONGLONG ullTotalPageFile;
  ULONGLONG ullAvailPageFile;
  ULONGLONG ullTotalVirtual;
  ULONGLONG ullAvailVirtual;
  ULONGLONG ullAvailExtendedVirtual;
};
using LPMEMORYSTATUSEX = MEMORYSTATUSEX*;

// The host's memory, or the machine profile's [Memory] TotalPhys / AvailPhys (bytes) when
// given. The virtual space is that of a 32-bit process. dwLength must be the structure's
// size (else FALSE and ERROR_INVALID_PARAMETER).
BOOL GlobalMemoryStatusEx(LPMEMORYSTATUSEX status);

#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2
#define VER_NT_WORKSTATION 0x0000001
#define VER_NT_DOMAIN_CONTROLLER 0x0000002
#define VER_NT_SERVER 0x0000003

struct OSVERSIONINFOW {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  WCHAR szCSDVersion[128];
};
struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
};
struct OSVERSIONINFOEXW {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  WCHAR szCSDVersion[128];
  WORD wServicePackMajor;
  WORD wServicePackMinor;
  WORD wSuiteMask;
  BYTE wProductType;
  BYTE wReserved;
};
struct OSVERSIONINFOEXA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
  WORD wServicePackMajor;
  WORD wServicePackMinor;
  WORD wSuiteMask;
  BYTE wProductType;
  BYTE wReserved;
};
using OSVERSIONINFO = OSVERSIONINFOW;
using OSVERSIONINFOEX = OSVERSIONINFOEXW;
using LPOSVERSIONINFOW = OSVERSIONINFOW*;
using LPOSVERSIONINFOA = OSVERSIONINFOA*;
using LPOSVERSIONINFO = OSVERSIONINFOW*;

// dwOSVersionInfoSize must be the size of the plain or the EX structure (else FALSE and
// ERROR_INSUFFICIENT_BUFFER); the EX form also gets the service pack and product type.
BOOL GetVersionExW(LPOSVERSIONINFOW versionInfo);
BOOL GetVersionExA(LPOSVERSIONINFOA versionInfo);
inline BOOL GetVersionEx(LPOSVERSIONINFOW versionInfo) { return GetVersionExW(versionInfo); }

// The computer's (NetBIOS) name: at most this many characters.
#define MAX_COMPUTERNAME_LENGTH 15

// The computer's name: "ComputerName" under [Machine] of machine.ini, else the host's name,
// either cut at its first dot and to MAX_COMPUTERNAME_LENGTH characters and upper-cased.
// size is the buffer's capacity in characters; on success it becomes the name's length
// without the terminator. A buffer too small fails with ERROR_BUFFER_OVERFLOW and size set to
// the characters needed with the terminator; a null size (or a null buffer of non-zero size)
// is ERROR_INVALID_PARAMETER.
BOOL GetComputerNameW(LPWSTR buffer, LPDWORD size);
BOOL GetComputerNameA(LPSTR buffer, LPDWORD size);
inline BOOL GetComputerName(LPWSTR buffer, LPDWORD size) { return GetComputerNameW(buffer, size); }
