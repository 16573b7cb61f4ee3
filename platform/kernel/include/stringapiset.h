// Code-page conversions. The "ANSI" code page is Windows-1252, fixed, for every narrow
// conversion (CP_ACP, CP_THREAD_ACP and 1252 all mean it); CP_UTF8 is UTF-8.
#pragma once
#include "wintypes.h"

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_THREAD_ACP 3
#define CP_UTF8 65001
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_NO_BEST_FIT_CHARS 0x00000400

// Same contract as Win32: cbMultiByte/cchWideChar -1 means zero-terminated (the terminator
// is converted and counted); a zero output size asks for the size needed.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int cbMultiByte,
                        LPWSTR wideChar, int cchWideChar);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wideChar, int cchWideChar,
                        LPSTR multiByte, int cbMultiByte, LPCSTR defaultChar, LPBOOL usedDefaultChar);
