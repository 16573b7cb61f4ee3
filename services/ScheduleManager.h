// Reads a Task Scheduler job's first trigger and next run time through the Task Scheduler
// 1.0 interfaces. Each object initialises COM for its thread while it lives.
#pragma once
#include <afx.h>
#include <mstask.h>
#include <windows.h>

#include "HelperApi.h"

class ZXHELPER_API NewCScheduleManager : public CObject {
  DECLARE_DYNAMIC(NewCScheduleManager)

 public:
  NewCScheduleManager();
  ~NewCScheduleManager() override;

  // Whether the Task Scheduler has a readable job of that name.
  BOOL HasJob(LPCWSTR jobName);
  // The first trigger's type (0 to 7) with the record filled; -1 when the job cannot be
  // opened, has no trigger or has a type outside 0 to 7.
  int GetTriggerType(TASK_TRIGGER* trigger, LPCWSTR jobName);
  // "%b %d, %Y %H:%M:%S hours" of the job's next run, or empty.
  CString GetNextRunTimeText(LPCWSTR jobName);

 private:
  ITask* ActivateJob(LPCWSTR jobName);

  BOOL m_bComInitialized;
};
