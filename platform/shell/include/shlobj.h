// Shell folders: the special folders of the machine's Windows installation by CSIDL. The
// user folders belong to the Linux user running the process (C:\Users\<user>).
#pragma once
#include "wintypes.h"

#define CSIDL_DESKTOP 0x0000
#define CSIDL_PERSONAL 0x0005
#define CSIDL_STARTUP 0x0007
#define CSIDL_DESKTOPDIRECTORY 0x0010
#define CSIDL_FONTS 0x0014
#define CSIDL_APPDATA 0x001A
#define CSIDL_LOCAL_APPDATA 0x001C
#define CSIDL_COMMON_APPDATA 0x0023
#define CSIDL_WINDOWS 0x0024
#define CSIDL_SYSTEM 0x0025
#define CSIDL_PROGRAM_FILES 0x0026
#define CSIDL_PROFILE 0x0028
#define CSIDL_SYSTEMX86 0x0029
#define CSIDL_PROGRAM_FILESX86 0x002A
#define CSIDL_COMMON_DOCUMENTS 0x002E
#define CSIDL_FLAG_DONT_VERIFY 0x4000
#define CSIDL_FLAG_CREATE 0x8000
#define CSIDL_FLAG_MASK 0xFF00

#define SHGFP_TYPE_CURRENT 0
#define SHGFP_TYPE_DEFAULT 1

// path receives up to MAX_PATH characters. FALSE for an unknown CSIDL, and for a folder that
// does not exist unless create asks for it to be made.
BOOL SHGetSpecialFolderPathW(HWND owner, LPWSTR path, int csidl, BOOL create);
BOOL SHGetSpecialFolderPathA(HWND owner, LPSTR path, int csidl, BOOL create);
// S_OK; E_INVALIDARG for an unknown CSIDL; E_FAIL when the folder does not exist (unless
// CSIDL_FLAG_CREATE makes it or CSIDL_FLAG_DONT_VERIFY skips the check). token is ignored.
HRESULT SHGetFolderPathW(HWND owner, int csidl, HANDLE token, DWORD flags, LPWSTR path);

inline BOOL SHGetSpecialFolderPath(HWND owner, LPWSTR path, int csidl, BOOL create) {
  return SHGetSpecialFolderPathW(owner, path, csidl, create);
}
inline HRESULT SHGetFolderPath(HWND owner, int csidl, HANDLE token, DWORD flags, LPWSTR path) {
  return SHGetFolderPathW(owner, csidl, token, flags, path);
}

// The folder browser (SHBrowseForFolderW), where the shell dialogs are built in.
#if __has_include("shlobj_browse.h")
#include "shlobj_browse.h"
#endif
