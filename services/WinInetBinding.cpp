// WinINet bound at run time for the shared library's downloader.
#include "WinInetBinding.h"

namespace {

template <class Fn>
bool Bind(HMODULE module, const char* name, Fn& entry) {
  entry = reinterpret_cast<Fn>(GetProcAddress(module, name));
  return entry != nullptr;
}

}  // namespace

CWinInet::CWinInet() : m_hModule(LoadLibraryW(_T("wininet.dll"))) {
  if (!m_hModule) return;
  m_bBound = Bind(m_hModule, "InternetGetConnectedState", pInternetGetConnectedState) &&
             Bind(m_hModule, "InternetCloseHandle", pInternetCloseHandle) &&
             Bind(m_hModule, "InternetSetStatusCallback", pInternetSetStatusCallback) &&
             Bind(m_hModule, "HttpSendRequestW", pHttpSendRequestW) &&
             Bind(m_hModule, "HttpQueryInfoW", pHttpQueryInfoW) && Bind(m_hModule, "FtpOpenFileW", pFtpOpenFileW) &&
             Bind(m_hModule, "HttpOpenRequestW", pHttpOpenRequestW) &&
             Bind(m_hModule, "InternetConnectW", pInternetConnectW) &&
             Bind(m_hModule, "InternetErrorDlg", pInternetErrorDlg) &&
             Bind(m_hModule, "InternetReadFile", pInternetReadFile) &&
             Bind(m_hModule, "InternetCrackUrlW", pInternetCrackUrlW) &&
             Bind(m_hModule, "InternetOpenW", pInternetOpenW) &&
             Bind(m_hModule, "InternetSetOptionW", pInternetSetOptionW) &&
             Bind(m_hModule, "FtpFindFirstFileW", pFtpFindFirstFileW) &&
             Bind(m_hModule, "InternetGetLastResponseInfoW", pInternetGetLastResponseInfoW);
}

CWinInet::~CWinInet() {
  if (m_hModule) FreeLibrary(m_hModule);
}

CWinInet& GetWinInet() {
  static CWinInet* binding = new CWinInet;  // lives until the process ends
  return *binding;
}

BOOL IsInternetConnected() {
  CWinInet& inet = GetWinInet();
  DWORD flags = 0;
  return inet.IsBound() && inet.pInternetGetConnectedState(&flags, 0) &&
         (flags & (INTERNET_CONNECTION_MODEM | INTERNET_CONNECTION_LAN)) != 0;
}
