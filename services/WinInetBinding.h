// WinINet bound at run time: "wininet.dll" loaded once for the process and the entry points
// the shared library's downloader uses, taken by name. Every call tests its binding first.
#pragma once
#include <windows.h>
#include <wininet.h>

#include "HelperApi.h"

class ZXHELPER_API CWinInet {
 public:
  CWinInet();
  ~CWinInet();
  CWinInet(const CWinInet&) = delete;
  CWinInet& operator=(const CWinInet&) = delete;

  // True when the library loaded and every entry point was found.
  BOOL IsBound() const { return m_bBound; }

  decltype(&::InternetGetConnectedState) pInternetGetConnectedState = nullptr;
  decltype(&::InternetCloseHandle) pInternetCloseHandle = nullptr;
  decltype(&::InternetSetStatusCallback) pInternetSetStatusCallback = nullptr;
  decltype(&::HttpSendRequestW) pHttpSendRequestW = nullptr;
  decltype(&::HttpQueryInfoW) pHttpQueryInfoW = nullptr;
  decltype(&::FtpOpenFileW) pFtpOpenFileW = nullptr;
  decltype(&::HttpOpenRequestW) pHttpOpenRequestW = nullptr;
  decltype(&::InternetConnectW) pInternetConnectW = nullptr;
  decltype(&::InternetErrorDlg) pInternetErrorDlg = nullptr;
  decltype(&::InternetReadFile) pInternetReadFile = nullptr;
  decltype(&::InternetCrackUrlW) pInternetCrackUrlW = nullptr;
  decltype(&::InternetOpenW) pInternetOpenW = nullptr;
  decltype(&::InternetSetOptionW) pInternetSetOptionW = nullptr;
  decltype(&::FtpFindFirstFileW) pFtpFindFirstFileW = nullptr;
  decltype(&::InternetGetLastResponseInfoW) pInternetGetLastResponseInfoW = nullptr;

 private:
  HMODULE m_hModule = nullptr;
  BOOL m_bBound = FALSE;
};

// The one binding of the process.
ZXHELPER_API CWinInet& GetWinInet();
// InternetGetConnectedState through the binding: true with a modem or LAN connection.
ZXHELPER_API BOOL IsInternetConnected();
