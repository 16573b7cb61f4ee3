// The scheduled scan end to end with real processes: the product's pane makes the job daily
// (the auto-fix choice of the earlier job kept), the Task Scheduler's runner, on the test
// clock moved past the trigger, starts the real main program with the job's parameter word,
// the main program opens its window with that word on its command line, a second start with
// the job's word while it runs is handed to its window (no second window), and once the main
// program has been closed the job records its run: last-run time and exit code. On the laptop
// machine against the web service's stand-in, the scheduled start scans, records the scan,
// and with auto-fix downloads and installs the updates it found.
#include <handleapi.h>
#include <processthreadsapi.h>
#include <winprocess.h>
#include <winreg.h>

#include <cctype>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "ProductValues.h"
#include "Registry.h"
#include "ScheduleJobManager.h"
#include "cstring_printer.h"
#include "jobrunner.h"
#include "road_machine.h"
#include "scheduler_fixture.h"
#include "zx/jobfile.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

constexpr LPCTSTR kMainTitle = _T("Zephrin Tunevo");
constexpr WPARAM kMainCloseCommand = 1182;

class ScheduledRun : public SchedulerFixture {
 protected:
  void SetUp() override {
    SchedulerFixture::SetUp();
    ::setenv("ZX_MACHINE_ROOT", root().c_str(), 1);
    // The programs it starts take their pauses on their clock instead of waiting them out.
    ::setenv("ZX_SKIP_PAUSES", "1", 1);
  }
  void TearDown() override {
    EndMainPrograms();
    ::unsetenv("ZX_SKIP_PAUSES");
    ::unsetenv("ZX_MACHINE_ROOT");
    SchedulerFixture::TearDown();
  }
  // Closes each running main program the way the user does, once its window takes input again
  // (it ignores the request while a task runs); one that does not go is ended.
  static void EndMainPrograms() {
    for (HWND window = MainWindows(); window; window = MainWindows()) {
      WaitFor([&] { return IsWindowEnabled(window) != FALSE; });
      PostMessageW(window, WM_COMMAND, kMainCloseCommand, 0);
      if (WaitFor([&] { return !IsWindow(window); })) continue;
      DWORD id = 0;
      GetWindowThreadProcessId(window, &id);
      if (const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
      }
      if (IsWindow(window)) return;
    }
  }
  // Closes a main program as its user would: a message box it shows is answered first (a
  // scheduled scan that cannot reach the service ends in one), then the window's close request
  // once the window takes input.
  static bool CloseAnsweringBoxes(HWND main) {
    DWORD owner = 0;
    GetWindowThreadProcessId(main, &owner);
    return WaitFor([&] {
      for (HWND at = FindWindowExW(nullptr, nullptr, _T("#32770"), nullptr); at;
           at = FindWindowExW(nullptr, at, _T("#32770"), nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(at, &process);
        if (at != main && process == owner) PostMessageW(at, WM_COMMAND, IDOK, 0);
      }
      if (IsWindowEnabled(main)) PostMessageW(main, WM_COMMAND, kMainCloseCommand, 0);
      return !IsWindow(main);
    });
  }
  // Ends the main programs when the test leaves, before the runner that waits for them.
  struct ProgramsEnded {
    ~ProgramsEnded() { EndMainPrograms(); }
  };
  // The first main window of the main program, or null.
  static HWND MainWindows() { return FindWindowW(_T("#32770"), kMainTitle); }
  static int CountMainWindows() {
    int count = 0;
    for (HWND at = MainWindows(); at; at = FindWindowExW(nullptr, at, _T("#32770"), kMainTitle)) ++count;
    return count;
  }
  // Waits up to 30 s of host time (the test clock stands still) for the condition.
  static bool WaitFor(const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > end) return false;
      Pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
  }
  taskschd::Job ReadJob() const {
    const std::string bytes = ReadHostFile(JobPath());
    taskschd::Job job;
    EXPECT_EQ(taskschd::ParseJob(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), job), S_OK);
    return job;
  }
  // The command line a process of this machine was started with.
  static std::string CommandLineOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    std::ifstream in("/proc/" + std::to_string(process) + "/environ", std::ios::binary);
    const std::string environment((std::istreambuf_iterator<char>(in)), {});
    const std::string name = "ZX_COMMAND_LINE=";
    const std::size_t at = environment.find(name);
    if (at == std::string::npos) return "";
    return environment.substr(at + name.size(), environment.find('\0', at) - at - name.size());
  }
};

TEST_F(ScheduledRun, ADailyScanWithAutoFixStartsTheMainProgramAndRecordsItsRun) {
  // An earlier once-only job that fixes on its own; the product's pane keeps that choice.
  TASK_TRIGGER once = TestTrigger(TASK_TIME_TRIGGER_ONCE, 3, 0);
  once.wBeginMonth = 6;
  {
    CScheduleManager jobs;
    ASSERT_TRUE(jobs.ReplaceTask(GetProductTaskName(), GetProductTaskName(), _T(" -autofix"), _T("C:\\P\\zephrinkx.exe"),
                                 _T("C:\\P"), once));
  }
  OpenMainWindow();
  CDlgSchedule* page = dialog_.GetLeftPane().GetSchedulePane();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->GetScheduleState(), CDlgSchedule::kOnce);

  // Every day at the same time, from today.
  Press(*page, CDlgSchedule::SchedulerIds::kEveryDayId);
  EXPECT_GE(PressAndAnswer(*page, CDlgSchedule::SchedulerIds::kApplyId).Find(_T("The schedule is saved.")), 0);
  taskschd::Job job = ReadJob();
  ASSERT_EQ(job.triggers.size(), 1u);
  EXPECT_EQ(job.triggers[0].TriggerType, TASK_TIME_TRIGGER_DAILY);
  EXPECT_EQ(job.triggers[0].wBeginYear, 2000);
  EXPECT_EQ(job.triggers[0].wStartHour, 3);
  EXPECT_EQ(job.parameters, u" -autofix");
  EXPECT_EQ(job.applicationName.substr(job.applicationName.size() - 14), u"\\zephrinkx.exe");
  EXPECT_EQ(job.status, SCHED_S_TASK_HAS_NOT_RUN);

  // Nothing is due before the trigger's minute.
  EXPECT_EQ(taskscheduler::JobRunner().RunDueNow(), 0);
  EXPECT_EQ(MainWindows(), nullptr);

  // Past it, the runner starts the main program and waits for its end.
  clock_.Advance((3 * 60 + 1) * 60 * 1000);
  std::vector<std::string> reports;
  taskscheduler::JobRunner runner([&reports](const std::string& text) { reports.push_back(text); });
  std::future<int> run = std::async(std::launch::async, [&runner] { return runner.RunDueNow(); });
  const ProgramsEnded ended;
  ASSERT_TRUE(WaitFor([] { return MainWindows() != nullptr && IsWindowVisible(MainWindows()); }));
  const HWND main = MainWindows();
  EXPECT_NE(CommandLineOf(main).find("zephrinkx.exe\"  -autofix"), std::string::npos) << CommandLineOf(main);
  EXPECT_EQ(ReadJob().runningInstances, 1);

  // Another scheduled start while it runs is handed to its window: no second window.
  ShowWindow(main, SW_HIDE);
  std::u16string line = u"\"" + job.applicationName + u"\" " + job.parameters;
  PROCESS_INFORMATION second{};
  ASSERT_TRUE(CreateProcessW(job.applicationName.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             nullptr, &second));
  EXPECT_TRUE(WaitFor([&] { return WaitForSingleObject(second.hProcess, 0) == WAIT_OBJECT_0; }));
  DWORD secondCode = 99;
  GetExitCodeProcess(second.hProcess, &secondCode);
  CloseHandle(second.hProcess);
  CloseHandle(second.hThread);
  EXPECT_EQ(secondCode, 0u);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
  EXPECT_EQ(CountMainWindows(), 1);

  // Closed, the program ends and the job records the run.
  EXPECT_TRUE(CloseAnsweringBoxes(main));
  ASSERT_TRUE(WaitFor([&] { return run.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; }));
  EXPECT_EQ(run.get(), 1);
  EXPECT_TRUE(reports.empty());
  job = ReadJob();
  EXPECT_EQ(job.exitCode, 0u);
  EXPECT_EQ(job.status, SCHED_S_TASK_READY);
  EXPECT_EQ(job.runningInstances, 0);
  EXPECT_EQ(job.lastRun.wYear, 2000);
  EXPECT_EQ(job.lastRun.wMonth, 1);
  EXPECT_EQ(job.lastRun.wDay, 1);
  EXPECT_EQ(job.lastRun.wHour, 3);
  EXPECT_EQ(job.lastRun.wMinute, 1);
}

// A value of a key of the user's product registry root ("" when it cannot be read).
std::u16string ProductValue(const std::u16string& key, const char16_t* name) {
  const std::u16string path = std::u16string(GetProductRegistryKeyText()) + u"\\" + key;
  char16_t text[256] = {};
  DWORD size = sizeof text - sizeof(char16_t);
  if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
    return u"";
  return text;
}

bool Subkey(HKEY key, DWORD index, char16_t* name, DWORD size) {
  return RegEnumKeyExW(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// Whether a driver of the device class keys has the version (the install writes it there).
bool ADriverHasVersion(const char* version) {
  const std::u16string wanted(version, version + std::strlen(version));
  HKEY classes = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SYSTEM\\CurrentControlSet\\Control\\Class", 0, KEY_READ, &classes) !=
      ERROR_SUCCESS)
    return false;
  bool found = false;
  char16_t guid[64], driver[16];
  for (DWORD i = 0; !found && Subkey(classes, i, guid, 64); ++i) {
    HKEY drivers = nullptr;
    if (RegOpenKeyExW(classes, guid, 0, KEY_READ, &drivers) != ERROR_SUCCESS) continue;
    for (DWORD j = 0; !found && Subkey(drivers, j, driver, 16); ++j) {
      char16_t text[64] = {};
      DWORD size = sizeof text - sizeof(char16_t);
      found = RegGetValueW(drivers, driver, u"DriverVersion", RRF_RT_REG_SZ, nullptr, text, &size) == ERROR_SUCCESS &&
              wanted == text;
    }
    RegCloseKey(drivers);
  }
  RegCloseKey(classes);
  return found;
}

class ScheduledRunOnTheLaptop : public ScheduledRun {
 protected:
  void SetUp() override {
    ScheduledRun::SetUp();
    // The main program reads its language texts beside itself.
    for (const char* name : {"lang.lng", "velquor.ini"})
      std::filesystem::copy_file(std::filesystem::path(ZX_PROGRAM_TEXTS_DIR) / name, ProgramFile(name),
                                 std::filesystem::copy_options::overwrite_existing);
    road::SeedLaptop(root());
    // A 32-bit Windows: the device installer installs the INF packages itself.
    road::SetMachineValue(root(), "Windows", "Architecture", "x86");
    road::WriteCatalogue(catalogue_.path());
    service_ = road::StartService(root(), catalogue_.path(), uploads_.path());
    ASSERT_NE(service_, nullptr);
  }
  void TearDown() override {
    ScheduledRun::TearDown();
    service_.reset();
  }
  TempFolder catalogue_, uploads_;
  std::unique_ptr<StandIn> service_;
};

TEST_F(ScheduledRunOnTheLaptop, AScheduledAutoFixScansAndInstallsWhatItFound) {
  {
    CScheduleManager jobs;
    ASSERT_TRUE(jobs.ReplaceTask(GetProductTaskName(), GetProductTaskName(), _T(" -autofix"),
                                 path::HostToWindows(ProgramFile("zephrinkx.exe").string()).c_str(),
                                 path::HostToWindows(ProgramFile("").string()).c_str(),
                                 TestTrigger(TASK_TIME_TRIGGER_DAILY, 3, 0)));
  }
  clock_.Advance((3 * 60 + 1) * 60 * 1000);
  std::vector<std::string> reports;
  taskscheduler::JobRunner runner([&reports](const std::string& text) { reports.push_back(text); });
  std::future<int> run = std::async(std::launch::async, [&runner] { return runner.RunDueNow(); });
  const ProgramsEnded ended;
  ASSERT_TRUE(WaitFor([] { return MainWindows() != nullptr; }));

  // The scan asks the service, records its outcome, and the found drivers are installed (the
  // NVIDIA display's zip, and the Intel display's 7z with the 7-Zip program of the program's folder).
  EXPECT_NE(service_->NextLineStarting("POST GetUpdateInfo", 20000), "");
  EXPECT_TRUE(WaitFor([] { return ADriverHasVersion(road::kDrivers[road::kNvidiaDisplay].version); }));
  EXPECT_TRUE(WaitFor([] { return ADriverHasVersion(road::kDrivers[road::kIntelDisplay].version); }));
  EXPECT_EQ(ProductValue(u"Zephrin Tunevo\\LastScanStatus", u"OutOfDate"), u"2 Drivers");

  EndMainPrograms();
  ASSERT_TRUE(WaitFor([&] { return run.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; }));
  EXPECT_EQ(run.get(), 1);
  EXPECT_TRUE(reports.empty());
  const taskschd::Job job = ReadJob();
  EXPECT_EQ(job.exitCode, 0u);
  EXPECT_EQ(job.status, SCHED_S_TASK_READY);
  EXPECT_EQ(job.lastRun.wHour, 3);
  // The download history lists the package it installed, named by the hardware id.
  std::string package;
  for (const char* c = road::kDrivers[road::kNvidiaDisplay].hardwareId; *c; ++c)
    if (*c != '\\') package += std::string(1, static_cast<char>(std::tolower(*c))) + '\0';
  EXPECT_NE(FindInRoot("Download.dat").find(package), std::string::npos);
}

}  // namespace
}  // namespace zx::test
