// The Task Scheduler 2.0 service over the task files of the machine's
// C:\Windows\System32\Tasks folder: connecting, the root folder, registering, reading back and
// deleting tasks.
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "oleauto.h"
#include "taskdata.h"
#include "zx/com.h"
#include "zx/jobfile.h"

const CLSID CLSID_TaskScheduler = {0x0F87369F, 0xA4E5, 0x4CFC, {0xBD, 0x3E, 0x73, 0xE6, 0x15, 0x45, 0x72, 0xDD}};
const IID IID_ITaskService = {0x2FABA4C7, 0x4DA9, 0x4013, {0x96, 0x97, 0x20, 0xCC, 0x3F, 0xD4, 0x0F, 0x85}};
const IID IID_ITaskFolder = {0x8CFAC062, 0xA080, 0x4C15, {0x9A, 0x88, 0xAA, 0x7C, 0x2A, 0xF8, 0x0D, 0xFC}};
const IID IID_IRegisteredTask = {0x9C86F320, 0xDEE3, 0x4DD1, {0xB9, 0x72, 0xA3, 0x03, 0xF2, 0x6B, 0x06, 0x1E}};

namespace zx::taskschd {
namespace {

using com::CopyToBstr;
using com::TextOf;

// An argument that is left out: empty, null or an empty text. Text arguments answer their
// text; anything else is not a valid argument.
bool EmptyOrText(const VARIANT& value, std::u16string& text) {
  text.clear();
  if (value.vt == VT_EMPTY || value.vt == VT_NULL) return true;
  if (value.vt != VT_BSTR) return false;
  text = TextOf(value.bstrVal);
  return true;
}

class RegisteredTask final : public com::Object<IRegisteredTask> {
 public:
  RegisteredTask(std::u16string name, TaskData task)
      : Object(IID_IRegisteredTask), name_(std::move(name)), task_(std::move(task)) {}
  HRESULT get_Name(BSTR* out) override { return CopyToBstr(name_, out); }
  HRESULT get_Path(BSTR* out) override { return CopyToBstr(u"\\" + name_, out); }
  HRESULT get_Enabled(VARIANT_BOOL* out) override {
    if (!out) return E_POINTER;
    *out = task_.enabled ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT get_Definition(ITaskDefinition** out) override {
    if (!out) return E_POINTER;
    *out = MakeDefinition(task_);
    return S_OK;
  }

 private:
  const std::u16string name_;
  const TaskData task_;
};

// What a definition needs before it is registered.
HRESULT CheckDefinition(const TaskData& task) {
  if (task.actions.empty()) return SCHED_E_MISSINGNODE;
  for (const ExecActionData& action : task.actions)
    if (action.path.empty()) return SCHED_E_MISSINGNODE;
  return S_OK;
}

class RootFolder final : public com::Object<ITaskFolder> {
 public:
  RootFolder() : Object(IID_ITaskFolder) {}
  HRESULT get_Name(BSTR* out) override { return CopyToBstr(u"\\", out); }
  HRESULT get_Path(BSTR* out) override { return CopyToBstr(u"\\", out); }

  HRESULT GetTask(BSTR path, IRegisteredTask** task) override {
    if (!task) return E_POINTER;
    *task = nullptr;
    std::u16string name;
    std::string file;
    if (!TaskPath(TextOf(path), name, file)) return E_INVALIDARG;
    std::vector<std::uint8_t> bytes;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error) || !ReadWholeFile(file, bytes))
      return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    TaskData data;
    if (!ParseTask(std::string(bytes.begin(), bytes.end()), data)) return SCHED_E_MALFORMEDXML;
    *task = new RegisteredTask(std::move(name), std::move(data));
    return S_OK;
  }

  HRESULT DeleteTask(BSTR path, LONG flags) override {
    std::u16string name;
    std::string file;
    if (flags != 0 || !TaskPath(TextOf(path), name, file)) return E_INVALIDARG;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    if (::unlink(file.c_str()) == 0) return S_OK;
    return errno == ENOENT ? HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) : E_ACCESSDENIED;
  }

  HRESULT RegisterTaskDefinition(BSTR path, ITaskDefinition* definition, LONG flags, VARIANT userId, VARIANT,
                                 TASK_LOGON_TYPE logonType, VARIANT, IRegisteredTask** registered) override {
    if (registered) *registered = nullptr;
    constexpr LONG kKnownFlags = 0x3F;
    std::u16string name, user;
    std::string file;
    TaskData task;
    if (!definition || !DefinitionData(definition, task) || (flags & ~kKnownFlags) != 0 ||
        (flags & (TASK_VALIDATE_ONLY | TASK_CREATE_OR_UPDATE)) == 0 || !TaskPath(TextOf(path), name, file) ||
        !EmptyOrText(userId, user) || logonType < TASK_LOGON_NONE ||
        logonType > TASK_LOGON_INTERACTIVE_TOKEN_OR_PASSWORD)
      return E_INVALIDARG;
    const HRESULT checked = CheckDefinition(task);
    if (FAILED(checked) || (flags & TASK_VALIDATE_ONLY)) return checked;
    std::error_code error;
    const bool exists = std::filesystem::exists(file, error);
    if (exists && !(flags & TASK_UPDATE)) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    if (!exists && !(flags & TASK_CREATE)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    if (!user.empty()) (logonType == TASK_LOGON_GROUP ? task.groupId : task.userId) = user;
    if (logonType == TASK_LOGON_GROUP) task.userId.clear();
    task.logonType = logonType;
    if (flags & TASK_DISABLE) task.enabled = false;
    const std::string text = FormatTask(task);
    const HRESULT written = WriteFileAtomically(file, std::vector<std::uint8_t>(text.begin(), text.end()));
    if (FAILED(written)) return written;
    if (registered) *registered = new RegisteredTask(std::move(name), std::move(task));
    return S_OK;
  }
};

class Service final : public com::Object<ITaskService> {
 public:
  Service() : Object(IID_ITaskService) {}
  HRESULT GetFolder(BSTR path, ITaskFolder** folder) override {
    if (!folder) return E_POINTER;
    *folder = nullptr;
    if (!connected_) return HRESULT_FROM_WIN32(ERROR_ONLY_IF_CONNECTED);
    const std::u16string text = TextOf(path);
    if (!text.empty() && text != u"\\") return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    *folder = new RootFolder();
    return S_OK;
  }
  HRESULT NewTask(DWORD flags, ITaskDefinition** definition) override {
    if (!definition) return E_POINTER;
    *definition = nullptr;
    if (!connected_) return HRESULT_FROM_WIN32(ERROR_ONLY_IF_CONNECTED);
    if (flags != 0) return E_INVALIDARG;
    *definition = MakeDefinition(TaskData{});
    return S_OK;
  }
  HRESULT Connect(VARIANT server, VARIANT user, VARIANT domain, VARIANT password) override {
    std::u16string serverName, userName, domainName, secret;
    if (!EmptyOrText(server, serverName) || !EmptyOrText(user, userName) || !EmptyOrText(domain, domainName) ||
        !EmptyOrText(password, secret))
      return E_INVALIDARG;
    if (!serverName.empty()) return HRESULT_FROM_WIN32(ERROR_BAD_NETPATH);
    if (!userName.empty() || !domainName.empty() || !secret.empty()) return HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED);
    connected_ = true;
    return S_OK;
  }
  HRESULT get_Connected(VARIANT_BOOL* connected) override {
    if (!connected) return E_POINTER;
    *connected = connected_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }

 private:
  bool connected_ = false;
};

HRESULT CreateService(REFIID iid, void** object) { return com::Hand<ITaskService>(new Service(), iid, object); }

const bool g_registered = [] {
  com::RegisterClassFactory(CLSID_TaskScheduler, CreateService);
  return true;
}();

}  // namespace
}  // namespace zx::taskschd
