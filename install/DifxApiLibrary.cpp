// CDifxApiLibrary: binding "difxapi.dll" by name and installing or pre-installing an INF
// through it, with a log callback that discards what it hears.
#include "DifxApiLibrary.h"

namespace {

void DifxLogCallback(DIFXAPI_LOG, DWORD, LPCWSTR, PVOID) {}

}  // namespace

CDifxApiLibrary::CDifxApiLibrary() : CDifxApiLibrary(_T("difxapi.dll")) {}

CDifxApiLibrary::CDifxApiLibrary(LPCTSTR libraryName) {
  m_hModule = LoadLibraryW(libraryName);
  if (m_hModule == nullptr) return;
  m_nLoaded = 1;
  m_pfnInstall = reinterpret_cast<InstallFn>(GetProcAddress(m_hModule, "DriverPackageInstallW"));
  m_pfnPreinstall = reinterpret_cast<PreinstallFn>(GetProcAddress(m_hModule, "DriverPackagePreinstallW"));
  m_pfnSetLogCallback = reinterpret_cast<SetLogCallbackFn>(GetProcAddress(m_hModule, "DIFXAPISetLogCallbackW"));
}

CDifxApiLibrary::~CDifxApiLibrary() {
  if (m_hModule != nullptr) FreeLibrary(m_hModule);
}

void CDifxApiLibrary::CopyInfPath(LPCTSTR infPath, WCHAR (&buffer)[kMaxInfPath + 1]) {
  for (WCHAR& c : buffer) c = 0;
  for (int i = 0; infPath != nullptr && i < kMaxInfPath && infPath[i] != 0; ++i) buffer[i] = infPath[i];
}

DWORD CDifxApiLibrary::BindingError(bool entryPointBound) const {
  if (!m_nLoaded) return ERROR_MOD_NOT_FOUND;
  return entryPointBound ? ERROR_SUCCESS : ERROR_PROC_NOT_FOUND;
}

DWORD CDifxApiLibrary::InstallInf(LPCTSTR infPath) {
  WCHAR path[kMaxInfPath + 1];
  CopyInfPath(infPath, path);
  if (const DWORD error = BindingError(m_pfnInstall != nullptr)) return error;
  try {
    if (m_pfnSetLogCallback != nullptr) m_pfnSetLogCallback(DifxLogCallback, nullptr);
    m_bNeedReboot = FALSE;
    const DWORD result = m_pfnInstall(path, 0, nullptr, &m_bNeedReboot);
    if (m_pfnSetLogCallback != nullptr) m_pfnSetLogCallback(nullptr, nullptr);
    return result;
  } catch (...) {
    return ERROR_GEN_FAILURE;
  }
}

DWORD CDifxApiLibrary::PreinstallInf(LPCTSTR infPath) {
  WCHAR path[kMaxInfPath + 1];
  CopyInfPath(infPath, path);
  if (const DWORD error = BindingError(m_pfnPreinstall != nullptr)) return error;
  try {
    return m_pfnPreinstall(path, DRIVER_PACKAGE_LEGACY_MODE);
  } catch (...) {
    return ERROR_PROC_NOT_FOUND;
  }
}
