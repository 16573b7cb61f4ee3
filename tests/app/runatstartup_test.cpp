// Start at log-on: the log-on task read back through the Task Scheduler, the Run values of
// older Windows, each left alone on the other kind of Windows, and repeated registrations.
#include <gtest/gtest.h>

#include <filesystem>

#include "HalvoranApp.h"
#include "ProcessControl.h"
#include "RegKeyAccess.h"
#include "RunAtStartup.h"
#include "machine_fixture.h"
#include "objbase.h"
#include "oleauto.h"
#include "taskschd.h"

namespace {

constexpr LPCTSTR kTaskName = u"ZephrinTunevoRunAtStartup";

// The text of a get_ call, freed.
template <class Object>
CString Get(Object* object, HRESULT (Object::*get)(BSTR*)) {
  BSTR text = nullptr;
  EXPECT_EQ((object->*get)(&text), S_OK);
  CString copy(text ? text : u"<null>");
  SysFreeString(text);
  return copy;
}

class RunAtStartupTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    g_strAppName = u"Zephrin Tunevo";
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  }
  void TearDown() override {
    CoUninitialize();
    g_strAppName.Empty();
  }
  // The registered task's definition, or null when there is no such task.
  ITaskDefinition* RegisteredDefinition(LPCTSTR name = kTaskName) {
    ITaskService* service = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                               reinterpret_cast<void**>(&service)),
              S_OK);
    VARIANT empty;
    VariantInit(&empty);
    EXPECT_EQ(service->Connect(empty, empty, empty, empty), S_OK);
    ITaskFolder* folder = nullptr;
    BSTR root = SysAllocString(u"\\");
    EXPECT_EQ(service->GetFolder(root, &folder), S_OK);
    SysFreeString(root);
    IRegisteredTask* task = nullptr;
    BSTR path = SysAllocString(name);
    folder->GetTask(path, &task);
    SysFreeString(path);
    ITaskDefinition* definition = nullptr;
    if (task) {
      EXPECT_EQ(task->get_Definition(&definition), S_OK);
      task->Release();
    }
    folder->Release();
    service->Release();
    return definition;
  }
  std::size_t TaskFiles() const {
    const std::filesystem::path folder = root() + "/drive_c/Windows/System32/Tasks";
    if (!std::filesystem::exists(folder)) return 0;
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
  }
  static CString RunValue(HKEY root) {
    CRegKeyAccess key(root, CRegKeyAccess::kReadOnly);
    CString text = u"<missing>";
    if (key.Open(root, kRunKeyPath)) key.ReadString(kRunValueName, text);
    return text;
  }
  static void PutRunValue(HKEY root, LPCTSTR text) {
    CRegKeyAccess key(root);
    ASSERT_TRUE(key.Open(root, kRunKeyPath, true));
    key.WriteString(kRunValueName, text);
  }
};

TEST(StartupTaskName, BlanksAreRemoved) {
  EXPECT_EQ(BuildStartupTaskName(u"Zephrin Tunevo"), CString(u"ZephrinTunevoRunAtStartup"));
  EXPECT_EQ(BuildStartupTaskName(u" A  b "), CString(u"AbRunAtStartup"));
  EXPECT_EQ(BuildStartupTaskName(u""), CString(u"RunAtStartup"));
}

TEST_F(RunAtStartupTest, LogonTaskReadsBackAsRegistered) {
  ASSERT_TRUE(CreateStartupTask());
  ITaskDefinition* definition = RegisteredDefinition();
  ASSERT_NE(definition, nullptr);

  IPrincipal* principal = nullptr;
  ASSERT_EQ(definition->get_Principal(&principal), S_OK);
  TASK_RUNLEVEL_TYPE level = TASK_RUNLEVEL_LUA;
  principal->get_RunLevel(&level);
  EXPECT_EQ(level, TASK_RUNLEVEL_HIGHEST);
  TASK_LOGON_TYPE logon = TASK_LOGON_NONE;
  principal->get_LogonType(&logon);
  EXPECT_EQ(logon, TASK_LOGON_GROUP);
  EXPECT_EQ(Get(principal, &IPrincipal::get_GroupId), CString(u"S-1-5-32-545"));
  principal->Release();

  IRegistrationInfo* info = nullptr;
  ASSERT_EQ(definition->get_RegistrationInfo(&info), S_OK);
  EXPECT_EQ(Get(info, &IRegistrationInfo::get_Author), CString(u"Zephrin"));
  info->Release();

  ITaskSettings* settings = nullptr;
  ASSERT_EQ(definition->get_Settings(&settings), S_OK);
  EXPECT_EQ(Get(settings, &ITaskSettings::get_ExecutionTimeLimit), CString(u"PT0S"));
  VARIANT_BOOL demand = VARIANT_FALSE, terminate = VARIANT_FALSE, available = VARIANT_FALSE;
  settings->get_AllowDemandStart(&demand);
  settings->get_AllowHardTerminate(&terminate);
  settings->get_StartWhenAvailable(&available);
  EXPECT_EQ(demand, VARIANT_TRUE);
  EXPECT_EQ(terminate, VARIANT_TRUE);
  EXPECT_EQ(available, VARIANT_TRUE);
  settings->Release();

  ITriggerCollection* triggers = nullptr;
  ASSERT_EQ(definition->get_Triggers(&triggers), S_OK);
  LONG count = 0;
  triggers->get_Count(&count);
  ASSERT_EQ(count, 1);
  ITrigger* trigger = nullptr;
  ASSERT_EQ(triggers->get_Item(1, &trigger), S_OK);
  TASK_TRIGGER_TYPE2 type = TASK_TRIGGER_EVENT;
  trigger->get_Type(&type);
  EXPECT_EQ(type, TASK_TRIGGER_LOGON);
  EXPECT_EQ(Get(trigger, &ITrigger::get_Id), CString(kTaskName));
  ILogonTrigger* logonTrigger = nullptr;
  ASSERT_EQ(trigger->QueryInterface(IID_ILogonTrigger, reinterpret_cast<void**>(&logonTrigger)), S_OK);
  EXPECT_EQ(Get(logonTrigger, &ILogonTrigger::get_Delay), CString(u"PT5S"));
  logonTrigger->Release();
  trigger->Release();
  triggers->Release();

  IActionCollection* actions = nullptr;
  ASSERT_EQ(definition->get_Actions(&actions), S_OK);
  actions->get_Count(&count);
  ASSERT_EQ(count, 1);
  IAction* action = nullptr;
  ASSERT_EQ(actions->get_Item(1, &action), S_OK);
  IExecAction* exec = nullptr;
  ASSERT_EQ(action->QueryInterface(IID_IExecAction, reinterpret_cast<void**>(&exec)), S_OK);
  EXPECT_EQ(Get(exec, &IExecAction::get_Path), GetProgramFilePath());
  EXPECT_EQ(Get(exec, &IExecAction::get_Arguments), CString(u" -schedule"));
  exec->Release();
  action->Release();
  actions->Release();
  definition->Release();
}

TEST_F(RunAtStartupTest, WindowsSixAndLaterUseOneTaskAndNoRunValue) {
  PutRunValue(HKEY_CURRENT_USER, u"left alone");
  ApplyRunAtStartup(true, 6);
  ApplyRunAtStartup(true, 10);  // the old task is replaced, not doubled
  EXPECT_EQ(TaskFiles(), 1u);
  ITaskDefinition* definition = RegisteredDefinition();
  ASSERT_NE(definition, nullptr);
  definition->Release();
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), CString(u"<missing>"));
  EXPECT_EQ(RunValue(HKEY_CURRENT_USER), CString(u"left alone"));
  ApplyRunAtStartup(false, 6);
  EXPECT_EQ(RegisteredDefinition(), nullptr);
  EXPECT_EQ(TaskFiles(), 0u);
  ApplyRunAtStartup(false, 6);  // nothing to remove: no harm
  EXPECT_EQ(RunValue(HKEY_CURRENT_USER), CString(u"left alone"));
}

TEST_F(RunAtStartupTest, OlderWindowsUseOneRunValueAndNoTask) {
  ApplyRunAtStartup(true, 6);
  PutRunValue(HKEY_CURRENT_USER, u"stale");
  ApplyRunAtStartup(true, 5);
  ApplyRunAtStartup(true, 5);
  const CString expected = u"\"" + GetProgramFilePath() + u"\" /schedule";
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), expected);
  EXPECT_EQ(RunValue(HKEY_CURRENT_USER), CString(u"<missing>"));
  EXPECT_EQ(TaskFiles(), 1u);  // the task is not touched
  ApplyRunAtStartup(false, 5);
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), CString(u"<missing>"));
  EXPECT_EQ(TaskFiles(), 1u);
}

TEST_F(RunAtStartupTest, TheTaskIsNamedAfterTheApplication) {
  g_strAppName = u"Other Tool";
  ASSERT_TRUE(CreateStartupTask());
  ITaskDefinition* definition = RegisteredDefinition(u"OtherToolRunAtStartup");
  ASSERT_NE(definition, nullptr);
  definition->Release();
  EXPECT_EQ(RegisteredDefinition(), nullptr);
  EXPECT_TRUE(SetRunAtStartup(false));
}

}  // namespace
