// CScheduleManager: creating, triggering, reading back and deleting the scheduled-scan job.
#include "ScheduleJobManager.h"

#include <atlcomcli.h>
#include <objbase.h>

#include "HalvoranApp.h"
#include "SystemHelpers.h"

IMPLEMENT_DYNAMIC(CScheduleManager, CObject)

namespace {

constexpr DWORD kUserNameChars = 1000;

HRESULT OpenScheduler(CComPtr<ITaskScheduler>& scheduler) {
  return CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                          reinterpret_cast<void**>(&scheduler));
}

// The job of that name, or the HRESULT that says why there is none.
HRESULT OpenJob(ITaskScheduler* scheduler, LPCWSTR jobName, CComPtr<ITask>& task) {
  IUnknown* unknown = nullptr;
  const HRESULT result = scheduler->Activate(jobName, IID_ITask, &unknown);
  if (SUCCEEDED(result)) task.Attach(static_cast<ITask*>(reinterpret_cast<IScheduledWorkItem*>(unknown)));
  return result;
}

HRESULT NewJob(ITaskScheduler* scheduler, LPCWSTR jobName, CComPtr<ITask>& task) {
  IUnknown* unknown = nullptr;
  const HRESULT result = scheduler->NewWorkItem(jobName, CLSID_CTask, IID_ITask, &unknown);
  if (SUCCEEDED(result)) task.Attach(static_cast<ITask*>(reinterpret_cast<IScheduledWorkItem*>(unknown)));
  return SUCCEEDED(result) && !task ? E_FAIL : result;
}

// Writes the job to its file (no file name, remembered).
HRESULT SaveJob(ITask* task) {
  CComPtr<IPersistFile> file;
  HRESULT result = task->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (SUCCEEDED(result)) result = file->Save(nullptr, TRUE);
  return result;
}

// The program, its folder, the logged-on flag, the current user and the comment. A setter
// the Task Scheduler refuses leaves that detail as it was; the job is still written.
void DescribeJob(ITask* task, LPCWSTR comment, LPCWSTR application, LPCWSTR workingFolder) {
  WCHAR user[kUserNameChars] = {};
  DWORD userChars = kUserNameChars;
  GetUserNameW(user, &userChars);
  task->SetApplicationName(application);
  task->SetWorkingDirectory(workingFolder);
  task->SetFlags(TASK_FLAG_RUN_ONLY_IF_LOGGED_ON);
  task->SetAccountInformation(user, nullptr);
  task->SetComment(comment);
}

// Removes every trigger and adds the given one; nothing is saved here.
HRESULT PutOnlyTrigger(ITask* task, const TASK_TRIGGER& trigger) {
  WORD count = 0;
  HRESULT result = task->GetTriggerCount(&count);
  while (SUCCEEDED(result) && count != 0) result = task->DeleteTrigger(--count);
  if (FAILED(result)) return result;
  WORD index = 0;
  CComPtr<ITaskTrigger> added;
  result = task->CreateTrigger(&index, &added);
  if (SUCCEEDED(result)) result = added->SetTrigger(&trigger);
  return result;
}

bool IsEmpty(LPCWSTR text) { return text == nullptr || text[0] == 0; }

}  // namespace

CScheduleManager::CScheduleManager() = default;

CScheduleManager::~CScheduleManager() = default;

CString CScheduleManager::ScanSwitch(BOOL bAutoFix, BOOL bShutDown) {
  CString text = _T("-schedule");
  if (bAutoFix) text = _T(" -autofix");
  if (bShutDown) text = _T(" -shutdown");
  return text;
}

void CScheduleManager::SetScanChoices(BOOL bAutoFix, BOOL bShutDown) {
  m_bAutoFix = bAutoFix;
  m_bShutDown = bShutDown;
}

void CScheduleManager::SetCommandText(LPCWSTR command) { m_strCommand = command ? command : _T(""); }

CString CScheduleManager::DefaultParameters() const {
  return m_strCommand.IsEmpty() ? ScanSwitch(m_bAutoFix, m_bShutDown) : m_strCommand;
}

BOOL CScheduleManager::CreateTask(LPCWSTR jobName, LPCWSTR comment, LPCWSTR parameters, LPCWSTR application,
                                  LPCWSTR workingFolder) {
  if (!IsUserAdmin()) return FALSE;
  CComPtr<ITaskScheduler> scheduler;
  CComPtr<ITask> task;
  if (FAILED(OpenScheduler(scheduler)) || FAILED(NewJob(scheduler, jobName, task))) return FALSE;
  DescribeJob(task, comment, application, workingFolder);
  const CString words = IsEmpty(parameters) ? DefaultParameters() : CString(parameters);
  return SUCCEEDED(task->SetParameters(words)) && SUCCEEDED(SaveJob(task));
}

BOOL CScheduleManager::ReplaceTask(LPCWSTR jobName, LPCWSTR comment, LPCWSTR parameters, LPCWSTR application,
                                   LPCWSTR workingFolder, const TASK_TRIGGER& trigger) {
  if (!IsUserAdmin() || !jobName) return FALSE;
  CComPtr<ITaskScheduler> scheduler;
  CComPtr<ITask> task;
  if (FAILED(OpenScheduler(scheduler))) return FALSE;
  const HRESULT opened = OpenJob(scheduler, jobName, task);
  // A job file that cannot be read holds no schedule worth keeping; it makes way for the new.
  if (opened == SCHED_E_INVALID_TASK || opened == SCHED_E_UNKNOWN_OBJECT_VERSION) scheduler->Delete(jobName);
  if (FAILED(opened) && FAILED(NewJob(scheduler, jobName, task))) return FALSE;
  const CString words = IsEmpty(parameters) ? DefaultParameters() : CString(parameters);
  DescribeJob(task, comment, application, workingFolder);
  return SUCCEEDED(task->SetParameters(words)) && SUCCEEDED(PutOnlyTrigger(task, trigger)) && SUCCEEDED(SaveJob(task));
}

BOOL CScheduleManager::TaskExists(LPCWSTR jobName) { return m_jobs.HasJob(jobName); }

BOOL CScheduleManager::SetTaskTrigger(LPCWSTR jobName, const TASK_TRIGGER& trigger) {
  CComPtr<ITaskScheduler> scheduler;
  CComPtr<ITask> task;
  if (!jobName || FAILED(OpenScheduler(scheduler)) || FAILED(OpenJob(scheduler, jobName, task))) return FALSE;
  return SUCCEEDED(PutOnlyTrigger(task, trigger)) && SUCCEEDED(SaveJob(task));
}

int CScheduleManager::GetTaskTrigger(LPCWSTR jobName, TASK_TRIGGER& trigger, CString* parameters) {
  CComPtr<ITaskScheduler> scheduler;
  CComPtr<ITask> task;
  if (!jobName || FAILED(OpenScheduler(scheduler)) || FAILED(OpenJob(scheduler, jobName, task))) return -1;
  trigger.cbTriggerSize = sizeof(TASK_TRIGGER);
  CComPtr<ITaskTrigger> first;
  if (FAILED(task->GetTrigger(0, &first)) || !first || FAILED(first->GetTrigger(&trigger))) return -1;
  // The parameters hold the scan switch; a job whose parameters cannot be read still has its
  // trigger, and the choices read from an empty text are both off.
  LPWSTR words = nullptr;
  if (parameters) {
    parameters->Empty();
    if (SUCCEEDED(task->GetParameters(&words)) && words) *parameters = words;
    CoTaskMemFree(words);
  }
  return trigger.TriggerType <= TASK_EVENT_TRIGGER_AT_LOGON ? static_cast<int>(trigger.TriggerType) : -1;
}

int CScheduleManager::DeleteTask(LPCWSTR jobName) {
  const CString name = IsEmpty(jobName) ? GetAppName() : CString(jobName);
  CComPtr<ITaskScheduler> scheduler;
  return SUCCEEDED(OpenScheduler(scheduler)) && SUCCEEDED(scheduler->Delete(name)) ? 1 : 0;
}

CString CScheduleManager::GetNextRunTimeText(LPCWSTR jobName) { return m_jobs.GetNextRunTimeText(jobName); }
