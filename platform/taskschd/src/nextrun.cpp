// The next start of a trigger (the first day on or after today that the trigger's schedule
// names, within its begin and end dates, at its start time or a repetition of it) and the
// checks a trigger record passes before a task takes it.
#include <chrono>

#include "zx/jobfile.h"

namespace zx::taskschd {
namespace {

using namespace std::chrono;

constexpr int kSearchDays = 366 * 4 + 31;

bool ValidDate(WORD y, WORD m, WORD d) {
  return year_month_day{year{y}, month{m}, day{d}}.ok();
}

sys_days DayOf(WORD y, WORD m, WORD d) {
  return sys_days{year_month_day{year{y}, month{m}, day{d}}};
}

// Does the trigger's schedule name this day (begin and end dates aside)?
bool NamesDay(const TASK_TRIGGER& trigger, sys_days when, sys_days begin) {
  const year_month_day date{when};
  const unsigned dayOfWeek = weekday{when}.c_encoding();  // 0 Sunday
  const unsigned monthBit = 1u << (static_cast<unsigned>(date.month()) - 1);
  switch (trigger.TriggerType) {
    case TASK_TIME_TRIGGER_ONCE:
      return when == begin;
    case TASK_TIME_TRIGGER_DAILY: {
      const WORD every = trigger.Type.Daily.DaysInterval;
      return every != 0 && (when - begin).count() % every == 0;
    }
    case TASK_TIME_TRIGGER_WEEKLY: {
      const WORD every = trigger.Type.Weekly.WeeksInterval;
      if (every == 0 || !(trigger.Type.Weekly.rgfDaysOfTheWeek & (1u << dayOfWeek))) return false;
      const sys_days weekOfBegin = begin - days{weekday{begin}.c_encoding()};
      const sys_days weekOfDay = when - days{dayOfWeek};
      return ((weekOfDay - weekOfBegin).count() / 7) % every == 0;
    }
    case TASK_TIME_TRIGGER_MONTHLYDATE:
      return (trigger.Type.MonthlyDate.rgfMonths & monthBit) &&
             (trigger.Type.MonthlyDate.rgfDays & (1u << (static_cast<unsigned>(date.day()) - 1)));
    case TASK_TIME_TRIGGER_MONTHLYDOW: {
      const MONTHLYDOW& dow = trigger.Type.MonthlyDOW;
      if (!(dow.rgfMonths & monthBit) || !(dow.rgfDaysOfTheWeek & (1u << dayOfWeek))) return false;
      const unsigned week = (static_cast<unsigned>(date.day()) - 1) / 7 + 1;
      if (dow.wWhichWeek == TASK_LAST_WEEK)
        return !year_month_day{when + days{7}}.ok() ||
               year_month_day{when + days{7}}.month() != date.month();
      return week == dow.wWhichWeek;
    }
    default:
      return false;
  }
}

long long MinutesOf(sys_days when, unsigned hour, unsigned minute) {
  return duration_cast<minutes>(when.time_since_epoch()).count() + hour * 60 + minute;
}

SYSTEMTIME TimeOf(long long totalMinutes) {
  const sys_days when{days{static_cast<int>((totalMinutes >= 0 ? totalMinutes : totalMinutes - 1439) / 1440)}};
  const long long inDay = totalMinutes - duration_cast<minutes>(when.time_since_epoch()).count();
  const year_month_day date{when};
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(static_cast<int>(date.year()));
  time.wMonth = static_cast<WORD>(static_cast<unsigned>(date.month()));
  time.wDay = static_cast<WORD>(static_cast<unsigned>(date.day()));
  time.wDayOfWeek = static_cast<WORD>(weekday{when}.c_encoding());
  time.wHour = static_cast<WORD>(inDay / 60);
  time.wMinute = static_cast<WORD>(inDay % 60);
  return time;
}

}  // namespace

bool NextTriggerRun(const TASK_TRIGGER& trigger, const SYSTEMTIME& now, SYSTEMTIME& next) {
  if (trigger.TriggerType > TASK_TIME_TRIGGER_MONTHLYDOW || (trigger.rgFlags & TASK_TRIGGER_FLAG_DISABLED) ||
      !ValidDate(trigger.wBeginYear, trigger.wBeginMonth, trigger.wBeginDay) ||
      trigger.wStartHour > 23 || trigger.wStartMinute > 59 || !ValidDate(now.wYear, now.wMonth, now.wDay))
    return false;
  const bool hasEnd = trigger.rgFlags & TASK_TRIGGER_FLAG_HAS_END_DATE;
  if (hasEnd && !ValidDate(trigger.wEndYear, trigger.wEndMonth, trigger.wEndDay)) return false;
  const sys_days begin = DayOf(trigger.wBeginYear, trigger.wBeginMonth, trigger.wBeginDay);
  const sys_days today = DayOf(now.wYear, now.wMonth, now.wDay);
  // Starts fall on whole minutes: one in now's minute is not after now, the next minute's is.
  const long long nowMinutes = MinutesOf(today, now.wHour, now.wMinute);
  // Repetitions of a day's start run through the previous day's window too.
  const sys_days first = std::max(begin, today - days{1});
  for (sys_days when = first; when < first + days{kSearchDays}; when += days{1}) {
    if (hasEnd && when > DayOf(trigger.wEndYear, trigger.wEndMonth, trigger.wEndDay)) return false;
    if (!NamesDay(trigger, when, begin)) continue;
    const long long start = MinutesOf(when, trigger.wStartHour, trigger.wStartMinute);
    long long candidate = start;
    if (candidate <= nowMinutes && trigger.MinutesInterval != 0 && trigger.MinutesDuration != 0) {
      const long long steps = (nowMinutes - start) / trigger.MinutesInterval + 1;
      candidate = start + steps * trigger.MinutesInterval;
      if (candidate - start >= trigger.MinutesDuration) continue;
    }
    if (candidate > nowMinutes) {
      next = TimeOf(candidate);
      return true;
    }
  }
  return false;
}

bool ValidTrigger(const TASK_TRIGGER& trigger) {
  if (trigger.cbTriggerSize != sizeof trigger || trigger.TriggerType > TASK_EVENT_TRIGGER_AT_LOGON ||
      !ValidDate(trigger.wBeginYear, trigger.wBeginMonth, trigger.wBeginDay) || trigger.wStartHour > 23 ||
      trigger.wStartMinute > 59 || (trigger.MinutesInterval != 0 && trigger.MinutesInterval >= trigger.MinutesDuration))
    return false;
  if (trigger.rgFlags & TASK_TRIGGER_FLAG_HAS_END_DATE) {
    if (!ValidDate(trigger.wEndYear, trigger.wEndMonth, trigger.wEndDay) ||
        DayOf(trigger.wEndYear, trigger.wEndMonth, trigger.wEndDay) <
            DayOf(trigger.wBeginYear, trigger.wBeginMonth, trigger.wBeginDay))
      return false;
  }
  constexpr unsigned kAllDays = 0x7F, kAllMonths = 0xFFF;
  switch (trigger.TriggerType) {
    case TASK_TIME_TRIGGER_DAILY:
      return trigger.Type.Daily.DaysInterval != 0;
    case TASK_TIME_TRIGGER_WEEKLY:
      return trigger.Type.Weekly.WeeksInterval != 0 && trigger.Type.Weekly.rgfDaysOfTheWeek != 0 &&
             (trigger.Type.Weekly.rgfDaysOfTheWeek & ~kAllDays) == 0;
    case TASK_TIME_TRIGGER_MONTHLYDATE:
      return trigger.Type.MonthlyDate.rgfDays != 0 && (trigger.Type.MonthlyDate.rgfDays >> 31) == 0 &&
             trigger.Type.MonthlyDate.rgfMonths != 0 && (trigger.Type.MonthlyDate.rgfMonths & ~kAllMonths) == 0;
    case TASK_TIME_TRIGGER_MONTHLYDOW:
      return trigger.Type.MonthlyDOW.wWhichWeek >= TASK_FIRST_WEEK && trigger.Type.MonthlyDOW.wWhichWeek <= TASK_LAST_WEEK &&
             trigger.Type.MonthlyDOW.rgfDaysOfTheWeek != 0 && (trigger.Type.MonthlyDOW.rgfDaysOfTheWeek & ~kAllDays) == 0 &&
             trigger.Type.MonthlyDOW.rgfMonths != 0 && (trigger.Type.MonthlyDOW.rgfMonths & ~kAllMonths) == 0;
    default:
      return true;
  }
}

}  // namespace zx::taskschd
