// NewCScheduleManager: the first trigger and the next run time of a scheduled job.
#include "ScheduleManager.h"

#include <atltime.h>
#include <objbase.h>

IMPLEMENT_DYNAMIC(NewCScheduleManager, CObject)

// Only a successful CoInitialize (S_OK or S_FALSE) is undone at destruction.
NewCScheduleManager::NewCScheduleManager() : m_bComInitialized(SUCCEEDED(CoInitialize(nullptr))) {}

NewCScheduleManager::~NewCScheduleManager() {
  if (m_bComInitialized) CoUninitialize();
}

ITask* NewCScheduleManager::ActivateJob(LPCWSTR jobName) {
  ITaskScheduler* scheduler = nullptr;
  if (FAILED(CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                              reinterpret_cast<void**>(&scheduler))))
    return nullptr;
  IUnknown* unknown = nullptr;
  const HRESULT activated = scheduler->Activate(jobName, IID_ITask, &unknown);
  scheduler->Release();
  return SUCCEEDED(activated) ? static_cast<ITask*>(reinterpret_cast<IScheduledWorkItem*>(unknown)) : nullptr;
}

BOOL NewCScheduleManager::HasJob(LPCWSTR jobName) {
  ITask* task = jobName ? ActivateJob(jobName) : nullptr;
  if (!task) return FALSE;
  task->Release();
  return TRUE;
}

int NewCScheduleManager::GetTriggerType(TASK_TRIGGER* trigger, LPCWSTR jobName) {
  if (!trigger || !jobName) return -1;
  ITask* task = ActivateJob(jobName);
  if (!task) return -1;
  trigger->cbTriggerSize = sizeof(TASK_TRIGGER);
  ITaskTrigger* first = nullptr;
  HRESULT result = task->GetTrigger(0, &first);
  if (SUCCEEDED(result)) {
    result = first->GetTrigger(trigger);
    first->Release();
  }
  task->Release();
  if (FAILED(result) || trigger->TriggerType > TASK_EVENT_TRIGGER_AT_LOGON) return -1;
  return static_cast<int>(trigger->TriggerType);
}

CString NewCScheduleManager::GetNextRunTimeText(LPCWSTR jobName) {
  CString text;
  if (!jobName) return text;
  ITask* task = ActivateJob(jobName);
  if (!task) return text;
  WORD count = 0;
  SYSTEMTIME next{};
  if (SUCCEEDED(task->GetTriggerCount(&count)) && count != 0 && SUCCEEDED(task->GetNextRunTime(&next)) &&
      next.wYear != 0 && next.wMonth != 0 && next.wDay != 0)
    text = CTime(next).Format(_T("%b %d, %Y %H:%M:%S")) + _T(" hours");
  task->Release();
  return text;
}
