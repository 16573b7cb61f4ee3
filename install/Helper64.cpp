// The 64-bit hand-off: the helper program Wexor64.exe installs an INF for the engine and
// reports back through three registry values, which the engine reads and deletes.
#include <shellapi.h>
#include <shlwapi.h>
#include <winreg.h>
#include <winuser.h>

#include "DriverInstallEngine.h"

namespace {

// The predefined key a root name stands for; null for any other name.
HKEY RootKey(const CString& rootName) {
  if (rootName == _T("HKEY_CURRENT_USER")) return HKEY_CURRENT_USER;
  if (rootName == _T("HKEY_LOCAL_MACHINE")) return HKEY_LOCAL_MACHINE;
  return nullptr;
}

// Closes a registry key when it goes out of scope.
struct OpenKey {
  ~OpenKey() {
    if (key != nullptr) RegCloseKey(key);
  }
  HKEY key = nullptr;
};

// Closes a process handle when it goes out of scope.
struct ProcessHandle {
  ~ProcessHandle() {
    if (handle != nullptr) CloseHandle(handle);
  }
  HANDLE handle = nullptr;
};

}  // namespace

CString CDriverInstallEngine::GetHelper64Path(const CString& toolFolder) {
  CString folder = toolFolder;
  folder.TrimRight(_T('\\'));
  const int slash = folder.ReverseFind(_T('\\'));
  if (slash >= 0) folder = folder.Left(slash);
  return folder + _T("\\amd64Helper\\Wexor64.exe");
}

bool CDriverInstallEngine::RunHelper64(const CString& toolFolder, const CString& hardwareId, const CString& infPath,
                                       const CString& rootName, const CString& keyPath, const CString& successName,
                                       const CString& pnpErrorName, const CString& difxErrorName) {
  if (toolFolder.IsEmpty() || hardwareId.IsEmpty() || infPath.IsEmpty()) return false;
  for (const CString* name : {&successName, &pnpErrorName, &difxErrorName})
    DeleteHelperResultValue(rootName, keyPath, *name);
  const CString helper = GetHelper64Path(toolFolder);
  CString parameters;
  parameters.Format(_T("\"%s\" \"%s\" \"%s\" \"%s\" \"%s\" \"%s\" \"%s\""), hardwareId.GetString(), infPath.GetString(),
                    rootName.GetString(), keyPath.GetString(), successName.GetString(), pnpErrorName.GetString(),
                    difxErrorName.GetString());
  Sleep(10);
  if (!PathFileExistsW(helper)) return false;

  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  execute.lpFile = helper;
  execute.lpParameters = parameters;
  execute.nShow = SW_HIDE;
  // A helper that cannot start installed nothing.
  if (!ShellExecuteExW(&execute) || execute.hProcess == nullptr) return false;
  ProcessHandle process{execute.hProcess};
  // A helper that has not ended in time is taken as failed; the engine does not wait longer.
  if (WaitForSingleObject(process.handle, kHelperWaitMs) != WAIT_OBJECT_0) return false;
  return ReadHelperResultDword(rootName, keyPath, successName) != 0;
}

DWORD CDriverInstallEngine::ReadHelperResultDword(const CString& rootName, const CString& keyPath,
                                                  const CString& valueName) {
  const HKEY root = RootKey(rootName);
  OpenKey opened;
  if (root == nullptr || RegOpenKeyExW(root, keyPath, 0, KEY_READ, &opened.key) != ERROR_SUCCESS) return 0;
  WCHAR text[64] = {};
  DWORD type = 0, size = sizeof text - sizeof(WCHAR);
  if (RegQueryValueExW(opened.key, valueName, nullptr, &type, reinterpret_cast<LPBYTE>(text), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return 0;
  DWORD value = 0;
  const WCHAR* c = text;
  while (*c == u' ' || *c == u'\t') ++c;
  for (; *c >= u'0' && *c <= u'9'; ++c) value = value * 10 + static_cast<DWORD>(*c - u'0');
  return value;
}

bool CDriverInstallEngine::DeleteHelperResultValue(const CString& rootName, const CString& keyPath,
                                                   const CString& valueName) {
  const HKEY root = RootKey(rootName);
  if (root == nullptr) return false;
  OpenKey opened;
  if (RegOpenKeyExW(root, keyPath, 0, KEY_READ | KEY_WRITE, &opened.key) != ERROR_SUCCESS) return true;
  RegDeleteValueW(opened.key, valueName);
  return true;
}
