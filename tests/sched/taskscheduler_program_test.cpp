// The program zxtaskscheduler as a process: run by hand it starts the due jobs and ends with
// their runs recorded (exit code 1 when a job file is damaged, the other jobs run all the
// same); as the "Schedule" service the service control manager starts it, it starts a job when
// its minute comes, and a stop ends it, as does the removal of its machine root, also when a
// root is made again in its place.
#include <gtest/gtest.h>

#include <winreg.h>
#include <winsvc.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "errhandlingapi.h"
#include "handleapi.h"
#include "profileapi.h"
#include "synchapi.h"
#include "taskscheduler_fixture.h"
#include "winprocess.h"
#include "winsvcenum.h"
#include "zx/machine.h"
#include "zx/processes.h"

namespace zx::test {
namespace {

class ProgramTest : public RunnerTest {
 protected:
  std::string Program() const { return zx::machine::ProgramFolder() + "/zxtaskscheduler"; }
  // Runs the program to its end; its exit code.
  DWORD RunProgram(const std::vector<std::string>& arguments) {
    std::vector<std::string> words{Program()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    DWORD error = 0;
    const HANDLE process = zx::process::StartProgram(Program(), words, "", nullptr, error);
    EXPECT_NE(process, nullptr) << error;
    if (!process) return 0xFFFFFFFFu;
    WaitForSingleObject(process, 20000);
    DWORD exitCode = 0;
    GetExitCodeProcess(process, &exitCode);
    CloseHandle(process);
    return exitCode;
  }
};

TEST_F(ProgramTest, RunByHandStartsTheDueJobsAndReportsADamagedFile) {
  WriteJob("Due", RecorderJob("Due", u" -shutdown", {OnceAt(2000, 1, 1, 0, 0)}));
  WriteJob("Future", RecorderJob("Future", u"-schedule", {OnceAt(2999, 1, 1, 0, 0)}));
  EXPECT_EQ(RunProgram({}), 0u);
  EXPECT_EQ(Recorded("Due"), "-shutdown\n");
  EXPECT_EQ(ReadJob("Due").exitCode, 23u);
  EXPECT_TRUE(Ended("Due"));
  EXPECT_EQ(Recorded("Future"), "<not run>");

  WriteHostFile(JobFile("Broken"), std::string(80, '\xFF'));
  WriteJob("Second", RecorderJob("Second", u"-schedule", {OnceAt(2000, 1, 1, 0, 0)}));
  EXPECT_EQ(RunProgram({}), 1u);
  EXPECT_EQ(Recorded("Second"), "-schedule\n");
  EXPECT_EQ(RunProgram({"-unknown"}), 2u);
}

class ScheduleServiceTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    const std::u16string ini = zx::path::HostToWindows(root() + "/machine.ini");
    WritePrivateProfileStringW(u"Machine", u"Administrator", u"1", ini.c_str());
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SYSTEM\\CurrentControlSet\\Services\\Schedule", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD type = SERVICE_WIN32_SHARE_PROCESS, start = SERVICE_AUTO_START;
    RegSetValueExW(key, u"Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&type), 4);
    RegSetValueExW(key, u"Start", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&start), 4);
    RegCloseKey(key);
    manager_ = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    service_ = OpenServiceW(manager_, u"schedule", SERVICE_ALL_ACCESS);
    ASSERT_NE(service_, nullptr);
  }
  void TearDown() override {
    SERVICE_STATUS status{};
    ControlService(service_, SERVICE_CONTROL_STOP, &status);
    CloseServiceHandle(service_);
    CloseServiceHandle(manager_);
    ProgramTest::TearDown();
  }
  SERVICE_STATUS_PROCESS Status() const {
    SERVICE_STATUS_PROCESS status{};
    DWORD needed = 0;
    EXPECT_TRUE(QueryServiceStatusEx(service_, SC_STATUS_PROCESS_INFO, reinterpret_cast<LPBYTE>(&status),
                                     sizeof status, &needed));
    return status;
  }
  // Local time runs 10 s before a whole minute (the zone's offset has seconds), so that a job
  // set for the next minute comes soon; answers that minute. Child processes take the zone
  // from the environment when they start.
  static std::tm NextMinuteSoon() {
    const std::time_t now = std::time(nullptr);
    const int offset = static_cast<int>((50 - now % 60 + 60) % 60);
    char zone[32];
    std::snprintf(zone, sizeof zone, "ZXT-00:00:%02d", offset);
    ::setenv("TZ", zone, 1);
    ::tzset();
    const std::time_t next = now + 60 - (now + offset) % 60;
    std::tm local{};
    localtime_r(&next, &local);
    return local;
  }

  SC_HANDLE manager_ = nullptr;
  SC_HANDLE service_ = nullptr;
};

TEST_F(ScheduleServiceTest, AStartedServiceRunsTheJobWhenItsMinuteComes) {
  EXPECT_EQ(Status().dwCurrentState, SERVICE_STOPPED);  // no process yet
  const std::tm minute = NextMinuteSoon();
  ASSERT_TRUE(StartServiceW(service_, 0, nullptr));
  // Written while the service runs, a few seconds before its minute.
  WriteJob("Scan", RecorderJob("Scan", u"-schedule",
                               {OnceAt(static_cast<WORD>(minute.tm_year + 1900), static_cast<WORD>(minute.tm_mon + 1),
                                       static_cast<WORD>(minute.tm_mday), static_cast<WORD>(minute.tm_hour),
                                       static_cast<WORD>(minute.tm_min))}));
  const SERVICE_STATUS_PROCESS running = Status();
  EXPECT_EQ(running.dwCurrentState, SERVICE_RUNNING);
  zx::process::HostProcess process;
  ASSERT_TRUE(zx::process::Describe(running.dwProcessId, process));
  EXPECT_EQ(process.name, u"zxtaskscheduler.exe");
  EXPECT_FALSE(StartServiceW(service_, 0, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_ALREADY_RUNNING));

  ASSERT_TRUE(Eventually([&] { return Ended("Scan"); }));
  EXPECT_EQ(Recorded("Scan"), "-schedule\n");
  EXPECT_EQ(ReadJob("Scan").exitCode, 23u);
  EXPECT_EQ(ReadJob("Scan").lastRun.wMinute, minute.tm_min);

  SERVICE_STATUS stopped{};
  ASSERT_TRUE(ControlService(service_, SERVICE_CONTROL_STOP, &stopped));
  EXPECT_TRUE(Eventually([&] { return !zx::process::Describe(running.dwProcessId, process); }));
  EXPECT_EQ(Status().dwCurrentState, SERVICE_STOPPED);
  EXPECT_EQ(Status().dwProcessId, 0u);
}

// A root removed, or removed and seeded again under the same path (its service's lock file a
// new one), leaves nothing for the service it had: that service ends, so starts on the new
// root never find an old service beside theirs.
TEST_F(ScheduleServiceTest, TheServiceEndsWhenItsMachineRootGoesEvenIfOneIsMadeInItsPlace) {
  namespace fs = std::filesystem;
  const std::string lock = zx::machine::RuntimeFolder() + "/taskscheduler.lock";
  const std::string kept = root() + ".kept";
  for (const bool remade : {false, true}) {
    ASSERT_TRUE(StartServiceW(service_, 0, nullptr)) << remade;
    const DWORD id = Status().dwProcessId;
    zx::process::HostProcess process;
    ASSERT_TRUE(zx::process::Describe(id, process));
    ASSERT_TRUE(Eventually([&] { return fs::exists(lock); })) << "the service holds its lock";
    fs::rename(root(), kept);
    if (remade) {
      fs::create_directories(fs::path(lock).parent_path());
      std::ofstream(lock) << "";
    }
    EXPECT_TRUE(Eventually([&] { return !zx::process::Describe(id, process); })) << remade;
    fs::remove_all(root());
    fs::rename(kept, root());
    fs::remove(lock);  // the next service makes its own
    WritePrivateProfileStringW(u"ServiceProcesses", u"schedule", nullptr,
                               zx::path::HostToWindows(root() + "/machine.ini").c_str());
  }
}

}  // namespace
}  // namespace zx::test
