// The definition of a Task Scheduler 2.0 task and its parts: registration information,
// principal, settings, the log-on triggers and the exec actions, each holding its own data.
#include <algorithm>

#include "oleauto.h"
#include "taskdata.h"
#include "zx/com.h"

const IID IID_ITaskDefinition = {0xF5BC8FC5, 0x536D, 0x4F77, {0xB8, 0x52, 0xFB, 0xC1, 0x35, 0x6F, 0xDE, 0xB6}};
const IID IID_IRegistrationInfo = {0x416D8B73, 0xCB41, 0x4EA1, {0x80, 0x5C, 0x9B, 0xE9, 0xA5, 0xAC, 0x4A, 0x74}};
const IID IID_IPrincipal = {0xD98D51E5, 0xC9B4, 0x496A, {0xA9, 0xC1, 0x18, 0x98, 0x02, 0x61, 0xCF, 0x0F}};
const IID IID_ITaskSettings = {0x8FD4711D, 0x2D02, 0x4C8C, {0x87, 0xE3, 0xEF, 0xF6, 0x99, 0xDE, 0x12, 0x7E}};
const IID IID_ITriggerCollection = {0x85DF5081, 0x1B24, 0x4F32, {0x87, 0x8A, 0xD9, 0xD1, 0x4D, 0xF4, 0xCB, 0x77}};
const IID IID_ITrigger = {0x09941815, 0xEA89, 0x4B5B, {0x89, 0xE0, 0x2A, 0x77, 0x38, 0x01, 0xFA, 0xC3}};
const IID IID_ILogonTrigger = {0x72DADE38, 0xFAE4, 0x4B3E, {0xBA, 0xF4, 0x5D, 0x00, 0x9A, 0xF0, 0x2B, 0x1C}};
const IID IID_IActionCollection = {0x02820E19, 0x7B98, 0x4ED2, {0xB2, 0xE8, 0xFD, 0xCC, 0xCE, 0xFF, 0x61, 0x9B}};
const IID IID_IAction = {0xBAE54997, 0x48B1, 0x4CBE, {0x99, 0x65, 0xD6, 0xBE, 0x26, 0x3E, 0xBE, 0xA4}};
const IID IID_IExecAction = {0x4C3D624D, 0xFD6B, 0x49A3, {0xB9, 0xB7, 0x09, 0xCB, 0x3C, 0xD3, 0xF0, 0x47}};

namespace zx::taskschd {
namespace {

using com::CopyToBstr;

HRESULT PutText(BSTR in, std::u16string& field) {
  field = com::TextOf(in);
  return S_OK;
}

HRESULT GetFlag(bool field, VARIANT_BOOL* out) {
  if (!out) return E_POINTER;
  *out = field ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT PutFlag(VARIANT_BOOL in, bool& field) {
  field = in != VARIANT_FALSE;
  return S_OK;
}

template <class Value>
HRESULT GetValue(Value field, Value* out) {
  if (!out) return E_POINTER;
  *out = field;
  return S_OK;
}

// An object whose interface derives from a base interface that it answers to as well.
template <class Interface, class Base>
class Derived : public com::Object<Interface> {
 public:
  Derived(REFIID iid, REFIID baseIid) : com::Object<Interface>(iid), baseIid_(baseIid) {}
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object && iid == baseIid_) {
      *object = static_cast<Base*>(this);
      this->AddRef();
      return S_OK;
    }
    return com::Object<Interface>::QueryInterface(iid, object);
  }

 private:
  const IID baseIid_;
};

class RegistrationInfo final : public com::Object<IRegistrationInfo> {
 public:
  explicit RegistrationInfo(const TaskData& task)
      : Object(IID_IRegistrationInfo), description_(task.description), author_(task.author) {}
  HRESULT get_Description(BSTR* out) override { return CopyToBstr(description_, out); }
  HRESULT put_Description(BSTR in) override { return PutText(in, description_); }
  HRESULT get_Author(BSTR* out) override { return CopyToBstr(author_, out); }
  HRESULT put_Author(BSTR in) override { return PutText(in, author_); }
  void Into(TaskData& task) const {
    task.description = description_;
    task.author = author_;
  }

 private:
  std::u16string description_, author_;
};

class Principal final : public com::Object<IPrincipal> {
 public:
  explicit Principal(const TaskData& task)
      : Object(IID_IPrincipal), userId_(task.userId), groupId_(task.groupId), logonType_(task.logonType),
        runLevel_(task.runLevel) {}
  HRESULT get_UserId(BSTR* out) override { return CopyToBstr(userId_, out); }
  HRESULT put_UserId(BSTR in) override { return PutText(in, userId_); }
  HRESULT get_GroupId(BSTR* out) override { return CopyToBstr(groupId_, out); }
  HRESULT put_GroupId(BSTR in) override { return PutText(in, groupId_); }
  HRESULT get_LogonType(TASK_LOGON_TYPE* out) override { return GetValue(logonType_, out); }
  HRESULT put_LogonType(TASK_LOGON_TYPE in) override {
    if (in < TASK_LOGON_NONE || in > TASK_LOGON_INTERACTIVE_TOKEN_OR_PASSWORD) return E_INVALIDARG;
    logonType_ = in;
    return S_OK;
  }
  HRESULT get_RunLevel(TASK_RUNLEVEL_TYPE* out) override { return GetValue(runLevel_, out); }
  HRESULT put_RunLevel(TASK_RUNLEVEL_TYPE in) override {
    if (in != TASK_RUNLEVEL_LUA && in != TASK_RUNLEVEL_HIGHEST) return E_INVALIDARG;
    runLevel_ = in;
    return S_OK;
  }
  void Into(TaskData& task) const {
    task.userId = userId_;
    task.groupId = groupId_;
    task.logonType = logonType_;
    task.runLevel = runLevel_;
  }

 private:
  std::u16string userId_, groupId_;
  TASK_LOGON_TYPE logonType_;
  TASK_RUNLEVEL_TYPE runLevel_;
};

class Settings final : public com::Object<ITaskSettings> {
 public:
  explicit Settings(const TaskData& task) : Object(IID_ITaskSettings), task_(task) {}
  HRESULT get_AllowDemandStart(VARIANT_BOOL* out) override { return GetFlag(task_.allowDemandStart, out); }
  HRESULT put_AllowDemandStart(VARIANT_BOOL in) override { return PutFlag(in, task_.allowDemandStart); }
  HRESULT get_AllowHardTerminate(VARIANT_BOOL* out) override { return GetFlag(task_.allowHardTerminate, out); }
  HRESULT put_AllowHardTerminate(VARIANT_BOOL in) override { return PutFlag(in, task_.allowHardTerminate); }
  HRESULT get_StartWhenAvailable(VARIANT_BOOL* out) override { return GetFlag(task_.startWhenAvailable, out); }
  HRESULT put_StartWhenAvailable(VARIANT_BOOL in) override { return PutFlag(in, task_.startWhenAvailable); }
  HRESULT get_ExecutionTimeLimit(BSTR* out) override { return CopyToBstr(task_.executionTimeLimit, out); }
  HRESULT put_ExecutionTimeLimit(BSTR in) override { return PutText(in, task_.executionTimeLimit); }
  HRESULT get_Enabled(VARIANT_BOOL* out) override { return GetFlag(task_.enabled, out); }
  HRESULT put_Enabled(VARIANT_BOOL in) override { return PutFlag(in, task_.enabled); }
  void Into(TaskData& task) const {
    task.allowDemandStart = task_.allowDemandStart;
    task.allowHardTerminate = task_.allowHardTerminate;
    task.startWhenAvailable = task_.startWhenAvailable;
    task.executionTimeLimit = task_.executionTimeLimit;
    task.enabled = task_.enabled;
  }

 private:
  TaskData task_;  // only the settings' fields are used
};

class LogonTrigger final : public Derived<ILogonTrigger, ITrigger> {
 public:
  explicit LogonTrigger(LogonTriggerData data) : Derived(IID_ILogonTrigger, IID_ITrigger), data_(std::move(data)) {}
  HRESULT get_Type(TASK_TRIGGER_TYPE2* out) override { return GetValue(TASK_TRIGGER_LOGON, out); }
  HRESULT get_Id(BSTR* out) override { return CopyToBstr(data_.id, out); }
  HRESULT put_Id(BSTR in) override { return PutText(in, data_.id); }
  HRESULT get_Enabled(VARIANT_BOOL* out) override { return GetFlag(data_.enabled, out); }
  HRESULT put_Enabled(VARIANT_BOOL in) override { return PutFlag(in, data_.enabled); }
  HRESULT get_Delay(BSTR* out) override { return CopyToBstr(data_.delay, out); }
  HRESULT put_Delay(BSTR in) override { return PutText(in, data_.delay); }
  HRESULT get_UserId(BSTR* out) override { return CopyToBstr(data_.userId, out); }
  HRESULT put_UserId(BSTR in) override { return PutText(in, data_.userId); }
  const LogonTriggerData& Data() const { return data_; }

 private:
  LogonTriggerData data_;
};

class ExecAction final : public Derived<IExecAction, IAction> {
 public:
  explicit ExecAction(ExecActionData data) : Derived(IID_IExecAction, IID_IAction), data_(std::move(data)) {}
  HRESULT get_Id(BSTR* out) override { return CopyToBstr(data_.id, out); }
  HRESULT put_Id(BSTR in) override { return PutText(in, data_.id); }
  HRESULT get_Type(TASK_ACTION_TYPE* out) override { return GetValue(TASK_ACTION_EXEC, out); }
  HRESULT get_Path(BSTR* out) override { return CopyToBstr(data_.path, out); }
  HRESULT put_Path(BSTR in) override { return PutText(in, data_.path); }
  HRESULT get_Arguments(BSTR* out) override { return CopyToBstr(data_.arguments, out); }
  HRESULT put_Arguments(BSTR in) override { return PutText(in, data_.arguments); }
  HRESULT get_WorkingDirectory(BSTR* out) override { return CopyToBstr(data_.workingDirectory, out); }
  HRESULT put_WorkingDirectory(BSTR in) override { return PutText(in, data_.workingDirectory); }
  const ExecActionData& Data() const { return data_; }

 private:
  ExecActionData data_;
};

// A list of items counted from 1, holding a reference on each.
template <class Interface, class Base, class Item, class Data>
class Collection : public com::Object<Interface> {
 public:
  Collection(REFIID iid, const std::vector<Data>& items) : com::Object<Interface>(iid) {
    for (const Data& data : items) items_.push_back(new Item(data));
  }
  ~Collection() override { Clear(); }
  HRESULT get_Count(LONG* count) override { return GetValue(static_cast<LONG>(items_.size()), count); }
  HRESULT get_Item(LONG index, Base** item) override {
    if (!item) return E_POINTER;
    *item = nullptr;
    if (index < 1 || static_cast<std::size_t>(index) > items_.size()) return E_INVALIDARG;
    *item = items_[static_cast<std::size_t>(index) - 1];
    (*item)->AddRef();
    return S_OK;
  }
  HRESULT Clear() override {
    for (Item* item : items_) item->Release();
    items_.clear();
    return S_OK;
  }
  std::vector<Data> Items() const {
    std::vector<Data> data;
    for (const Item* item : items_) data.push_back(item->Data());
    return data;
  }

 protected:
  // Adds a new item of the type, or answers why not.
  HRESULT Add(bool known, bool offered, Base** item) {
    if (!item) return E_POINTER;
    *item = nullptr;
    if (!known) return E_INVALIDARG;
    if (!offered) return E_NOTIMPL;
    items_.push_back(new Item(Data{}));
    *item = items_.back();
    (*item)->AddRef();
    return S_OK;
  }

 private:
  std::vector<Item*> items_;
};

class Triggers final : public Collection<ITriggerCollection, ITrigger, LogonTrigger, LogonTriggerData> {
 public:
  explicit Triggers(const TaskData& task) : Collection(IID_ITriggerCollection, task.triggers) {}
  HRESULT Create(TASK_TRIGGER_TYPE2 type, ITrigger** trigger) override {
    const bool known = (type >= TASK_TRIGGER_EVENT && type <= TASK_TRIGGER_LOGON) || type == TASK_TRIGGER_SESSION_STATE_CHANGE;
    return Add(known, type == TASK_TRIGGER_LOGON, trigger);
  }
};

class Actions final : public Collection<IActionCollection, IAction, ExecAction, ExecActionData> {
 public:
  explicit Actions(const TaskData& task) : Collection(IID_IActionCollection, task.actions) {}
  HRESULT Create(TASK_ACTION_TYPE type, IAction** action) override {
    const bool known = type == TASK_ACTION_EXEC || (type >= TASK_ACTION_COM_HANDLER && type <= TASK_ACTION_SHOW_MESSAGE);
    return Add(known, type == TASK_ACTION_EXEC, action);
  }
};

// Hands out one more reference on a part.
template <class Interface, class Part>
HRESULT HandPart(Part* part, Interface** out) {
  if (!out) return E_POINTER;
  *out = part;
  part->AddRef();
  return S_OK;
}

class Definition final : public com::Object<ITaskDefinition> {
 public:
  explicit Definition(const TaskData& task)
      : Object(IID_ITaskDefinition), info_(new RegistrationInfo(task)), principal_(new Principal(task)),
        settings_(new Settings(task)), triggers_(new Triggers(task)), actions_(new Actions(task)) {}
  ~Definition() override {
    info_->Release();
    principal_->Release();
    settings_->Release();
    triggers_->Release();
    actions_->Release();
  }
  HRESULT get_RegistrationInfo(IRegistrationInfo** out) override { return HandPart(info_, out); }
  HRESULT get_Principal(IPrincipal** out) override { return HandPart(principal_, out); }
  HRESULT get_Settings(ITaskSettings** out) override { return HandPart(settings_, out); }
  HRESULT get_Triggers(ITriggerCollection** out) override { return HandPart(triggers_, out); }
  HRESULT get_Actions(IActionCollection** out) override { return HandPart(actions_, out); }
  TaskData Data() const {
    TaskData task;
    info_->Into(task);
    principal_->Into(task);
    settings_->Into(task);
    task.triggers = triggers_->Items();
    task.actions = actions_->Items();
    return task;
  }

 private:
  RegistrationInfo* const info_;
  Principal* const principal_;
  Settings* const settings_;
  Triggers* const triggers_;
  Actions* const actions_;
};

}  // namespace

ITaskDefinition* MakeDefinition(const TaskData& task) { return new Definition(task); }

bool DefinitionData(ITaskDefinition* definition, TaskData& task) {
  const auto* ours = dynamic_cast<Definition*>(definition);
  if (!ours) return false;
  task = ours->Data();
  return true;
}

}  // namespace zx::taskschd
