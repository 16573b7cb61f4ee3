// The log-on task through the Task Scheduler 2.0 interfaces, and the Run values.
#include "RunAtStartup.h"

#include <atlcomcli.h>
#include <objbase.h>
#include <oleauto.h>
#include <taskschd.h>

#include "HalvoranApp.h"
#include "OSVersionInfo.h"
#include "ProcessControl.h"
#include "RegKeyAccess.h"

namespace {

// A BSTR owned for one call.
class CallText {
 public:
  explicit CallText(LPCTSTR text) : text_(SysAllocString(text)) {}
  ~CallText() { SysFreeString(text_); }
  CallText(const CallText&) = delete;
  CallText& operator=(const CallText&) = delete;
  operator BSTR() const { return text_; }  // NOLINT: passed as the call's BSTR

 private:
  BSTR text_;
};

VARIANT EmptyVariant() {
  VARIANT value;
  VariantInit(&value);
  return value;
}

// The local Task Scheduler, connected; null when it cannot be reached.
CComPtr<ITaskService> ConnectService() {
  CComPtr<ITaskService> service;
  if (FAILED(CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                              reinterpret_cast<void**>(&service))) ||
      FAILED(service->Connect(EmptyVariant(), EmptyVariant(), EmptyVariant(), EmptyVariant())))
    service.Release();
  return service;
}

CComPtr<ITaskFolder> RootFolder(ITaskService* service) {
  CComPtr<ITaskFolder> folder;
  if (service) service->GetFolder(CallText(_T("\\")), &folder);
  return folder;
}

CString StartupTaskName() { return BuildStartupTaskName(GetAppName()); }

// Highest run level, the author, no time limit, demand start, hard terminate, start when
// available.
bool DescribeTask(ITaskDefinition* definition) {
  CComPtr<IPrincipal> principal;
  CComPtr<IRegistrationInfo> info;
  CComPtr<ITaskSettings> settings;
  return SUCCEEDED(definition->get_Principal(&principal)) &&
         SUCCEEDED(principal->put_RunLevel(TASK_RUNLEVEL_HIGHEST)) &&
         SUCCEEDED(definition->get_RegistrationInfo(&info)) && SUCCEEDED(info->put_Author(CallText(_T("Zephrin")))) &&
         SUCCEEDED(definition->get_Settings(&settings)) &&
         SUCCEEDED(settings->put_ExecutionTimeLimit(CallText(_T("PT0S")))) &&
         SUCCEEDED(settings->put_AllowDemandStart(VARIANT_TRUE)) &&
         SUCCEEDED(settings->put_AllowHardTerminate(VARIANT_TRUE)) &&
         SUCCEEDED(settings->put_StartWhenAvailable(VARIANT_TRUE));
}

// A log-on trigger 5 seconds late, named after the task.
bool AddLogonTrigger(ITaskDefinition* definition, const CString& taskName) {
  CComPtr<ITriggerCollection> triggers;
  CComPtr<ITrigger> trigger;
  CComPtr<ILogonTrigger> logon;
  return SUCCEEDED(definition->get_Triggers(&triggers)) && SUCCEEDED(triggers->Create(TASK_TRIGGER_LOGON, &trigger)) &&
         SUCCEEDED(trigger.QueryInterface(IID_ILogonTrigger, &logon)) &&
         SUCCEEDED(logon->put_Delay(CallText(_T("PT5S")))) && SUCCEEDED(logon->put_Id(CallText(taskName)));
}

// The program with " -schedule".
bool AddProgramAction(ITaskDefinition* definition) {
  CComPtr<IActionCollection> actions;
  CComPtr<IAction> action;
  CComPtr<IExecAction> exec;
  return SUCCEEDED(definition->get_Actions(&actions)) && SUCCEEDED(actions->Create(TASK_ACTION_EXEC, &action)) &&
         SUCCEEDED(action.QueryInterface(IID_IExecAction, &exec)) &&
         SUCCEEDED(exec->put_Path(CallText(GetProgramFilePath()))) &&
         SUCCEEDED(exec->put_Arguments(CallText(_T(" -schedule"))));
}

// Opens (creating when missing) the Run key of a root and deletes the program's value.
void DeleteRunValue(HKEY root) {
  CRegKeyAccess key(root);
  if (key.Open(root, kRunKeyPath, true)) key.DeleteValue(kRunValueName);
}

bool WriteRunValue(HKEY root, LPCTSTR format) {
  CRegKeyAccess key(root);
  if (!key.Open(root, kRunKeyPath, true)) return false;
  CString command;
  command.Format(format, GetProgramFilePath().GetString());
  key.WriteString(kRunValueName, command);
  return true;
}

}  // namespace

CString BuildStartupTaskName(const CString& appName) {
  CString name;
  name.Format(_T("%s RunAtStartup"), appName.GetString());
  name.Remove(_T(' '));
  return name;
}

BOOL CreateStartupTask() {
  const CComPtr<ITaskService> service = ConnectService();
  const CComPtr<ITaskFolder> folder = RootFolder(service);
  if (!folder) return FALSE;
  const CString taskName = StartupTaskName();
  folder->DeleteTask(CallText(taskName), 0);
  CComPtr<ITaskDefinition> definition;
  if (FAILED(service->NewTask(0, &definition)) || !DescribeTask(definition) ||
      !AddLogonTrigger(definition, taskName) || !AddProgramAction(definition))
    return FALSE;
  VARIANT users = EmptyVariant();
  users.vt = VT_BSTR;
  users.bstrVal = SysAllocString(_T("S-1-5-32-545"));  // the built-in Users group
  CComPtr<IRegisteredTask> registered;
  const HRESULT result = folder->RegisterTaskDefinition(CallText(taskName), definition, TASK_CREATE_OR_UPDATE, users,
                                                        EmptyVariant(), TASK_LOGON_GROUP, EmptyVariant(), &registered);
  VariantClear(&users);
  return SUCCEEDED(result) ? TRUE : FALSE;
}

void DeleteStartupTask() {
  const CComPtr<ITaskFolder> folder = RootFolder(ConnectService());
  if (folder) folder->DeleteTask(CallText(StartupTaskName()), 0);
}

void ApplyRunAtStartup(bool runAtStartup, DWORD osMajor) {
  if (osMajor >= 6) {
    if (runAtStartup) {
      CreateStartupTask();
    } else {
      DeleteStartupTask();
    }
    return;
  }
  DeleteRunValue(HKEY_LOCAL_MACHINE);
  DeleteRunValue(HKEY_CURRENT_USER);
  if (runAtStartup && !WriteRunValue(HKEY_LOCAL_MACHINE, _T("\"%s\" /schedule")))
    WriteRunValue(HKEY_CURRENT_USER, _T("\"%s\" /autorun /schedule"));
}

BOOL SetRunAtStartup(bool runAtStartup) {
  ApplyRunAtStartup(runAtStartup, GetOSMajorVersion());
  return TRUE;
}
