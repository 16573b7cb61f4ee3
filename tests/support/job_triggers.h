// The triggers the tests of the scheduled-scan job give it: one start a day or week (Sunday
// and Saturday), or once, from 2000-01-01 at the given time.
#pragma once
#include <mstask.h>

namespace zx::test {

inline TASK_TRIGGER TestTrigger(TASK_TRIGGER_TYPE type, WORD hour, WORD minute) {
  TASK_TRIGGER trigger{};
  trigger.cbTriggerSize = sizeof trigger;
  trigger.TriggerType = type;
  trigger.wBeginYear = 2000;
  trigger.wBeginMonth = 1;
  trigger.wBeginDay = 1;
  trigger.wStartHour = hour;
  trigger.wStartMinute = minute;
  if (type == TASK_TIME_TRIGGER_DAILY) trigger.Type.Daily.DaysInterval = 1;
  if (type == TASK_TIME_TRIGGER_WEEKLY) {
    trigger.Type.Weekly.WeeksInterval = 1;
    trigger.Type.Weekly.rgfDaysOfTheWeek = TASK_SUNDAY | TASK_SATURDAY;
  }
  return trigger;
}

}  // namespace zx::test
