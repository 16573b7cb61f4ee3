// The job runner's service loop and its run by hand.
#include "jobrunner.h"

#include <algorithm>
#include <cstdio>
#include <tuple>
#include <vector>

#include "jobrecord.h"
#include "winprocess.h"
#include "zx/casefold.h"
#include "zx/processes.h"

namespace zx::taskscheduler {
namespace {

constexpr DWORD kIdleLookMs = 1000;

auto Key(const SYSTEMTIME& t) {
  return std::tuple(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}
bool Before(const SYSTEMTIME& a, const SYSTEMTIME& b) { return Key(a) < Key(b); }

std::u16string Folded(const std::u16string& text) {
  std::u16string folded(text);
  for (char16_t& c : folded) c = FoldCase(c);
  return folded;
}

// Milliseconds from a to b (both local times), 0 when b is not later.
ULONGLONG MsBetween(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  FILETIME from{}, to{};
  if (!SystemTimeToFileTime(&a, &from) || !SystemTimeToFileTime(&b, &to)) return 0;
  const ULONGLONG start = (ULONGLONG{from.dwHighDateTime} << 32) | from.dwLowDateTime;
  const ULONGLONG end = (ULONGLONG{to.dwHighDateTime} << 32) | to.dwLowDateTime;
  return end > start ? (end - start + 9999) / 10000 : 0;
}

// The first start of the job's enabled time triggers after `after`, if any.
bool FirstStartAfter(const taskschd::Job& job, const SYSTEMTIME& after, SYSTEMTIME& first) {
  bool found = false;
  for (const TASK_TRIGGER& trigger : job.triggers) {
    SYSTEMTIME next{};
    if (taskschd::NextTriggerRun(trigger, after, next) && (!found || Before(next, first))) {
      first = next;
      found = true;
    }
  }
  return found;
}

// The time a job that never ran counts its starts from: before any trigger's begin date.
SYSTEMTIME BeginningOfTime() {
  SYSTEMTIME t{};
  t.wYear = 1601;
  t.wMonth = 1;
  t.wDay = 1;
  return t;
}

}  // namespace

JobRunner::JobRunner(Report report)
    : report_(report ? std::move(report)
                     : Report([](const std::string& text) { std::fprintf(stderr, "zxtaskscheduler: %s\n", text.c_str()); })),
      folder_([this](const std::string& text) {
        failed_ = true;
        report_(text);
      }) {}

JobRunner::~JobRunner() {
  for (auto& [key, running] : running_) CloseHandle(running.process);
}

bool JobRunner::Start(const KnownJob& known, const SYSTEMTIME& now) {
  const taskschd::Job& job = known.job;
  std::u16string commandLine = u"\"" + job.applicationName + u"\"";
  if (!job.parameters.empty()) commandLine += u" " + job.parameters;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  const BOOL ok = CreateProcessW(job.applicationName.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 job.workingDirectory.empty() ? nullptr : job.workingDirectory.c_str(), &startup,
                                 &started);
  if (!ok) {
    const DWORD error = GetLastError();
    report_(process::Utf8(known.name) + ": program " + process::Utf8(job.applicationName) + " could not start (" +
            std::to_string(error) + ")");
    RecordStartFailed(known.name, now, HRESULT_FROM_WIN32(error));
    return false;
  }
  running_[Folded(known.name)] = Running{known.name, started.hProcess};
  RecordStarted(known.name, now);
  return true;
}

bool JobRunner::StartDue(const SYSTEMTIME& since, const SYSTEMTIME& now) {
  bool started = true;
  for (const auto& [host, known] : folder_.Jobs()) {
    if (!known.valid || (known.job.flags & TASK_FLAG_DISABLED) || running_.count(Folded(known.name))) continue;
    const SYSTEMTIME& after = Before(since, known.job.lastRun) ? known.job.lastRun : since;
    SYSTEMTIME first{};
    if (FirstStartAfter(known.job, after, first) && !Before(now, first)) started &= Start(known, now);
  }
  return started;
}

void JobRunner::CollectEnded() {
  for (auto it = running_.begin(); it != running_.end();) {
    DWORD exitCode = STILL_ACTIVE;
    if (WaitForSingleObject(it->second.process, 0) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(it->second.process, &exitCode)) {
      ++it;
      continue;
    }
    RecordEnded(it->second.name, exitCode);
    CloseHandle(it->second.process);
    it = running_.erase(it);
  }
}

bool JobRunner::WaitForWork(HANDLE stop, DWORD timeoutMs) {
  // The service always waits on its stop event; a run by hand only while jobs run.
  std::vector<HANDLE> handles;
  if (stop) handles.push_back(stop);
  for (const auto& [key, running] : running_) {
    if (handles.size() == MAXIMUM_WAIT_OBJECTS) break;
    handles.push_back(running.process);
  }
  const DWORD woken = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, timeoutMs);
  return stop && woken == WAIT_OBJECT_0;
}

DWORD JobRunner::UntilNextStart(const SYSTEMTIME& now, DWORD limit) const {
  ULONGLONG until = limit;
  for (const auto& [host, known] : folder_.Jobs()) {
    SYSTEMTIME first{};
    if (known.valid && !(known.job.flags & TASK_FLAG_DISABLED) && FirstStartAfter(known.job, now, first))
      until = std::min(until, MsBetween(now, first));
  }
  return static_cast<DWORD>(until);
}

void JobRunner::Serve(HANDLE stop) {
  SYSTEMTIME since{};
  GetLocalTime(&since);
  for (;;) {
    CollectEnded();
    folder_.Refresh();
    SYSTEMTIME now{};
    GetLocalTime(&now);
    // A clock set back starts afresh from the new time.
    if (!Before(now, since)) StartDue(since, now);
    since = now;
    if (WaitForWork(stop, UntilNextStart(now, kIdleLookMs))) return;
  }
}

int JobRunner::RunDueNow() {
  folder_.Refresh();
  SYSTEMTIME now{};
  GetLocalTime(&now);
  failed_ |= !StartDue(BeginningOfTime(), now);
  int started = static_cast<int>(running_.size());
  while (!running_.empty()) {
    WaitForWork(nullptr, INFINITE);
    CollectEnded();
  }
  return failed_ ? -1 : started;
}

}  // namespace zx::taskscheduler
