// COSVersionInfo: the plain Windows version record and its predicates.
#pragma once
#include <windows.h>

#include "HelperApi.h"

class ZXHELPER_API COSVersionInfo : public OSVERSIONINFOW {
 public:
  COSVersionInfo();  // filled by GetVersionExW

  BOOL IsWin32s() const;
  BOOL IsWin95() const;
  BOOL IsWin98() const;
  BOOL IsWinMe() const;
  BOOL IsWin9x() const;
  BOOL IsWin98OrLater() const;
  BOOL IsWinMeOrLater() const;
  BOOL IsWinNT4() const;
  BOOL IsWin2000() const;
  BOOL IsWinXP() const;
  BOOL IsWinXPOr2003() const;
  BOOL IsWinVista() const;
  BOOL IsWinNT4OrLater() const;
  BOOL IsWin2000OrLater() const;
  BOOL IsWinXPOrLater() const;
  BOOL IsVersionAtLeast(DWORD major, DWORD minor) const;
  BOOL IsVersionEqual(DWORD major, DWORD minor) const;

 private:
  BOOL Is(DWORD platform, DWORD major, DWORD minor) const;
};

ZXHELPER_API DWORD GetOSMajorVersion();
ZXHELPER_API DWORD GetOSMinorVersion();
