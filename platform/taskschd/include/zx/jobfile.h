// The job files of the Task Scheduler store (format in platform/taskschd/README.md): reading,
// writing, trigger checks and the next run time. Platform-internal.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "mstask.h"

namespace zx::taskschd {

struct Job {
  WORD productVersion = 0x0501;
  GUID id{};
  WORD errorRetryCount = 0;
  WORD errorRetryInterval = 0;
  WORD idleDeadline = 60;
  WORD idleWait = 10;
  DWORD priority = 0x20;  // NORMAL_PRIORITY_CLASS
  DWORD maxRunTimeMs = 259200000;
  DWORD exitCode = 0;
  HRESULT status = SCHED_S_TASK_HAS_NOT_RUN;
  DWORD flags = 0;
  SYSTEMTIME lastRun{};
  WORD runningInstances = 0;
  std::u16string applicationName, parameters, workingDirectory, author, comment;
  std::vector<std::uint8_t> userData;
  DWORD startError = 0;
  DWORD taskFlags = 0;
  std::vector<TASK_TRIGGER> triggers;
};

// Parses a job file's bytes; S_OK, or SCHED_E_INVALID_TASK for anything damaged (short,
// inconsistent offsets, strings without terminator, trigger sizes other than 48), or
// SCHED_E_UNKNOWN_OBJECT_VERSION for another file version.
HRESULT ParseJob(const std::vector<std::uint8_t>& bytes, Job& job);
// The file's bytes; none when the strings and user data do not fit the 16-bit offsets of the
// layout or there are more than 65535 triggers.
std::vector<std::uint8_t> SerializeJob(const Job& job);

// A plain file name: not empty, at most 200 characters, not . or .., none of \ / : * ? " < > |.
bool PlainName(const std::u16string& name);
// Host path of the job file of a name; false for names that are not plain file names.
bool JobPath(const std::u16string& name, std::string& hostPath);
// Host path of the Tasks folder.
std::string TasksFolder();

// Whole-file reading (false when the file cannot be opened) and writing through a temporary
// file in the same folder renamed over the target (folders made as needed), so a reader sees
// the old file or the new one, never a part. Writing answers S_OK or an HRESULT of the Win32
// error (access denied, disk full, write fault).
bool ReadWholeFile(const std::string& hostPath, std::vector<std::uint8_t>& bytes);
HRESULT WriteFileAtomically(const std::string& hostPath, const std::vector<std::uint8_t>& bytes);

// Whether ITaskTrigger::SetTrigger takes the record (see mstask.h).
bool ValidTrigger(const TASK_TRIGGER& trigger);

// The first start after `now` of one trigger (false when it never starts again or is an
// event trigger).
bool NextTriggerRun(const TASK_TRIGGER& trigger, const SYSTEMTIME& now, SYSTEMTIME& next);

}  // namespace zx::taskschd
