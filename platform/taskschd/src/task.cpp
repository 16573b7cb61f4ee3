// The task and trigger objects: a job held in memory, changed by the setters and the
// triggers, written to its job file by IPersistFile::Save.
#include "task.h"

#include <tuple>

#include "objbase.h"
#include "sysinfoapi.h"
#include "zx/casefold.h"
#include "zx/com.h"
#include "zx/pathmap.h"

const CLSID CLSID_CTask = {0x148BD520, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const IID IID_IScheduledWorkItem = {0xA6B952F0, 0xA4B1, 0x11D0, {0x99, 0x7D, 0x00, 0xAA, 0x00, 0x68, 0x87, 0xEC}};
const IID IID_ITask = {0x148BD524, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const IID IID_ITaskTrigger = {0x148BD52B, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};

namespace zx::taskschd {
namespace {

bool Earlier(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  const auto key = [](const SYSTEMTIME& t) { return std::tuple(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute); };
  return key(a) < key(b);
}

bool ValidPriority(DWORD priority) {
  return priority == 0x20 || priority == 0x40 || priority == 0x80 || priority == 0x100;
}

class Task final : public com::Object<ITask>, public IPersistFile {
 public:
  Task(Job job, std::u16string name) : Object(IID_ITask), job_(std::move(job)), name_(std::move(name)) {}

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IScheduledWorkItem) {
      *object = static_cast<IScheduledWorkItem*>(this);
    } else if (iid == IID_IPersistFile || iid == IID_IPersist) {
      *object = static_cast<IPersistFile*>(this);
    } else {
      return Object::QueryInterface(iid, object);
    }
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return Object::AddRef(); }
  ULONG Release() override { return Object::Release(); }

  // Triggers.
  HRESULT CreateTrigger(WORD* newIndex, ITaskTrigger** trigger) override;
  HRESULT DeleteTrigger(WORD index) override {
    if (index >= job_.triggers.size()) return SCHED_E_TRIGGER_NOT_FOUND;
    job_.triggers.erase(job_.triggers.begin() + index);
    dirty_ = true;
    return S_OK;
  }
  HRESULT GetTriggerCount(WORD* count) override {
    if (!count) return E_INVALIDARG;
    *count = static_cast<WORD>(job_.triggers.size());
    return S_OK;
  }
  HRESULT GetTrigger(WORD index, ITaskTrigger** trigger) override;
  HRESULT SetTriggerAt(WORD index, const TASK_TRIGGER* trigger) {
    if (!trigger || !ValidTrigger(*trigger)) return E_INVALIDARG;
    if (index >= job_.triggers.size()) return SCHED_E_TRIGGER_NOT_FOUND;
    job_.triggers[index] = *trigger;
    dirty_ = true;
    return S_OK;
  }
  HRESULT GetTriggerAt(WORD index, PTASK_TRIGGER trigger) const {
    if (!trigger) return E_INVALIDARG;
    if (index >= job_.triggers.size()) return SCHED_E_TRIGGER_NOT_FOUND;
    *trigger = job_.triggers[index];
    return S_OK;
  }
  HRESULT GetNextRunTime(SYSTEMTIME* nextRun) override {
    if (!nextRun) return E_INVALIDARG;
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

  // Texts and numbers of the job.
  HRESULT SetComment(LPCWSTR text) override { return Set(text, job_.comment); }
  HRESULT GetComment(LPWSTR* text) override { return TaskText(job_.comment, text); }
  HRESULT SetCreator(LPCWSTR text) override { return Set(text, job_.author); }
  HRESULT GetCreator(LPWSTR* text) override { return TaskText(job_.author, text); }
  HRESULT SetApplicationName(LPCWSTR text) override { return Set(text, job_.applicationName); }
  HRESULT GetApplicationName(LPWSTR* text) override { return TaskText(job_.applicationName, text); }
  HRESULT SetParameters(LPCWSTR text) override { return Set(text, job_.parameters); }
  HRESULT GetParameters(LPWSTR* text) override { return TaskText(job_.parameters, text); }
  HRESULT SetWorkingDirectory(LPCWSTR text) override { return Set(text, job_.workingDirectory); }
  HRESULT GetWorkingDirectory(LPWSTR* text) override { return TaskText(job_.workingDirectory, text); }
  HRESULT SetFlags(DWORD flags) override { return Set(flags, job_.flags); }
  HRESULT GetFlags(DWORD* flags) override { return Get(job_.flags, flags); }
  HRESULT SetMaxRunTime(DWORD ms) override { return Set(ms, job_.maxRunTimeMs); }
  HRESULT GetMaxRunTime(DWORD* ms) override { return Get(job_.maxRunTimeMs, ms); }
  HRESULT SetPriority(DWORD priority) override {
    return ValidPriority(priority) ? Set(priority, job_.priority) : E_INVALIDARG;
  }
  HRESULT GetPriority(DWORD* priority) override { return Get(job_.priority, priority); }
  HRESULT SetAccountInformation(LPCWSTR account, LPCWSTR password) override {
    if (!account || (!password && !(job_.flags & TASK_FLAG_RUN_ONLY_IF_LOGGED_ON))) return E_INVALIDARG;
    account_ = account;
    accountSet_ = true;
    return S_OK;
  }
  HRESULT GetAccountInformation(LPWSTR* account) override {
    if (!account) return E_INVALIDARG;
    *account = nullptr;
    return accountSet_ ? TaskText(account_, account) : SCHED_E_ACCOUNT_INFORMATION_NOT_SET;
  }

  // The job file.
  HRESULT GetClassID(CLSID* clsid) override {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_CTask;
    return S_OK;
  }
  HRESULT IsDirty() override { return dirty_ ? S_OK : S_FALSE; }
  HRESULT Load(LPCOLESTR, DWORD) override { return E_NOTIMPL; }
  // Only to the job's own file (a null name or one that maps to it; else E_INVALIDARG).
  HRESULT Save(LPCOLESTR fileName, BOOL remember) override {
    std::string own, other;
    if (!JobPath(name_, own)) return E_INVALIDARG;
    if (fileName && (!path::WindowsToHost(fileName, other) ||
                     !EqualNoCase(path::HostToWindows(other).c_str(), path::HostToWindows(own).c_str())))
      return E_INVALIDARG;
    const std::vector<std::uint8_t> bytes = SerializeJob(job_);
    if (bytes.empty()) return E_INVALIDARG;
    const HRESULT written = WriteFileAtomically(own, bytes);
    if (SUCCEEDED(written) && remember) dirty_ = false;
    return written;
  }
  HRESULT SaveCompleted(LPCOLESTR) override { return S_OK; }
  HRESULT GetCurFile(LPOLESTR* fileName) override {
    if (!fileName) return E_POINTER;
    *fileName = nullptr;
    std::string own;
    if (!JobPath(name_, own)) return E_INVALIDARG;
    return TaskText(path::HostToWindows(own), fileName);
  }

 private:
  HRESULT Set(LPCWSTR text, std::u16string& field) {
    if (!text) return E_INVALIDARG;
    field = text;
    dirty_ = true;
    return S_OK;
  }
  HRESULT Set(DWORD value, DWORD& field) {
    field = value;
    dirty_ = true;
    return S_OK;
  }
  static HRESULT Get(DWORD field, DWORD* value) {
    if (!value) return E_INVALIDARG;
    *value = field;
    return S_OK;
  }

  Job job_;
  const std::u16string name_;
  std::u16string account_;
  bool accountSet_ = false;
  bool dirty_ = false;
};

// One trigger of a task, by its index; holds the task alive.
class Trigger final : public com::Object<ITaskTrigger> {
 public:
  Trigger(Task* task, WORD index) : Object(IID_ITaskTrigger), task_(task), index_(index) { task_->AddRef(); }
  ~Trigger() override { task_->Release(); }
  HRESULT SetTrigger(const TASK_TRIGGER* trigger) override { return task_->SetTriggerAt(index_, trigger); }
  HRESULT GetTrigger(PTASK_TRIGGER trigger) override { return task_->GetTriggerAt(index_, trigger); }

 private:
  Task* const task_;
  const WORD index_;
};

HRESULT Task::CreateTrigger(WORD* newIndex, ITaskTrigger** trigger) {
  if (!newIndex || !trigger) return E_INVALIDARG;
  *trigger = nullptr;
  if (job_.triggers.size() >= 0xFFFF) return E_OUTOFMEMORY;
  SYSTEMTIME now{};
  GetLocalTime(&now);
  TASK_TRIGGER created{};
  created.cbTriggerSize = sizeof created;
  created.wBeginYear = now.wYear;
  created.wBeginMonth = now.wMonth;
  created.wBeginDay = now.wDay;
  created.wStartHour = now.wHour;
  created.wStartMinute = now.wMinute;
  created.TriggerType = TASK_TIME_TRIGGER_ONCE;
  job_.triggers.push_back(created);
  dirty_ = true;
  *newIndex = static_cast<WORD>(job_.triggers.size() - 1);
  *trigger = new Trigger(this, *newIndex);
  return S_OK;
}

HRESULT Task::GetTrigger(WORD index, ITaskTrigger** trigger) {
  if (!trigger) return E_INVALIDARG;
  *trigger = nullptr;
  if (index >= job_.triggers.size()) return SCHED_E_TRIGGER_NOT_FOUND;
  *trigger = new Trigger(this, index);
  return S_OK;
}

}  // namespace

HRESULT TaskText(const std::u16string& text, LPWSTR* out) {
  if (!out) return E_INVALIDARG;
  *out = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(WCHAR)));
  if (!*out) return E_OUTOFMEMORY;
  text.copy(*out, text.size());
  (*out)[text.size()] = 0;
  return S_OK;
}

HRESULT MakeTask(Job job, std::u16string name, REFIID iid, void** object) {
  auto* task = new Task(std::move(job), std::move(name));
  const HRESULT result = task->QueryInterface(iid, object);
  task->Release();
  return result;
}

}  // namespace zx::taskschd
