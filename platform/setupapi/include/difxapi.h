// Driver package installation (DIFxAPI) over the machine's device tree: a package's INF is
// copied into the INF folder (as oemN.inf) and the driver store, and installing it gives the
// matching present devices the package's driver (their Class keys take its description,
// provider, version, date and INF). The functions have C linkage: the system binds them by
// name from "difxapi.dll".
#pragma once
#include "wintypes.h"

// DriverPackageInstall / DriverPackagePreinstall flags.
#define DRIVER_PACKAGE_REPAIR 0x00000001
#define DRIVER_PACKAGE_SILENT 0x00000002
#define DRIVER_PACKAGE_FORCE 0x00000004
#define DRIVER_PACKAGE_ONLY_IF_DEVICE_PRESENT 0x00000008
#define DRIVER_PACKAGE_LEGACY_MODE 0x00000010

struct INSTALLERINFO_W {
  LPWSTR pApplicationId;
  LPWSTR pDisplayName;
  LPWSTR pProductName;
  LPWSTR pMfgName;
};
using PINSTALLERINFO_W = INSTALLERINFO_W*;

enum DIFXAPI_LOG { DIFXAPI_SUCCESS = 0, DIFXAPI_INFO = 1, DIFXAPI_WARNING = 2, DIFXAPI_ERROR = 3 };
using DIFXAPILOGCALLBACK_W = void (*)(DIFXAPI_LOG event, DWORD error, LPCWSTR eventDescription, PVOID context);

extern "C" {

// Stores the package and installs it on every present device it matches. ERROR_SUCCESS also
// when no device matches (the package waits in the store), unless ONLY_IF_DEVICE_PRESENT asks
// for a device (ERROR_NO_SUCH_DEVINST). Without FORCE a package older than a device's driver
// leaves that device alone, and when it is older for every matching device the answer is
// ERROR_NO_MORE_ITEMS. A damaged INF: ERROR_WRONG_INF_STYLE, ERROR_GENERAL_SYNTAX,
// ERROR_SECTION_NOT_FOUND, ERROR_LINE_NOT_FOUND or ERROR_INVALID_CLASS, with nothing changed;
// an INF whose models are only for other machines (on a 64-bit machine, any not decorated
// "NTamd64"): ERROR_NO_DRIVER_SELECTED, with nothing changed.
// *needReboot (when given) is set FALSE: nothing here needs a restart.
DWORD DriverPackageInstallW(LPCWSTR infPath, DWORD flags, PINSTALLERINFO_W installerInfo, BOOL* needReboot);
// Stores the package (INF folder and driver store) without touching any device.
DWORD DriverPackagePreinstallW(LPCWSTR infPath, DWORD flags);
// Every later DIFx call reports its steps to the callback (null: to nobody).
void DIFXAPISetLogCallbackW(DIFXAPILOGCALLBACK_W callback, PVOID context);

}  // extern "C"

inline DWORD DriverPackageInstall(LPCWSTR infPath, DWORD flags, PINSTALLERINFO_W installerInfo, BOOL* needReboot) {
  return DriverPackageInstallW(infPath, flags, installerInfo, needReboot);
}
inline DWORD DriverPackagePreinstall(LPCWSTR infPath, DWORD flags) { return DriverPackagePreinstallW(infPath, flags); }
