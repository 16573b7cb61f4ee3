// Device installation services: device information sets over the machine's device tree,
// device registry properties, class descriptions and the driver-information list of a
// device's installed driver.
//
// The device tree is the registry of the machine root, as Windows keeps it (see
// zx/devicetree.h): a device is an instance key under HKLM\SYSTEM\CurrentControlSet\Enum, it
// is present while its "Control" sub-key exists, and its installed driver is the Class key its
// "Driver" value names. A device information set is a snapshot of the device keys taken when
// the set is built; properties are answered from that snapshot.
#pragma once
#include "wintypes.h"

// A device information set. INVALID_HANDLE_VALUE when a set could not be built.
using HDEVINFO = PVOID;

// SetupDiGetClassDevs flags.
#define DIGCF_DEFAULT 0x00000001
#define DIGCF_PRESENT 0x00000002
#define DIGCF_ALLCLASSES 0x00000004
#define DIGCF_PROFILE 0x00000008
#define DIGCF_DEVICEINTERFACE 0x00000010

// Device registry properties (SetupDiGetDeviceRegistryProperty).
#define SPDRP_DEVICEDESC 0x00000000
#define SPDRP_HARDWAREID 0x00000001
#define SPDRP_COMPATIBLEIDS 0x00000002
#define SPDRP_SERVICE 0x00000004
#define SPDRP_CLASS 0x00000007
#define SPDRP_CLASSGUID 0x00000008
#define SPDRP_DRIVER 0x00000009
#define SPDRP_CONFIGFLAGS 0x0000000A
#define SPDRP_MFG 0x0000000B
#define SPDRP_FRIENDLYNAME 0x0000000C
#define SPDRP_LOCATION_INFORMATION 0x0000000D
#define SPDRP_CAPABILITIES 0x0000000F
#define SPDRP_UI_NUMBER 0x00000010
#define SPDRP_UPPERFILTERS 0x00000011
#define SPDRP_LOWERFILTERS 0x00000012

// Driver list types.
#define SPDIT_NODRIVER 0x00000000
#define SPDIT_CLASSDRIVER 0x00000001
#define SPDIT_COMPATDRIVER 0x00000002

// Driver node flags (SP_DRVINSTALL_PARAMS.Flags).
#define DNF_DUPDESC 0x00000001
#define DNF_OLDDRIVER 0x00000002
#define DNF_EXCLUDEFROMLIST 0x00000004
#define DNF_INF_IS_SIGNED 0x00002000
#define DNF_INSTALLEDDRIVER 0x00040000

// Device installation parameter flags (SP_DEVINSTALL_PARAMS).
#define DI_FLAGSEX_INSTALLEDDRIVER 0x04000000

#define LINE_LEN 256
#define MAX_CLASS_NAME_LEN 32

// Errors of the device installation services (GetLastError).
#define ERROR_NO_DRIVER_SELECTED 0xE0000203u
#define ERROR_INVALID_CLASS 0xE0000206u
#define ERROR_INVALID_REG_PROPERTY 0xE0000209u
#define ERROR_NO_SUCH_DEVINST 0xE000020Bu
#define ERROR_GENERAL_SYNTAX 0xE0000003u
#define ERROR_WRONG_INF_STYLE 0xE0000100u
#define ERROR_SECTION_NOT_FOUND 0xE0000101u
#define ERROR_LINE_NOT_FOUND 0xE0000102u
#define ERROR_IN_WOW64 0xE0000235u
#ifndef ERROR_INVALID_USER_BUFFER
#define ERROR_INVALID_USER_BUFFER 1784L
#endif
#ifndef ERROR_INVALID_FLAGS
#define ERROR_INVALID_FLAGS 1004L
#endif

struct SP_DEVINFO_DATA {
  DWORD cbSize;
  GUID ClassGuid;
  DWORD DevInst;
  ULONG_PTR Reserved;
};
using PSP_DEVINFO_DATA = SP_DEVINFO_DATA*;

using PSP_FILE_CALLBACK_W = UINT (*)(PVOID context, UINT notification, UINT_PTR param1,
                                     UINT_PTR param2);
struct SP_DEVINSTALL_PARAMS_W {
  DWORD cbSize;
  DWORD Flags;
  DWORD FlagsEx;
  HWND hwndParent;
  PSP_FILE_CALLBACK_W InstallMsgHandler;
  PVOID InstallMsgHandlerContext;
  PVOID FileQueue;
  ULONG_PTR ClassInstallReserved;
  DWORD Reserved;
  WCHAR DriverPath[MAX_PATH];
};
using PSP_DEVINSTALL_PARAMS_W = SP_DEVINSTALL_PARAMS_W*;

struct SP_DRVINFO_DATA_V2_W {
  DWORD cbSize;
  DWORD DriverType;
  ULONG_PTR Reserved;
  WCHAR Description[LINE_LEN];
  WCHAR MfgName[LINE_LEN];
  WCHAR ProviderName[LINE_LEN];
  FILETIME DriverDate;
  ULONGLONG DriverVersion;  // four 16-bit parts, the most significant first
};
using SP_DRVINFO_DATA_W = SP_DRVINFO_DATA_V2_W;
using PSP_DRVINFO_DATA_W = SP_DRVINFO_DATA_V2_W*;

// Variable-sized: HardwareID continues as a double-terminated list (the matching id, then
// the compatible ids from CompatIDsOffset on). A buffer that holds the fixed part gets the
// fixed part even when the list does not fit (ERROR_INSUFFICIENT_BUFFER, as Windows does).
struct SP_DRVINFO_DETAIL_DATA_W {
  DWORD cbSize;  // sizeof(SP_DRVINFO_DETAIL_DATA_W)
  FILETIME InfDate;
  DWORD CompatIDsOffset;
  DWORD CompatIDsLength;
  ULONG_PTR Reserved;
  WCHAR SectionName[LINE_LEN];
  WCHAR InfFileName[MAX_PATH];
  WCHAR DrvDescription[LINE_LEN];
  WCHAR HardwareID[1];
};
using PSP_DRVINFO_DETAIL_DATA_W = SP_DRVINFO_DETAIL_DATA_W*;

struct SP_DRVINSTALL_PARAMS {
  DWORD cbSize;
  DWORD Rank;
  DWORD Flags;
  DWORD_PTR PrivateData;
  DWORD Reserved;
};
using PSP_DRVINSTALL_PARAMS = SP_DRVINSTALL_PARAMS*;

// Builds a set of the devices of the tree: every class with DIGCF_ALLCLASSES, else those of
// classGuid; present devices only with DIGCF_PRESENT; enumerator limits the set to one
// enumerator ("PCI", "USB", ...). Device interfaces are not offered (ERROR_INVALID_FLAGS).
HDEVINFO SetupDiGetClassDevsW(const GUID* classGuid, LPCWSTR enumerator, HWND parent, DWORD flags);
// The device at memberIndex; FALSE with ERROR_NO_MORE_ITEMS past the last.
BOOL SetupDiEnumDeviceInfo(HDEVINFO set, DWORD memberIndex, PSP_DEVINFO_DATA deviceInfo);
// Removes one device from the set (the others keep their order).
BOOL SetupDiDeleteDeviceInfo(HDEVINFO set, PSP_DEVINFO_DATA deviceInfo);
BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set);
// The device's instance id ("PCI\VEN_8086&DEV_1E31...\3&11583659&0&A0").
BOOL SetupDiGetDeviceInstanceIdW(HDEVINFO set, PSP_DEVINFO_DATA deviceInfo, LPWSTR instanceId,
                                 DWORD size, PDWORD requiredSize);
// A property of the device: ERROR_INVALID_DATA when the device has none,
// ERROR_INSUFFICIENT_BUFFER (with *requiredSize in bytes) when the buffer is too small.
BOOL SetupDiGetDeviceRegistryPropertyW(HDEVINFO set, PSP_DEVINFO_DATA deviceInfo, DWORD property,
                                       PDWORD regDataType, PBYTE buffer, DWORD bufferSize,
                                       PDWORD requiredSize);
// The description of a device class (its Class key's default value); ERROR_INVALID_CLASS for
// a class the machine does not know. size and *requiredSize count characters.
BOOL SetupDiGetClassDescriptionW(const GUID* classGuid, LPWSTR description, DWORD size,
                                 PDWORD requiredSize);
BOOL SetupDiGetDeviceInstallParamsW(HDEVINFO set, PSP_DEVINFO_DATA deviceInfo,
                                    PSP_DEVINSTALL_PARAMS_W params);

// The driver-information list of a device (SPDIT_COMPATDRIVER): the device's installed
// driver, as its Class key describes it, flagged DNF_INSTALLEDDRIVER. A device without an
// installed driver gets an empty list.
BOOL SetupDiBuildDriverInfoList(HDEVINFO set, PSP_DEVINFO_DATA deviceInfo, DWORD driverType);
BOOL SetupDiEnumDriverInfoW(HDEVINFO set, PSP_DEVINFO_DATA deviceInfo, DWORD driverType,
                            DWORD memberIndex, PSP_DRVINFO_DATA_W driverInfo);
BOOL SetupDiGetDriverInstallParamsW(HDEVINFO set, PSP_DEVINFO_DATA deviceInfo,
                                    PSP_DRVINFO_DATA_W driverInfo, PSP_DRVINSTALL_PARAMS params);
BOOL SetupDiGetDriverInfoDetailW(HDEVINFO set, PSP_DEVINFO_DATA deviceInfo,
                                 PSP_DRVINFO_DATA_W driverInfo, PSP_DRVINFO_DETAIL_DATA_W detail,
                                 DWORD detailSize, PDWORD requiredSize);
// With a null deviceInfo: the lists of every device of the set.
BOOL SetupDiDestroyDriverInfoList(HDEVINFO set, PSP_DEVINFO_DATA deviceInfo, DWORD driverType);

inline HDEVINFO SetupDiGetClassDevs(const GUID* classGuid, LPCWSTR enumerator, HWND parent,
                                    DWORD flags) {
  return SetupDiGetClassDevsW(classGuid, enumerator, parent, flags);
}
inline BOOL SetupDiGetDeviceRegistryProperty(HDEVINFO set, PSP_DEVINFO_DATA deviceInfo,
                                             DWORD property, PDWORD regDataType, PBYTE buffer,
                                             DWORD bufferSize, PDWORD requiredSize) {
  return SetupDiGetDeviceRegistryPropertyW(set, deviceInfo, property, regDataType, buffer,
                                           bufferSize, requiredSize);
}
inline BOOL SetupDiGetClassDescription(const GUID* classGuid, LPWSTR description, DWORD size,
                                       PDWORD requiredSize) {
  return SetupDiGetClassDescriptionW(classGuid, description, size, requiredSize);
}

// The class image list: one small icon per device setup class the machine knows, the
// Unknown class's icon standing for any other class. cbSize = sizeof(SP_CLASSIMAGELIST_DATA)
// (24 here); any other size is ERROR_INVALID_USER_BUFFER, a null pointer
// ERROR_INVALID_PARAMETER.
struct _IMAGELIST;
using HIMAGELIST = _IMAGELIST*;
struct SP_CLASSIMAGELIST_DATA {
  DWORD cbSize;
  HIMAGELIST ImageList;
  ULONG_PTR Reserved;
};
using PSP_CLASSIMAGELIST_DATA = SP_CLASSIMAGELIST_DATA*;

BOOL SetupDiGetClassImageList(PSP_CLASSIMAGELIST_DATA classImageListData);
// The image of a class; a class the list does not hold answers the Unknown class's image.
BOOL SetupDiGetClassImageIndex(PSP_CLASSIMAGELIST_DATA classImageListData, const GUID* classGuid,
                               int* imageIndex);
// Destroys the image list and the list's own data.
BOOL SetupDiDestroyClassImageList(PSP_CLASSIMAGELIST_DATA classImageListData);

// INF copy and Plug and Play driver update (the package installation of difxapi.h).
#define SPOST_NONE 0
#define SPOST_PATH 1
#define SP_COPY_NOOVERWRITE 0x0000008
#define INSTALLFLAG_FORCE 0x00000001

extern "C" {
// Copies an INF into the INF folder as oemN.inf (an identical INF already there keeps its
// name) and into the driver store. The destination buffer (optional) gets the new INF's full
// path and *destinationInfFileNameComponent points at its file name there; *requiredSize
// counts characters with the terminator. ERROR_FILE_EXISTS with SP_COPY_NOOVERWRITE when the
// INF is there already; ERROR_INSUFFICIENT_BUFFER when the path does not fit (nothing is
// copied then); a damaged INF fails as DriverPackageInstallW does.
BOOL SetupCopyOEMInfW(LPCWSTR sourceInfFileName, LPCWSTR oemSourceMediaLocation, DWORD oemSourceMediaType,
                      DWORD copyStyle, LPWSTR destinationInfFileName, DWORD destinationInfFileNameSize,
                      PDWORD requiredSize, LPWSTR* destinationInfFileNameComponent);
// Installs the INF's driver on the present devices with that hardware or compatible id:
// ERROR_NO_SUCH_DEVINST when none is present, ERROR_NO_DRIVER_SELECTED when the INF has no
// driver for them, ERROR_NO_MORE_ITEMS when (without INSTALLFLAG_FORCE) the package is not
// newer than their drivers. *rebootRequired (when given) is set FALSE.
BOOL UpdateDriverForPlugAndPlayDevicesW(HWND parent, LPCWSTR hardwareId, LPCWSTR fullInfPath, DWORD installFlags,
                                        PBOOL rebootRequired);
}  // extern "C"
