// COSVersionInfo and the cached major and minor Windows version.
#include "OSVersionInfo.h"

#include <atomic>

COSVersionInfo::COSVersionInfo() : OSVERSIONINFOW{} {
  dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
  GetVersionExW(this);
}

BOOL COSVersionInfo::Is(DWORD platform, DWORD major, DWORD minor) const {
  return dwPlatformId == platform && IsVersionEqual(major, minor);
}

BOOL COSVersionInfo::IsWin32s() const { return dwPlatformId == 0; }
BOOL COSVersionInfo::IsWin95() const {
  return dwPlatformId == 1 && dwMajorVersion == 4 && dwMinorVersion < 10;
}
BOOL COSVersionInfo::IsWin98() const { return Is(1, 4, 10); }
BOOL COSVersionInfo::IsWinMe() const { return Is(1, 4, 90); }
BOOL COSVersionInfo::IsWin9x() const { return dwPlatformId == 1 && dwMajorVersion >= 4; }
BOOL COSVersionInfo::IsWin98OrLater() const { return dwPlatformId == 1 && IsVersionAtLeast(4, 10); }
BOOL COSVersionInfo::IsWinMeOrLater() const { return dwPlatformId == 1 && IsVersionAtLeast(4, 90); }
BOOL COSVersionInfo::IsWinNT4() const { return Is(2, 4, 0); }
BOOL COSVersionInfo::IsWin2000() const { return Is(2, 5, 0); }
BOOL COSVersionInfo::IsWinXP() const { return Is(2, 5, 1); }
BOOL COSVersionInfo::IsWinXPOr2003() const { return IsVersionEqual(5, 1) || IsVersionEqual(5, 2); }
BOOL COSVersionInfo::IsWinVista() const { return Is(2, 6, 0); }
BOOL COSVersionInfo::IsWinNT4OrLater() const { return dwPlatformId >= 2 && dwMajorVersion >= 4; }
BOOL COSVersionInfo::IsWin2000OrLater() const { return dwPlatformId >= 2 && dwMajorVersion >= 5; }
BOOL COSVersionInfo::IsWinXPOrLater() const { return dwPlatformId >= 2 && IsVersionAtLeast(5, 1); }

BOOL COSVersionInfo::IsVersionAtLeast(DWORD major, DWORD minor) const {
  return dwMajorVersion > major || (dwMajorVersion == major && dwMinorVersion >= minor);
}

BOOL COSVersionInfo::IsVersionEqual(DWORD major, DWORD minor) const {
  return dwMajorVersion == major && dwMinorVersion == minor;
}

namespace {

// The first nonzero answer is kept for the process.
DWORD CachedVersionPart(std::atomic<DWORD>& cache, bool major) {
  DWORD value = cache.load();
  if (value != 0) return value;
  const COSVersionInfo info;
  value = major ? info.dwMajorVersion : info.dwMinorVersion;
  if (value != 0) cache.store(value);
  return value;
}

std::atomic<DWORD> g_major{0};
std::atomic<DWORD> g_minor{0};

}  // namespace

DWORD GetOSMajorVersion() { return CachedVersionPart(g_major, true); }
DWORD GetOSMinorVersion() { return CachedVersionPart(g_minor, false); }
