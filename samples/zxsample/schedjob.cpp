// The scan job through Task Scheduler 1.0 (mstask.h) and its job file.
#include "schedjob.h"

#include <mstask.h>
#include <objbase.h>
#include <objidl.h>
#include <winsvc.h>
#include <winusername.h>

#include <cstdio>
#include <vector>

#include "zx/jobfile.h"

namespace zxsample {
namespace {

// COM for the calls of one function.
struct ComScope {
  ComScope() : ok(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
  ~ComScope() {
    if (ok) CoUninitialize();
  }
  bool ok;
};

template <typename T>
struct Released {
  ~Released() {
    if (p != nullptr) p->Release();
  }
  T* p = nullptr;
};

// Sets the reason of a refusal; always false.
bool Refused(std::string& reason, const char* what, HRESULT result) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(result));
  reason = std::string(what) + " (" + code + ")";
  return false;
}

}  // namespace

bool WriteScanJob(const std::u16string& program, const std::u16string& parameters, std::string& reason) {
  const ComScope com;
  Released<ITaskScheduler> scheduler;
  HRESULT result = CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                                    reinterpret_cast<void**>(&scheduler.p));
  if (FAILED(result)) return Refused(reason, "no Task Scheduler", result);
  scheduler.p->Delete(kProductJobName);
  Released<IUnknown> unknown;
  result = scheduler.p->NewWorkItem(kProductJobName, CLSID_CTask, IID_ITask, &unknown.p);
  if (FAILED(result)) return Refused(reason, "no new job", result);
  ITask* task = static_cast<ITask*>(unknown.p);
  const std::u16string folder = program.substr(0, program.find_last_of(u'\\') + 1);
  char16_t user[256] = {};
  DWORD userChars = 256;
  GetUserNameW(user, &userChars);
  WORD index = 0;
  Released<ITaskTrigger> trigger;
  Released<IPersistFile> file;
  const HRESULT steps[] = {task->SetApplicationName(program.c_str()),
                           task->SetWorkingDirectory(folder.c_str()),
                           task->SetParameters(parameters.c_str()),
                           task->SetFlags(TASK_FLAG_RUN_ONLY_IF_LOGGED_ON),
                           task->SetAccountInformation(user, nullptr),
                           task->CreateTrigger(&index, &trigger.p),
                           task->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p))};
  for (HRESULT step : steps)
    if (FAILED(step)) return Refused(reason, "the job was refused", step);
  result = file.p->Save(nullptr, TRUE);
  if (FAILED(result)) return Refused(reason, "the job was not saved", result);
  return true;
}

bool ReadJobRun(JobRun& run) {
  std::string path;
  std::vector<std::uint8_t> bytes;
  zx::taskschd::Job job;
  if (!zx::taskschd::JobPath(kProductJobName, path) || !zx::taskschd::ReadWholeFile(path, bytes) ||
      zx::taskschd::ParseJob(bytes, job) != S_OK)
    return false;
  run.ran = job.status != SCHED_S_TASK_HAS_NOT_RUN && job.lastRun.wYear != 0;
  char time[8];
  std::snprintf(time, sizeof time, "%02u:%02u", job.lastRun.wHour % 100u, job.lastRun.wMinute % 100u);
  run.time = time;
  run.exitCode = job.exitCode;
  run.application = job.applicationName;
  run.parameters = job.parameters;
  return true;
}

bool StopTaskSchedulerService() {
  const SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (manager == nullptr) return true;
  bool stopped = true;
  if (const SC_HANDLE service = OpenServiceW(manager, u"Schedule", SERVICE_STOP | SERVICE_QUERY_STATUS)) {
    SERVICE_STATUS status{};
    if (QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED)
      stopped = ControlService(service, SERVICE_CONTROL_STOP, &status) != FALSE;
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return stopped;
}

}  // namespace zxsample
