// The scheduler, task and trigger objects over the job files of the Tasks folder.
#include <fstream>
#include <tuple>
#include <iterator>

#include "errhandlingapi.h"
#include "objbase.h"
#include "sysinfoapi.h"
#include "zx/com.h"
#include "zx/jobfile.h"

const CLSID CLSID_CTaskScheduler = {0x148BD52A, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const IID IID_ITaskScheduler = {0x148BD527, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const IID IID_IScheduledWorkItem = {0xA6B952F0, 0xA4B1, 0x11D0, {0x99, 0x7D, 0x00, 0xAA, 0x00, 0x68, 0x87, 0xEC}};
const IID IID_ITask = {0x148BD524, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const IID IID_ITaskTrigger = {0x148BD52B, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};

namespace zx::taskschd {
namespace {

class Trigger : public com::Object<ITaskTrigger> {
 public:
  explicit Trigger(const TASK_TRIGGER& trigger) : Object(IID_ITaskTrigger), trigger_(trigger) {}
  HRESULT GetTrigger(PTASK_TRIGGER trigger) override {
    if (!trigger) return E_POINTER;
    *trigger = trigger_;
    return S_OK;
  }

 private:
  const TASK_TRIGGER trigger_;
};

HRESULT TaskText(const std::u16string& text, LPWSTR* out) {
  if (!out) return E_POINTER;
  *out = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(WCHAR)));
  if (!*out) return E_OUTOFMEMORY;
  text.copy(*out, text.size());
  (*out)[text.size()] = 0;
  return S_OK;
}

class Task : public com::Object<ITask> {
 public:
  explicit Task(Job job) : Object(IID_ITask), job_(std::move(job)) {}

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object && iid == IID_IScheduledWorkItem) {
      *object = static_cast<IScheduledWorkItem*>(this);
      AddRef();
      return S_OK;
    }
    return Object::QueryInterface(iid, object);
  }
  HRESULT GetTriggerCount(WORD* count) override {
    if (!count) return E_POINTER;
    *count = static_cast<WORD>(job_.triggers.size());
    return S_OK;
  }
  HRESULT GetTrigger(WORD index, ITaskTrigger** trigger) override {
    if (!trigger) return E_POINTER;
    *trigger = nullptr;
    if (index >= job_.triggers.size()) return SCHED_E_TRIGGER_NOT_FOUND;
    *trigger = new Trigger(job_.triggers[index]);
    return S_OK;
  }
  HRESULT GetNextRunTime(SYSTEMTIME* nextRun) override {
    if (!nextRun) return E_POINTER;
    *nextRun = SYSTEMTIME{};
    if (job_.flags & TASK_FLAG_DISABLED) return SCHED_S_TASK_DISABLED;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    bool timed = false, found = false;
    for (const TASK_TRIGGER& trigger : job_.triggers) {
      timed |= trigger.TriggerType <= TASK_TIME_TRIGGER_MONTHLYDOW;
      SYSTEMTIME next{};
      if (NextTriggerRun(trigger, now, next) && (!found || Earlier(next, *nextRun))) {
        *nextRun = next;
        found = true;
      }
    }
    if (found) return S_OK;
    return timed || job_.triggers.empty() ? SCHED_S_TASK_NO_VALID_TRIGGERS : SCHED_S_EVENT_TRIGGER;
  }
  HRESULT GetFlags(DWORD* flags) override {
    if (!flags) return E_POINTER;
    *flags = job_.flags;
    return S_OK;
  }
  HRESULT GetApplicationName(LPWSTR* name) override { return TaskText(job_.applicationName, name); }
  HRESULT GetParameters(LPWSTR* parameters) override { return TaskText(job_.parameters, parameters); }

 private:
  static bool Earlier(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    const auto key = [](const SYSTEMTIME& t) {
      return std::tuple(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
    };
    return key(a) < key(b);
  }
  const Job job_;
};

class Scheduler : public com::Object<ITaskScheduler> {
 public:
  Scheduler() : Object(IID_ITaskScheduler) {}
  HRESULT Activate(LPCWSTR name, REFIID iid, IUnknown** unknown) override {
    if (!unknown) return E_POINTER;
    *unknown = nullptr;
    std::string path;
    if (!name || !JobPath(name, path)) return E_INVALIDARG;
    std::ifstream in(path, std::ios::binary);
    if (!in) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Job job;
    const HRESULT parsed = ParseJob(bytes, job);
    if (FAILED(parsed)) return parsed;
    if (iid != IID_ITask && iid != IID_IScheduledWorkItem && iid != IID_IUnknown) return E_NOINTERFACE;
    return com::Hand<ITask>(new Task(std::move(job)), iid, reinterpret_cast<void**>(unknown));
  }
};

HRESULT CreateScheduler(REFIID iid, void** object) {
  return com::Hand<ITaskScheduler>(new Scheduler(), iid, object);
}

const bool g_registered = [] {
  com::RegisterClassFactory(CLSID_CTaskScheduler, CreateScheduler);
  return true;
}();

}  // namespace
}  // namespace zx::taskschd
