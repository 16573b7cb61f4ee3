// DeleteStartupTasks and DeleteStartupRunValues: the main program's start at log-on removed,
// as a Task Scheduler 2.0 log-on task and as a Run value.
#include <atlcomcli.h>
#include <oleauto.h>
#include <taskschd.h>
#include <winreg.h>

#include "CleanupSupport.h"
#include "InstallHelper.h"

namespace {

constexpr LPCTSTR kRunKeyPath = _T("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
constexpr LPCTSTR kRunValueName = _T("ZEPHRINKXTunevo");

// A text handed to the Task Scheduler, freed at the end of its scope.
class CTaskText {
 public:
  explicit CTaskText(LPCTSTR text) : m_text(SysAllocString(text)) {}
  ~CTaskText() { SysFreeString(m_text); }
  CTaskText(const CTaskText&) = delete;
  CTaskText& operator=(const CTaskText&) = delete;
  operator BSTR() const { return m_text; }

 private:
  BSTR m_text;
};

// The Run value deleted from one root; a missing key or value counts as deleted.
bool DeleteRunValue(HKEY root) {
  HKEY run = nullptr;
  const LONG opened = RegOpenKeyExW(root, kRunKeyPath, 0, KEY_SET_VALUE, &run);
  if (opened == ERROR_FILE_NOT_FOUND) return true;
  if (opened != ERROR_SUCCESS) return false;
  const LONG deleted = RegDeleteValueW(run, kRunValueName);
  RegCloseKey(run);
  return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

}  // namespace

BOOL DeleteStartupTasks() {
  CComScope com;
  CComPtr<ITaskService> service;
  if (FAILED(CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                              reinterpret_cast<void**>(&service))))
    return FALSE;
  VARIANT empty;
  VariantInit(&empty);
  CComPtr<ITaskFolder> root;
  const CTaskText rootPath(_T("\\"));
  if (FAILED(service->Connect(empty, empty, empty, empty)) || FAILED(service->GetFolder(rootPath, &root)))
    return FALSE;
  // The log-on task: "<display name> RunAtStartup" without its blanks, as the main program
  // registers it, and with them, as earlier helpers named it.
  const CString spacedLogonTask = CString(kProductDisplayName) + _T(" RunAtStartup");
  CString logonTask = spacedLogonTask;
  logonTask.Remove(_T(' '));
  // Each deletion is best effort: what it answers changes nothing.
  for (const CString& name : {logonTask, spacedLogonTask, CString(kProductDisplayName)}) {
    const CTaskText task(name);
    root->DeleteTask(task, 0);
  }
  return FALSE;
}

BOOL DeleteStartupRunValues() {
  const bool machine = DeleteRunValue(HKEY_LOCAL_MACHINE);
  const bool user = DeleteRunValue(HKEY_CURRENT_USER);
  return machine && user;
}
