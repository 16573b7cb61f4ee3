// The running Windows version and its OS identifier.
#include "OsVersion.h"

#include <cstring>

namespace {

constexpr DWORD kArchitectureIa64 = 6;
constexpr DWORD kHomeServerSuite = 0x8000;

bool QueryVersion(OSVERSIONINFOEXW& version, DWORD& architecture) {
  std::memset(&version, 0, sizeof version);
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExW(reinterpret_cast<LPOSVERSIONINFOW>(&version))) return false;
  SYSTEM_INFO system{};
  GetNativeSystemInfo(&system);
  architecture = system.wProcessorArchitecture;
  return true;
}

}  // namespace

BOOL GetOsVersionParts(DWORD& major, DWORD& minor, DWORD& servicePackMajor, DWORD& architecture, DWORD& build) {
  OSVERSIONINFOEXW version;
  if (!QueryVersion(version, architecture)) return FALSE;
  major = version.dwMajorVersion;
  minor = version.dwMinorVersion;
  servicePackMajor = version.wServicePackMajor;
  build = version.dwBuildNumber;
  return TRUE;
}

int OsIdFromVersion(DWORD platformId, DWORD major, DWORD minor, DWORD productType, DWORD architecture,
                    DWORD suiteMask) {
  const bool workstation = productType == VER_NT_WORKSTATION;
  const bool amd64 = architecture == PROCESSOR_ARCHITECTURE_AMD64;
  const bool ia64 = architecture == kArchitectureIa64;
  if (platformId == VER_PLATFORM_WIN32_WINDOWS && major == 4) {
    if (minor == 10) return 1;
    if (minor == 90) return 2;
    return -1;
  }
  if (platformId != VER_PLATFORM_WIN32_NT) return -1;
  if (major == 4 && minor == 0) return 10;
  if (major == 5 && minor == 0) return ia64 ? 17 : 3;
  if (major == 5 && minor == 1) return 4;
  if (major == 5 && minor == 2) {
    if (workstation && amd64) return 7;
    if (workstation && ia64) return 18;
    if (!workstation && amd64) return 8;
    if (!workstation && ia64) return 19;
    return 5;
  }
  if (major == 6 && minor == 0) return workstation ? (amd64 ? 9 : 6) : 11;
  if (major == 6 && minor == 1 && workstation) return amd64 ? 21 : 12;
  return (suiteMask & kHomeServerSuite) != 0 ? 14 : -1;
}

int GetOsId(DWORD& major, DWORD& minor, DWORD& productType, DWORD& architecture) {
  OSVERSIONINFOEXW version;
  if (!QueryVersion(version, architecture)) return -1;
  major = version.dwMajorVersion;
  minor = version.dwMinorVersion;
  productType = version.wProductType;
  return OsIdFromVersion(version.dwPlatformId, major, minor, productType, architecture, version.wSuiteMask);
}
