// CScheduleManager: the product's scheduled-scan job in the Task Scheduler 1.0, by its name:
// created with the program and its scan switch, given its one trigger, read back, described
// by its next run time and deleted. Every operation opens the Task Scheduler afresh and lets
// go of every interface before it returns; failures show only in the answers.
#pragma once
#include <afx.h>
#include <mstask.h>
#include <windows.h>

#include "ScheduleManager.h"

class CScheduleManager : public CObject {
  DECLARE_DYNAMIC(CScheduleManager)

 public:
  // Initialises COM for the calling thread while the manager lives.
  CScheduleManager();
  ~CScheduleManager() override;

  // The job's scan switch for the scheduler's auto-fix and shut-down choices: "-schedule",
  // " -autofix" or " -shutdown" (the later choice wins).
  static CString ScanSwitch(BOOL bAutoFix, BOOL bShutDown);
  // The choices CreateTask turns into the job's parameters when it is given none (both off
  // until set).
  void SetScanChoices(BOOL bAutoFix, BOOL bShutDown);
  // Parameters CreateTask uses, when it is given none, before the choices.
  void SetCommandText(LPCWSTR command);

  // A new job (administrators only) running the application in the working folder with the
  // parameters, flagged to run only while the user is logged on, without a trigger; false when
  // it could not be created or saved (also when a job of that name exists).
  BOOL CreateTask(LPCWSTR jobName, LPCWSTR comment, LPCWSTR parameters, LPCWSTR application,
                  LPCWSTR workingFolder);
  // Creates the job, or changes the existing one in place, with exactly this trigger, and
  // writes it in one save: until that save succeeds the old job stays as it was, so a trigger
  // the Task Scheduler refuses, a user who is not an administrator or a failed write lose
  // nothing. A job file that cannot be read is replaced.
  BOOL ReplaceTask(LPCWSTR jobName, LPCWSTR comment, LPCWSTR parameters, LPCWSTR application,
                   LPCWSTR workingFolder, const TASK_TRIGGER& trigger);
  BOOL TaskExists(LPCWSTR jobName);
  // The job's triggers become exactly this one, in one save; a refused trigger leaves the
  // job as it was.
  BOOL SetTaskTrigger(LPCWSTR jobName, const TASK_TRIGGER& trigger);
  // The first trigger's type (0 to 7) with the record filled (cbTriggerSize 48) and, when
  // asked for, the job's parameters; -1 when the job or its first trigger cannot be read, the
  // type is out of range, or the Task Scheduler cannot be reached.
  int GetTaskTrigger(LPCWSTR jobName, TASK_TRIGGER& trigger, CString* parameters = nullptr);
  // 1 when the job was deleted, else 0; an empty name is the program's own job (its
  // application name).
  int DeleteTask(LPCWSTR jobName);
  // "%b %d, %Y %H:%M:%S hours" of the next run, or empty.
  CString GetNextRunTimeText(LPCWSTR jobName);

 private:
  // The parameters CreateTask writes when it is given none.
  CString DefaultParameters() const;

  NewCScheduleManager m_jobs;  // the read side; it holds this thread's COM
  CString m_strCommand;
  BOOL m_bAutoFix = FALSE;
  BOOL m_bShutDown = FALSE;
};
