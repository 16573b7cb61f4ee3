// CDifxApiLibrary: the Driver Install Frameworks library ("difxapi.dll") bound by name at
// run time, and the package installs the engine makes through it.
#pragma once
#include <afx.h>
#include <difxapi.h>

class CDifxApiLibrary {
 public:
  // At most this many characters of an INF path reach the library.
  static constexpr int kMaxInfPath = 260;

  // Loads "difxapi.dll" and binds its three entry points (each null when missing).
  CDifxApiLibrary();
  // The same over another library of that name (a library lacking the entry points binds
  // none of them).
  explicit CDifxApiLibrary(LPCTSTR libraryName);
  ~CDifxApiLibrary();
  CDifxApiLibrary(const CDifxApiLibrary&) = delete;
  CDifxApiLibrary& operator=(const CDifxApiLibrary&) = delete;

  bool IsLoaded() const { return m_nLoaded != 0; }
  // DriverPackageInstallW (flags 0) with the log callback set around it: its result, 0 on
  // success; ERROR_MOD_NOT_FOUND without the library, ERROR_PROC_NOT_FOUND without the entry
  // point, ERROR_GEN_FAILURE when an exception was caught.
  DWORD InstallInf(LPCTSTR infPath);
  // DriverPackagePreinstallW in legacy mode: its result; ERROR_MOD_NOT_FOUND without the
  // library, ERROR_PROC_NOT_FOUND without the entry point.
  DWORD PreinstallInf(LPCTSTR infPath);
  // The restart flag the last install set.
  BOOL NeedsRestart() const { return m_bNeedReboot; }

 private:
  using InstallFn = DWORD (*)(LPCWSTR, DWORD, PINSTALLERINFO_W, BOOL*);
  using PreinstallFn = DWORD (*)(LPCWSTR, DWORD);
  using SetLogCallbackFn = void (*)(DIFXAPILOGCALLBACK_W, PVOID);

  // The INF path as the library gets it: at most kMaxInfPath characters, terminated.
  // ERROR_MOD_NOT_FOUND when the library is not loaded, ERROR_PROC_NOT_FOUND when the entry
  // point is not bound, else ERROR_SUCCESS.
  DWORD BindingError(bool entryPointBound) const;
  static void CopyInfPath(LPCTSTR infPath, WCHAR (&buffer)[kMaxInfPath + 1]);

  int m_nLoaded = 0;
  HMODULE m_hModule = nullptr;
  InstallFn m_pfnInstall = nullptr;
  PreinstallFn m_pfnPreinstall = nullptr;
  SetLogCallbackFn m_pfnSetLogCallback = nullptr;
  BOOL m_bNeedReboot = FALSE;
};
