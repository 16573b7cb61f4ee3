// The Task Scheduler 1.0 interfaces: the scheduler (CLSID_CTaskScheduler, ITaskScheduler),
// its tasks (ITask) and their triggers (ITaskTrigger, TASK_TRIGGER). Jobs are the files
// "<name>.job" of the machine's C:\Windows\Tasks folder. Times are local times.
#pragma once
#include "objidl.h"
#include "unknwn.h"
#include "wintypes.h"

enum TASK_TRIGGER_TYPE : DWORD {
  TASK_TIME_TRIGGER_ONCE = 0,
  TASK_TIME_TRIGGER_DAILY = 1,
  TASK_TIME_TRIGGER_WEEKLY = 2,
  TASK_TIME_TRIGGER_MONTHLYDATE = 3,
  TASK_TIME_TRIGGER_MONTHLYDOW = 4,
  TASK_EVENT_TRIGGER_ON_IDLE = 5,
  TASK_EVENT_TRIGGER_AT_SYSTEMSTART = 6,
  TASK_EVENT_TRIGGER_AT_LOGON = 7,
};

struct DAILY {
  WORD DaysInterval;
};
struct WEEKLY {
  WORD WeeksInterval;
  WORD rgfDaysOfTheWeek;
};
struct MONTHLYDATE {
  DWORD rgfDays;  // bit 0 is the first day of the month
  WORD rgfMonths;
};
struct MONTHLYDOW {
  WORD wWhichWeek;  // TASK_FIRST_WEEK .. TASK_LAST_WEEK
  WORD rgfDaysOfTheWeek;
  WORD rgfMonths;
};
union TRIGGER_TYPE_UNION {
  DAILY Daily;
  WEEKLY Weekly;
  MONTHLYDATE MonthlyDate;
  MONTHLYDOW MonthlyDOW;
};

// 48 bytes, little-endian, as stored in a job file.
struct TASK_TRIGGER {
  WORD cbTriggerSize;  // sizeof(TASK_TRIGGER)
  WORD Reserved1;
  WORD wBeginYear;
  WORD wBeginMonth;
  WORD wBeginDay;
  WORD wEndYear;
  WORD wEndMonth;
  WORD wEndDay;
  WORD wStartHour;
  WORD wStartMinute;
  DWORD MinutesDuration;
  DWORD MinutesInterval;
  DWORD rgFlags;
  TASK_TRIGGER_TYPE TriggerType;
  TRIGGER_TYPE_UNION Type;
  WORD Reserved2;
  WORD wRandomMinutesInterval;
};
using PTASK_TRIGGER = TASK_TRIGGER*;
static_assert(sizeof(TASK_TRIGGER) == 48);

#define TASK_TRIGGER_FLAG_HAS_END_DATE 0x1
#define TASK_TRIGGER_FLAG_KILL_AT_DURATION_END 0x2
#define TASK_TRIGGER_FLAG_DISABLED 0x4

#define TASK_SUNDAY 0x1
#define TASK_MONDAY 0x2
#define TASK_TUESDAY 0x4
#define TASK_WEDNESDAY 0x8
#define TASK_THURSDAY 0x10
#define TASK_FRIDAY 0x20
#define TASK_SATURDAY 0x40
#define TASK_FIRST_WEEK 1
#define TASK_SECOND_WEEK 2
#define TASK_THIRD_WEEK 3
#define TASK_FOURTH_WEEK 4
#define TASK_LAST_WEEK 5
#define TASK_JANUARY 0x1
#define TASK_DECEMBER 0x800

// Job flags (ITask::SetFlags).
#define TASK_FLAG_INTERACTIVE 0x1
#define TASK_FLAG_DELETE_WHEN_DONE 0x2
#define TASK_FLAG_DISABLED 0x4
#define TASK_FLAG_START_ONLY_IF_IDLE 0x10
#define TASK_FLAG_KILL_ON_IDLE_END 0x20
#define TASK_FLAG_DONT_START_IF_ON_BATTERIES 0x40
#define TASK_FLAG_KILL_IF_GOING_ON_BATTERIES 0x80
#define TASK_FLAG_RUN_ONLY_IF_DOCKED 0x100
#define TASK_FLAG_HIDDEN 0x200
#define TASK_FLAG_RUN_IF_CONNECTED_TO_INTERNET 0x400
#define TASK_FLAG_RESTART_ON_IDLE_RESUME 0x800
#define TASK_FLAG_SYSTEM_REQUIRED 0x1000
#define TASK_FLAG_RUN_ONLY_IF_LOGGED_ON 0x2000

// Statuses and errors of the scheduler.
#define SCHED_S_TASK_READY (static_cast<HRESULT>(0x00041300))
#define SCHED_S_TASK_RUNNING (static_cast<HRESULT>(0x00041301))
#define SCHED_S_TASK_DISABLED (static_cast<HRESULT>(0x00041302))
#define SCHED_S_TASK_HAS_NOT_RUN (static_cast<HRESULT>(0x00041303))
#define SCHED_S_TASK_NO_MORE_RUNS (static_cast<HRESULT>(0x00041304))
#define SCHED_S_TASK_NOT_SCHEDULED (static_cast<HRESULT>(0x00041305))
#define SCHED_S_TASK_TERMINATED (static_cast<HRESULT>(0x00041306))
#define SCHED_S_TASK_NO_VALID_TRIGGERS (static_cast<HRESULT>(0x00041307))
#define SCHED_S_EVENT_TRIGGER (static_cast<HRESULT>(0x00041308))
#define SCHED_E_TRIGGER_NOT_FOUND (static_cast<HRESULT>(0x80041309))
#define SCHED_E_TASK_NOT_READY (static_cast<HRESULT>(0x8004130A))
#define SCHED_E_TASK_NOT_RUNNING (static_cast<HRESULT>(0x8004130B))
#define SCHED_E_SERVICE_NOT_INSTALLED (static_cast<HRESULT>(0x8004130C))
#define SCHED_E_CANNOT_OPEN_TASK (static_cast<HRESULT>(0x8004130D))
#define SCHED_E_INVALID_TASK (static_cast<HRESULT>(0x8004130E))
#define SCHED_E_ACCOUNT_INFORMATION_NOT_SET (static_cast<HRESULT>(0x8004130F))
#define SCHED_E_ACCOUNT_NAME_NOT_FOUND (static_cast<HRESULT>(0x80041310))
#define SCHED_E_ACCOUNT_DBASE_CORRUPT (static_cast<HRESULT>(0x80041311))
#define SCHED_E_NO_SECURITY_SERVICES (static_cast<HRESULT>(0x80041312))
#define SCHED_E_UNKNOWN_OBJECT_VERSION (static_cast<HRESULT>(0x80041313))

extern const CLSID CLSID_CTaskScheduler;  // {148BD52A-A2AB-11CE-B11F-00AA00530503}
extern const CLSID CLSID_CTask;           // {148BD520-A2AB-11CE-B11F-00AA00530503}
extern const IID IID_ITaskScheduler;      // {148BD527-A2AB-11CE-B11F-00AA00530503}
extern const IID IID_IEnumWorkItems;      // {148BD528-A2AB-11CE-B11F-00AA00530503}
extern const IID IID_IScheduledWorkItem;  // {A6B952F0-A4B1-11D0-997D-00AA006887EC}
extern const IID IID_ITask;               // {148BD524-A2AB-11CE-B11F-00AA00530503}
extern const IID IID_ITaskTrigger;        // {148BD52B-A2AB-11CE-B11F-00AA00530503}

// One trigger of a task; changes reach the file with the task's IPersistFile::Save.
struct ITaskTrigger : IUnknown {
  // E_INVALIDARG for a record whose size is not 48, whose type is not 0 to 7, whose dates or
  // start time are not valid, whose interval is not shorter than its duration or whose type
  // fields name no day (a zero day interval, week interval or day mask).
  virtual HRESULT SetTrigger(const TASK_TRIGGER* trigger) = 0;
  virtual HRESULT GetTrigger(PTASK_TRIGGER trigger) = 0;
};

struct IScheduledWorkItem : IUnknown {
  // A new trigger at the end of the list: once, today, at the present hour and minute.
  virtual HRESULT CreateTrigger(WORD* newIndex, ITaskTrigger** trigger) = 0;
  virtual HRESULT DeleteTrigger(WORD index) = 0;
  virtual HRESULT GetTriggerCount(WORD* count) = 0;
  // SCHED_E_TRIGGER_NOT_FOUND for an index beyond the job's triggers.
  virtual HRESULT GetTrigger(WORD index, ITaskTrigger** trigger) = 0;
  // The next start after now over the enabled triggers, S_OK; or a zeroed time with
  // SCHED_S_TASK_DISABLED, SCHED_S_TASK_NO_VALID_TRIGGERS (none that will start again) or
  // SCHED_S_EVENT_TRIGGER (only idle, start-up and log-on triggers).
  virtual HRESULT GetNextRunTime(SYSTEMTIME* nextRun) = 0;
  virtual HRESULT SetComment(LPCWSTR comment) = 0;
  virtual HRESULT GetComment(LPWSTR* comment) = 0;
  virtual HRESULT SetCreator(LPCWSTR creator) = 0;
  virtual HRESULT GetCreator(LPWSTR* creator) = 0;
  virtual HRESULT SetFlags(DWORD flags) = 0;
  virtual HRESULT GetFlags(DWORD* flags) = 0;
  // The account the job runs under. A null password is taken only with
  // TASK_FLAG_RUN_ONLY_IF_LOGGED_ON set (else E_INVALIDARG). The account is kept by the object,
  // not in the job file: a job read back answers SCHED_E_ACCOUNT_INFORMATION_NOT_SET.
  virtual HRESULT SetAccountInformation(LPCWSTR accountName, LPCWSTR password) = 0;
  virtual HRESULT GetAccountInformation(LPWSTR* accountName) = 0;
};

// The strings a task hands out are task memory (CoTaskMemFree); setters take null as
// E_INVALIDARG.
struct ITask : IScheduledWorkItem {
  virtual HRESULT SetApplicationName(LPCWSTR applicationName) = 0;
  virtual HRESULT GetApplicationName(LPWSTR* applicationName) = 0;
  virtual HRESULT SetParameters(LPCWSTR parameters) = 0;
  virtual HRESULT GetParameters(LPWSTR* parameters) = 0;
  virtual HRESULT SetWorkingDirectory(LPCWSTR workingDirectory) = 0;
  virtual HRESULT GetWorkingDirectory(LPWSTR* workingDirectory) = 0;
  // A priority class: 0x20 normal, 0x40 idle, 0x80 high, 0x100 real time (else E_INVALIDARG).
  virtual HRESULT SetPriority(DWORD priority) = 0;
  virtual HRESULT GetPriority(DWORD* priority) = 0;
  virtual HRESULT SetMaxRunTime(DWORD maxRunTimeMs) = 0;
  virtual HRESULT GetMaxRunTime(DWORD* maxRunTimeMs) = 0;
};

// The names of the jobs of the Tasks folder ("<name>.job"), as they stood when Enum ran.
struct IEnumWorkItems : IUnknown {
  // Up to count names in a task-memory array of task-memory strings (the array null when none
  // is left); S_OK when count names came, else S_FALSE.
  virtual HRESULT Next(ULONG count, LPWSTR** names, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumWorkItems** copy) = 0;
};

// Names are plain file names (no \ / : * ? " < > |, not . or .., at most 200 characters;
// else E_INVALIDARG), looked up without regard to case.
struct ITaskScheduler : IUnknown {
  virtual HRESULT Enum(IEnumWorkItems** items) = 0;
  // The job "<name>.job" of the Tasks folder, read at once. HRESULT_FROM_WIN32
  // (ERROR_FILE_NOT_FOUND) when there is none, SCHED_E_INVALID_TASK or
  // SCHED_E_UNKNOWN_OBJECT_VERSION for a damaged file. The task offers IPersistFile.
  virtual HRESULT Activate(LPCWSTR name, REFIID iid, IUnknown** unknown) = 0;
  // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when there is no such job.
  virtual HRESULT Delete(LPCWSTR name) = 0;
  // A new task (CLSID_CTask, IID_ITask) of that name, written only by its IPersistFile::Save;
  // HRESULT_FROM_WIN32(ERROR_FILE_EXISTS) when a job of that name exists.
  virtual HRESULT NewWorkItem(LPCWSTR name, REFCLSID clsid, REFIID iid, IUnknown** unknown) = 0;
};
