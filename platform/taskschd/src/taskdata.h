// The tasks of the Task Scheduler 2.0 as data: their text file, where it lives, and the
// definition objects made from and read into that data. Platform-internal.
#pragma once
#include <string>
#include <vector>

#include "taskschd.h"

namespace zx::taskschd {

struct LogonTriggerData {
  std::u16string id, delay, userId;
  bool enabled = true;
};

struct ExecActionData {
  std::u16string id, path, arguments, workingDirectory;
};

struct TaskData {
  std::u16string author, description;
  std::u16string userId, groupId;
  TASK_LOGON_TYPE logonType = TASK_LOGON_NONE;
  TASK_RUNLEVEL_TYPE runLevel = TASK_RUNLEVEL_LUA;
  bool allowDemandStart = true, allowHardTerminate = true, startWhenAvailable = false, enabled = true;
  std::u16string executionTimeLimit = u"PT72H";
  std::vector<LogonTriggerData> triggers;
  std::vector<ExecActionData> actions;
};

// The task file's text (UTF-8 lines, format in README.md) and back; parsing answers false for
// anything that is not exactly that format.
std::string FormatTask(const TaskData& task);
bool ParseTask(const std::string& text, TaskData& task);

// The task name of a path ("name" or "\name") and the host path of its file; false for a path
// whose name is not a plain file name.
bool TaskPath(const std::u16string& path, std::u16string& name, std::string& hostPath);

// A new definition (ITaskDefinition, one reference) over a copy of the data.
ITaskDefinition* MakeDefinition(const TaskData& task);
// The data of a definition that MakeDefinition made; false for any other object.
bool DefinitionData(ITaskDefinition* definition, TaskData& task);

}  // namespace zx::taskschd
