// The Task Scheduler 2.0 service: the log-on task registered, read back and deleted as the
// program does it, connecting, registration flags, damaged task files and the task file's
// text.
#include <gtest/gtest.h>

#include <filesystem>

#include "machine_fixture.h"
#include "objbase.h"
#include "oleauto.h"
#include "taskschd.h"

namespace {

// An owned BSTR for the calls.
class Text {
 public:
  explicit Text(const char16_t* text) : text_(SysAllocString(text)) {}
  ~Text() { SysFreeString(text_); }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  operator BSTR() const { return text_; }  // NOLINT: passes as the call's BSTR

 private:
  BSTR text_;
};

// The text of a get_ call, freed.
template <class Object>
std::u16string Get(Object* object, HRESULT (Object::*get)(BSTR*)) {
  BSTR text = nullptr;
  EXPECT_EQ((object->*get)(&text), S_OK);
  std::u16string copy = text ? std::u16string(text, SysStringLen(text)) : u"<null>";
  SysFreeString(text);
  return copy;
}

VARIANT Empty() {
  VARIANT value;
  VariantInit(&value);
  return value;
}

const char16_t kTaskName[] = u"ZephrinTunevoRunAtStartup";
const char16_t kProgram[] = u"C:\\Program Files\\Zephrin\\zephrinkx.exe";

class TaskServiceTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_EQ(CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                               reinterpret_cast<void**>(&service_)),
              S_OK);
  }
  void TearDown() override {
    if (folder_) folder_->Release();
    if (service_) service_->Release();
    CoUninitialize();
  }
  void ConnectToRoot() {
    ASSERT_EQ(service_->Connect(Empty(), Empty(), Empty(), Empty()), S_OK);
    ASSERT_EQ(service_->GetFolder(Text(u"\\"), &folder_), S_OK);
  }
  // A definition as the program makes its log-on task: highest run level, author, settings,
  // a log-on trigger with a delay and the task name as id, an exec action.
  ITaskDefinition* LogonDefinition() {
    ITaskDefinition* definition = nullptr;
    EXPECT_EQ(service_->NewTask(0, &definition), S_OK);
    if (!definition) return nullptr;
    IPrincipal* principal = nullptr;
    EXPECT_EQ(definition->get_Principal(&principal), S_OK);
    EXPECT_EQ(principal->put_RunLevel(TASK_RUNLEVEL_HIGHEST), S_OK);
    principal->Release();
    IRegistrationInfo* info = nullptr;
    EXPECT_EQ(definition->get_RegistrationInfo(&info), S_OK);
    EXPECT_EQ(info->put_Author(Text(u"Zephrin")), S_OK);
    info->Release();
    ITaskSettings* settings = nullptr;
    EXPECT_EQ(definition->get_Settings(&settings), S_OK);
    EXPECT_EQ(settings->put_ExecutionTimeLimit(Text(u"PT0S")), S_OK);
    EXPECT_EQ(settings->put_AllowDemandStart(VARIANT_TRUE), S_OK);
    EXPECT_EQ(settings->put_AllowHardTerminate(VARIANT_TRUE), S_OK);
    EXPECT_EQ(settings->put_StartWhenAvailable(VARIANT_TRUE), S_OK);
    settings->Release();
    ITriggerCollection* triggers = nullptr;
    EXPECT_EQ(definition->get_Triggers(&triggers), S_OK);
    ITrigger* trigger = nullptr;
    EXPECT_EQ(triggers->Create(TASK_TRIGGER_LOGON, &trigger), S_OK);
    ILogonTrigger* logon = nullptr;
    EXPECT_EQ(trigger->QueryInterface(IID_ILogonTrigger, reinterpret_cast<void**>(&logon)), S_OK);
    EXPECT_EQ(logon->put_Delay(Text(u"PT5S")), S_OK);
    EXPECT_EQ(logon->put_Id(Text(kTaskName)), S_OK);
    logon->Release();
    trigger->Release();
    triggers->Release();
    IActionCollection* actions = nullptr;
    EXPECT_EQ(definition->get_Actions(&actions), S_OK);
    IAction* action = nullptr;
    EXPECT_EQ(actions->Create(TASK_ACTION_EXEC, &action), S_OK);
    IExecAction* exec = nullptr;
    EXPECT_EQ(action->QueryInterface(IID_IExecAction, reinterpret_cast<void**>(&exec)), S_OK);
    EXPECT_EQ(exec->put_Path(Text(kProgram)), S_OK);
    EXPECT_EQ(exec->put_Arguments(Text(u"-autorun")), S_OK);
    EXPECT_EQ(exec->put_Arguments(Text(u" -schedule")), S_OK);
    exec->Release();
    action->Release();
    actions->Release();
    return definition;
  }
  HRESULT Register(ITaskDefinition* definition, LONG flags, IRegisteredTask** task = nullptr,
                   const char16_t* name = kTaskName) {
    VARIANT user = Empty();
    user.vt = VT_BSTR;
    user.bstrVal = SysAllocString(u"S-1-5-32-545");
    const HRESULT hr = folder_->RegisterTaskDefinition(Text(name), definition, flags, user, Empty(), TASK_LOGON_GROUP,
                                                       Empty(), task);
    VariantClear(&user);
    return hr;
  }
  std::string TaskFile(const std::string& name) const { return root() + "/drive_c/Windows/System32/Tasks/" + name; }

  ITaskService* service_ = nullptr;
  ITaskFolder* folder_ = nullptr;
};

TEST_F(TaskServiceTest, TheLogonTaskReadsBackAsRegistered) {
  ConnectToRoot();
  EXPECT_EQ(Get(folder_, &ITaskFolder::get_Path), u"\\");
  ITaskDefinition* definition = LogonDefinition();
  ASSERT_NE(definition, nullptr);
  IRegisteredTask* registered = nullptr;
  ASSERT_EQ(Register(definition, TASK_CREATE_OR_UPDATE, &registered), S_OK);
  ASSERT_NE(registered, nullptr);
  EXPECT_EQ(Get(registered, &IRegisteredTask::get_Path), u"\\ZephrinTunevoRunAtStartup");
  registered->Release();
  definition->Release();

  IRegisteredTask* task = nullptr;
  ASSERT_EQ(folder_->GetTask(Text(u"\\zephrintunevorunatstartup"), &task), S_OK);
  EXPECT_EQ(Get(task, &IRegisteredTask::get_Name), kTaskName);
  VARIANT_BOOL enabled = VARIANT_FALSE;
  EXPECT_EQ(task->get_Enabled(&enabled), S_OK);
  EXPECT_EQ(enabled, VARIANT_TRUE);
  ASSERT_EQ(task->get_Definition(&definition), S_OK);
  task->Release();

  IRegistrationInfo* info = nullptr;
  ASSERT_EQ(definition->get_RegistrationInfo(&info), S_OK);
  EXPECT_EQ(Get(info, &IRegistrationInfo::get_Author), u"Zephrin");
  info->Release();
  IPrincipal* principal = nullptr;
  ASSERT_EQ(definition->get_Principal(&principal), S_OK);
  TASK_RUNLEVEL_TYPE runLevel = TASK_RUNLEVEL_LUA;
  TASK_LOGON_TYPE logonType = TASK_LOGON_NONE;
  EXPECT_EQ(principal->get_RunLevel(&runLevel), S_OK);
  EXPECT_EQ(runLevel, TASK_RUNLEVEL_HIGHEST);
  EXPECT_EQ(principal->get_LogonType(&logonType), S_OK);
  EXPECT_EQ(logonType, TASK_LOGON_GROUP);
  EXPECT_EQ(Get(principal, &IPrincipal::get_GroupId), u"S-1-5-32-545");
  EXPECT_EQ(Get(principal, &IPrincipal::get_UserId), u"");
  principal->Release();
  ITaskSettings* settings = nullptr;
  ASSERT_EQ(definition->get_Settings(&settings), S_OK);
  EXPECT_EQ(Get(settings, &ITaskSettings::get_ExecutionTimeLimit), u"PT0S");
  VARIANT_BOOL flag = VARIANT_FALSE;
  EXPECT_EQ(settings->get_StartWhenAvailable(&flag), S_OK);
  EXPECT_EQ(flag, VARIANT_TRUE);
  settings->Release();
  ITriggerCollection* triggers = nullptr;
  ASSERT_EQ(definition->get_Triggers(&triggers), S_OK);
  LONG count = 0;
  EXPECT_EQ(triggers->get_Count(&count), S_OK);
  ASSERT_EQ(count, 1);
  ITrigger* trigger = nullptr;
  ASSERT_EQ(triggers->get_Item(1, &trigger), S_OK);
  TASK_TRIGGER_TYPE2 type = TASK_TRIGGER_EVENT;
  EXPECT_EQ(trigger->get_Type(&type), S_OK);
  EXPECT_EQ(type, TASK_TRIGGER_LOGON);
  EXPECT_EQ(Get(trigger, &ITrigger::get_Id), kTaskName);
  ILogonTrigger* logon = nullptr;
  ASSERT_EQ(trigger->QueryInterface(IID_ILogonTrigger, reinterpret_cast<void**>(&logon)), S_OK);
  EXPECT_EQ(Get(logon, &ILogonTrigger::get_Delay), u"PT5S");
  logon->Release();
  trigger->Release();
  triggers->Release();
  IActionCollection* actions = nullptr;
  ASSERT_EQ(definition->get_Actions(&actions), S_OK);
  IAction* action = nullptr;
  ASSERT_EQ(actions->get_Item(1, &action), S_OK);
  IExecAction* exec = nullptr;
  ASSERT_EQ(action->QueryInterface(IID_IExecAction, reinterpret_cast<void**>(&exec)), S_OK);
  EXPECT_EQ(Get(exec, &IExecAction::get_Path), kProgram);
  EXPECT_EQ(Get(exec, &IExecAction::get_Arguments), u" -schedule");
  exec->Release();
  action->Release();
  actions->Release();
  definition->Release();
}

TEST_F(TaskServiceTest, TheTaskFileIsTheDocumentedText) {
  ConnectToRoot();
  ITaskDefinition* definition = LogonDefinition();
  ASSERT_NE(definition, nullptr);
  IRegistrationInfo* info = nullptr;
  ASSERT_EQ(definition->get_RegistrationInfo(&info), S_OK);
  EXPECT_EQ(info->put_Description(Text(u"100% sure\r\nnext line \u00e9")), S_OK);
  info->Release();
  ASSERT_EQ(Register(definition, TASK_CREATE), S_OK);
  definition->Release();
  EXPECT_EQ(ReadHostFile(TaskFile("ZephrinTunevoRunAtStartup")),
            "[Task]\n"
            "Author=Zephrin\n"
            "Description=100%25 sure%0D%0Anext line \xC3\xA9\n"
            "UserId=\n"
            "GroupId=S-1-5-32-545\n"
            "LogonType=4\n"
            "RunLevel=1\n"
            "AllowDemandStart=1\n"
            "AllowHardTerminate=1\n"
            "StartWhenAvailable=1\n"
            "ExecutionTimeLimit=PT0S\n"
            "Enabled=1\n"
            "[Trigger]\n"
            "Type=9\n"
            "Id=ZephrinTunevoRunAtStartup\n"
            "Enabled=1\n"
            "Delay=PT5S\n"
            "UserId=\n"
            "[Action]\n"
            "Type=0\n"
            "Id=\n"
            "Path=C:\\Program Files\\Zephrin\\zephrinkx.exe\n"
            "Arguments= -schedule\n"
            "WorkingDirectory=\n");
  IRegisteredTask* task = nullptr;
  ASSERT_EQ(folder_->GetTask(Text(kTaskName), &task), S_OK);
  ASSERT_EQ(task->get_Definition(&definition), S_OK);
  ASSERT_EQ(definition->get_RegistrationInfo(&info), S_OK);
  EXPECT_EQ(Get(info, &IRegistrationInfo::get_Description), u"100% sure\r\nnext line \u00e9");
  info->Release();
  definition->Release();
  task->Release();
}

TEST_F(TaskServiceTest, DamagedTaskFilesAreRefused) {
  ConnectToRoot();
  ITaskDefinition* definition = LogonDefinition();
  ASSERT_NE(definition, nullptr);
  ASSERT_EQ(Register(definition, TASK_CREATE), S_OK);
  definition->Release();
  const std::string good = ReadHostFile(TaskFile("ZephrinTunevoRunAtStartup"));
  const std::string damaged[] = {
      "",
      good.substr(0, good.size() - 1),                     // last line cut
      std::string(good).erase(good.find("Enabled=1\n"), 10),  // a key missing
      "[Trigger]\n" + good,                                // a section before the task
      good + "[Task]\n",                                   // a second task
      good + "Extra=1\n",                                  // an unknown key
      good + "[Trigger]\nType=8\nId=\nEnabled=1\nDelay=\nUserId=\n",  // not a log-on trigger
      std::string(good).replace(good.find("RunLevel=1"), 10, "RunLevel=7"),
      std::string(good).replace(good.find("Author=Zephrin"), 14, "Author=%4"),
      std::string(good).replace(good.find("Author=Zephrin"), 14, "Author=\xC3("),  // not UTF-8
  };
  for (const std::string& text : damaged) {
    WriteHostFile(TaskFile("Damaged"), text);
    IRegisteredTask* task = nullptr;
    EXPECT_EQ(folder_->GetTask(Text(u"Damaged"), &task), SCHED_E_MALFORMEDXML) << text;
    if (task) task->Release();
    EXPECT_EQ(task, nullptr);
  }
}

TEST_F(TaskServiceTest, DeletingRemovesTheTaskAndAMissingTaskIsNotFound) {
  ConnectToRoot();
  ITaskDefinition* definition = LogonDefinition();
  ASSERT_NE(definition, nullptr);
  ASSERT_EQ(Register(definition, TASK_CREATE_OR_UPDATE), S_OK);
  definition->Release();
  EXPECT_EQ(folder_->DeleteTask(Text(u"\\ZephrinTunevoRunAtStartup"), 1), E_INVALIDARG);
  EXPECT_EQ(folder_->DeleteTask(Text(u"\\ZephrinTunevoRunAtStartup"), 0), S_OK);
  EXPECT_FALSE(std::filesystem::exists(TaskFile("ZephrinTunevoRunAtStartup")));
  IRegisteredTask* task = nullptr;
  EXPECT_EQ(folder_->GetTask(Text(kTaskName), &task), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(folder_->DeleteTask(Text(kTaskName), 0), static_cast<HRESULT>(0x80070002));
  EXPECT_EQ(folder_->DeleteTask(Text(u"Zephrin Tunevo"), 0), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));

  // Blanks count: a name with blanks does not reach the task registered without them.
  definition = LogonDefinition();
  ASSERT_NE(definition, nullptr);
  ASSERT_EQ(Register(definition, TASK_CREATE), S_OK);
  definition->Release();
  EXPECT_EQ(folder_->DeleteTask(Text(u"Zephrin Tunevo RunAtStartup"), 0), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(std::filesystem::exists(TaskFile("ZephrinTunevoRunAtStartup")));
  for (const char16_t* bad : {u"", u"\\", u"..", u"\\a\\b", u"a/b", u"\\\\x"})
    EXPECT_EQ(folder_->DeleteTask(Text(bad), 0), E_INVALIDARG);
}

TEST_F(TaskServiceTest, RegistrationFlagsDecideBetweenCreatingAndReplacing) {
  ConnectToRoot();
  ITaskDefinition* definition = LogonDefinition();
  ASSERT_NE(definition, nullptr);
  EXPECT_EQ(Register(definition, TASK_UPDATE), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(Register(definition, TASK_VALIDATE_ONLY), S_OK);
  EXPECT_FALSE(std::filesystem::exists(TaskFile("ZephrinTunevoRunAtStartup")));
  EXPECT_EQ(Register(definition, TASK_CREATE), S_OK);
  EXPECT_EQ(Register(definition, TASK_CREATE), HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(Register(definition, TASK_CREATE), static_cast<HRESULT>(0x800700B7));
  EXPECT_EQ(Register(definition, TASK_CREATE_OR_UPDATE | TASK_DISABLE), S_OK);  // enabling twice: one task
  IRegisteredTask* task = nullptr;
  ASSERT_EQ(folder_->GetTask(Text(kTaskName), &task), S_OK);
  VARIANT_BOOL enabled = VARIANT_TRUE;
  EXPECT_EQ(task->get_Enabled(&enabled), S_OK);
  EXPECT_EQ(enabled, VARIANT_FALSE);
  task->Release();
  EXPECT_EQ(Register(definition, 0), E_INVALIDARG);
  EXPECT_EQ(Register(definition, TASK_CREATE, nullptr, u"a:b"), E_INVALIDARG);
  EXPECT_EQ(Register(nullptr, TASK_CREATE, nullptr, u"Other"), E_INVALIDARG);
  definition->Release();

  // A definition without an action, or with an exec action without path, is incomplete.
  ASSERT_EQ(service_->NewTask(0, &definition), S_OK);
  EXPECT_EQ(Register(definition, TASK_CREATE, nullptr, u"Other"), SCHED_E_MISSINGNODE);
  IActionCollection* actions = nullptr;
  ASSERT_EQ(definition->get_Actions(&actions), S_OK);
  IAction* action = nullptr;
  ASSERT_EQ(actions->Create(TASK_ACTION_EXEC, &action), S_OK);
  EXPECT_EQ(Register(definition, TASK_CREATE, nullptr, u"Other"), SCHED_E_MISSINGNODE);
  EXPECT_FALSE(std::filesystem::exists(TaskFile("Other")));
  action->Release();
  actions->Release();
  definition->Release();
}

TEST_F(TaskServiceTest, OnlyTheLocalMachineConnects) {
  ITaskFolder* folder = nullptr;
  EXPECT_EQ(service_->GetFolder(Text(u"\\"), &folder), HRESULT_FROM_WIN32(ERROR_ONLY_IF_CONNECTED));
  ITaskDefinition* definition = nullptr;
  EXPECT_EQ(service_->NewTask(0, &definition), static_cast<HRESULT>(0x800704E3));
  VARIANT_BOOL connected = VARIANT_TRUE;
  EXPECT_EQ(service_->get_Connected(&connected), S_OK);
  EXPECT_EQ(connected, VARIANT_FALSE);
  VARIANT server = Empty();
  server.vt = VT_BSTR;
  server.bstrVal = SysAllocString(u"FAR");
  EXPECT_EQ(service_->Connect(server, Empty(), Empty(), Empty()), HRESULT_FROM_WIN32(ERROR_BAD_NETPATH));
  EXPECT_EQ(service_->Connect(Empty(), server, Empty(), Empty()), HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED));
  VariantClear(&server);
  VARIANT number = Empty();
  number.vt = VT_I4;
  EXPECT_EQ(service_->Connect(number, Empty(), Empty(), Empty()), E_INVALIDARG);
  VARIANT none = Empty();
  none.vt = VT_NULL;
  EXPECT_EQ(service_->Connect(none, none, Empty(), Empty()), S_OK);
  EXPECT_EQ(service_->get_Connected(&connected), S_OK);
  EXPECT_EQ(connected, VARIANT_TRUE);
  EXPECT_EQ(service_->GetFolder(Text(u"\\Microsoft"), &folder), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(service_->NewTask(1, &definition), E_INVALIDARG);
}

TEST_F(TaskServiceTest, CollectionsCountFromOneAndOfferLogonTriggersAndExecActions) {
  ConnectToRoot();
  ITaskDefinition* definition = nullptr;
  ASSERT_EQ(service_->NewTask(0, &definition), S_OK);
  ITaskSettings* settings = nullptr;
  ASSERT_EQ(definition->get_Settings(&settings), S_OK);
  EXPECT_EQ(Get(settings, &ITaskSettings::get_ExecutionTimeLimit), u"PT72H");
  settings->Release();
  ITriggerCollection* triggers = nullptr;
  ASSERT_EQ(definition->get_Triggers(&triggers), S_OK);
  ITrigger* trigger = nullptr;
  EXPECT_EQ(triggers->Create(TASK_TRIGGER_DAILY, &trigger), E_NOTIMPL);
  EXPECT_EQ(triggers->Create(static_cast<TASK_TRIGGER_TYPE2>(10), &trigger), E_INVALIDARG);
  EXPECT_EQ(trigger, nullptr);
  ASSERT_EQ(triggers->Create(TASK_TRIGGER_LOGON, &trigger), S_OK);
  IUnknown* other = nullptr;
  EXPECT_EQ(trigger->QueryInterface(IID_IExecAction, reinterpret_cast<void**>(&other)), E_NOINTERFACE);
  trigger->Release();
  ITrigger* item = nullptr;
  EXPECT_EQ(triggers->get_Item(0, &item), E_INVALIDARG);
  EXPECT_EQ(triggers->get_Item(2, &item), E_INVALIDARG);
  EXPECT_EQ(triggers->Clear(), S_OK);
  LONG count = 1;
  EXPECT_EQ(triggers->get_Count(&count), S_OK);
  EXPECT_EQ(count, 0);
  triggers->Release();
  IActionCollection* actions = nullptr;
  ASSERT_EQ(definition->get_Actions(&actions), S_OK);
  IAction* action = nullptr;
  EXPECT_EQ(actions->Create(TASK_ACTION_SEND_EMAIL, &action), E_NOTIMPL);
  EXPECT_EQ(actions->Create(static_cast<TASK_ACTION_TYPE>(3), &action), E_INVALIDARG);
  actions->Release();
  IPrincipal* principal = nullptr;
  ASSERT_EQ(definition->get_Principal(&principal), S_OK);
  EXPECT_EQ(principal->put_RunLevel(static_cast<TASK_RUNLEVEL_TYPE>(2)), E_INVALIDARG);
  EXPECT_EQ(principal->put_LogonType(static_cast<TASK_LOGON_TYPE>(7)), E_INVALIDARG);
  principal->Release();
  definition->Release();
}

}  // namespace
