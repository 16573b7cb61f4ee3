// The Task Scheduler 1.0 interfaces: the scheduler (CLSID_CTaskScheduler, ITaskScheduler),
// its tasks (ITask) and their triggers (ITaskTrigger, TASK_TRIGGER). Jobs are the files
// "<name>.job" of the machine's C:\Windows\Tasks folder. Times are local times.
#pragma once
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

#define TASK_FLAG_DISABLED 0x4

// Statuses of the scheduler.
#define SCHED_S_TASK_DISABLED (static_cast<HRESULT>(0x00041302))
#define SCHED_S_TASK_HAS_NOT_RUN (static_cast<HRESULT>(0x00041303))
#define SCHED_S_TASK_NO_VALID_TRIGGERS (static_cast<HRESULT>(0x00041307))
#define SCHED_S_EVENT_TRIGGER (static_cast<HRESULT>(0x00041308))
#define SCHED_E_TRIGGER_NOT_FOUND (static_cast<HRESULT>(0x80041309))
#define SCHED_E_INVALID_TASK (static_cast<HRESULT>(0x8004130E))
#define SCHED_E_UNKNOWN_OBJECT_VERSION (static_cast<HRESULT>(0x80041313))

extern const CLSID CLSID_CTaskScheduler;  // {148BD52A-A2AB-11CE-B11F-00AA00530503}
extern const IID IID_ITaskScheduler;      // {148BD527-A2AB-11CE-B11F-00AA00530503}
extern const IID IID_IScheduledWorkItem;  // {A6B952F0-A4B1-11D0-997D-00AA006887EC}
extern const IID IID_ITask;               // {148BD524-A2AB-11CE-B11F-00AA00530503}
extern const IID IID_ITaskTrigger;        // {148BD52B-A2AB-11CE-B11F-00AA00530503}

struct ITaskTrigger : IUnknown {
  virtual HRESULT GetTrigger(PTASK_TRIGGER trigger) = 0;
};

struct IScheduledWorkItem : IUnknown {
  virtual HRESULT GetTriggerCount(WORD* count) = 0;
  // SCHED_E_TRIGGER_NOT_FOUND for an index beyond the job's triggers.
  virtual HRESULT GetTrigger(WORD index, ITaskTrigger** trigger) = 0;
  // The next start after now over the enabled triggers, S_OK; or a zeroed time with
  // SCHED_S_TASK_DISABLED, SCHED_S_TASK_NO_VALID_TRIGGERS (none that will start again) or
  // SCHED_S_EVENT_TRIGGER (only idle, start-up and log-on triggers).
  virtual HRESULT GetNextRunTime(SYSTEMTIME* nextRun) = 0;
  virtual HRESULT GetFlags(DWORD* flags) = 0;
};

struct ITask : IScheduledWorkItem {
  // The strings are task memory (CoTaskMemFree).
  virtual HRESULT GetApplicationName(LPWSTR* applicationName) = 0;
  virtual HRESULT GetParameters(LPWSTR* parameters) = 0;
};

struct ITaskScheduler : IUnknown {
  // The job "<name>.job" of the Tasks folder, read at once. HRESULT_FROM_WIN32
  // (ERROR_FILE_NOT_FOUND) when there is none, E_INVALIDARG for a name that is not a plain
  // file name, SCHED_E_INVALID_TASK or SCHED_E_UNKNOWN_OBJECT_VERSION for a damaged file.
  virtual HRESULT Activate(LPCWSTR name, REFIID iid, IUnknown** unknown) = 0;
};
