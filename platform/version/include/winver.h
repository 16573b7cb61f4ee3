// File version information: the version resource of a program or driver file (its fixed
// part and its string tables), as GetFileVersionInfo and VerQueryValue give it. Files are
// PE images, whose resource section holds it, or the system's own modules, whose resource
// file beside them holds it (zx/resmodule.h).
#pragma once
#include "wintypes.h"

#define VS_FFI_SIGNATURE 0xFEEF04BDu
#define VS_FFI_STRUCVERSION 0x00010000u
#define VS_FFI_FILEFLAGSMASK 0x0000003Fu
#define VOS_NT_WINDOWS32 0x00040004u
#define VFT_UNKNOWN 0x00000000u
#define VFT_APP 0x00000001u
#define VFT_DLL 0x00000002u
#define VFT_DRV 0x00000003u
#define VFT2_DRV_SYSTEM 0x00000007u

#ifndef ERROR_RESOURCE_DATA_NOT_FOUND
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L
#endif
#ifndef ERROR_RESOURCE_TYPE_NOT_FOUND
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L
#endif

using PUINT = UINT*;

struct VS_FIXEDFILEINFO {
  DWORD dwSignature;
  DWORD dwStrucVersion;
  DWORD dwFileVersionMS;
  DWORD dwFileVersionLS;
  DWORD dwProductVersionMS;
  DWORD dwProductVersionLS;
  DWORD dwFileFlagsMask;
  DWORD dwFileFlags;
  DWORD dwFileOS;
  DWORD dwFileType;
  DWORD dwFileSubtype;
  DWORD dwFileDateMS;
  DWORD dwFileDateLS;
};

// The size of the file's version resource in bytes, 0 (last error set) when the file is
// missing or has none. *handle is set to 0.
DWORD GetFileVersionInfoSizeW(LPCWSTR fileName, LPDWORD handle);
// Copies the version resource (at most length bytes) into data.
BOOL GetFileVersionInfoW(LPCWSTR fileName, DWORD handle, DWORD length, LPVOID data);
// Finds a value in a version resource: "\" the VS_FIXEDFILEINFO (length in bytes),
// "\VarFileInfo\Translation" the language and code-page pairs (bytes),
// "\StringFileInfo\040904b0\CompanyName" a string (length in characters with the
// terminator). Names match without regard to case. The answer points into block.
BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, PUINT length);

inline DWORD GetFileVersionInfoSize(LPCWSTR fileName, LPDWORD handle) {
  return GetFileVersionInfoSizeW(fileName, handle);
}
inline BOOL GetFileVersionInfo(LPCWSTR fileName, DWORD handle, DWORD length, LPVOID data) {
  return GetFileVersionInfoW(fileName, handle, length, data);
}
inline BOOL VerQueryValue(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, PUINT length) {
  return VerQueryValueW(block, subBlock, buffer, length);
}
