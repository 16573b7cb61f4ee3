// URL download: fetches a web address into a file through the WinINet layer (wininet.h), with
// its proxy settings, host routes and time-outs. The file appears whole or not at all.
#pragma once
#include "wintypes.h"

struct IUnknown;
struct IBindStatusCallback;
using LPUNKNOWN = IUnknown*;
using LPBINDSTATUSCALLBACK = IBindStatusCallback*;

#define INET_E_INVALID_URL (static_cast<HRESULT>(0x800C0002u))
#define INET_E_NO_SESSION (static_cast<HRESULT>(0x800C0003u))
#define INET_E_CANNOT_CONNECT (static_cast<HRESULT>(0x800C0004u))
#define INET_E_RESOURCE_NOT_FOUND (static_cast<HRESULT>(0x800C0005u))
#define INET_E_OBJECT_NOT_FOUND (static_cast<HRESULT>(0x800C0006u))
#define INET_E_DOWNLOAD_FAILURE (static_cast<HRESULT>(0x800C0008u))

// HTTP and HTTPS addresses, following redirects. S_OK when the server answered 200 and the
// whole body reached fileName (a Windows path; an existing file is replaced). Failures:
// INET_E_INVALID_URL (unparsable address or a scheme other than http/https),
// INET_E_RESOURCE_NOT_FOUND (host name unknown), INET_E_CANNOT_CONNECT,
// INET_E_OBJECT_NOT_FOUND (404), INET_E_DOWNLOAD_FAILURE (other answers, time-outs, cut
// transfers), or the file error as HRESULT_FROM_WIN32. Progress callbacks are not offered: a
// non-null callback answers E_NOTIMPL.
extern "C" HRESULT URLDownloadToFileW(LPUNKNOWN caller, LPCWSTR url, LPCWSTR fileName, DWORD reserved,
                           LPBINDSTATUSCALLBACK callback);
