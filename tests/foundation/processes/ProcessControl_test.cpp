// Process control of the shared library: ending and finding programs by file name (with the
// folder test and the answer kept for an interval), the process list edits, the number text,
// the administrators check, the scheduled job text and the program's own file.
#include <gtest/gtest.h>

#include <winprocess.h>

#include <filesystem>

#include "ProcessControl.h"
#include "child_program.h"
#include "machine_fixture.h"
#include "zx/clock.h"
#include "zx/jobfile.h"
#include "zx/machine.h"
#include "zx/pathmap.h"

namespace {

class ProcessControlTest : public zx::test::MachineTest {
 protected:
  HANDLE Start() { return program_.Start().hProcess; }
  CString Name() const { return CString(program_.Name().c_str()); }
  ChildProgram program_;
};

TEST_F(ProcessControlTest, KillByNameEndsEveryMatchWith666) {
  HANDLE first = Start();
  HANDLE second = Start();
  CString upper = Name();
  upper.MakeUpper();
  EXPECT_TRUE(KillProcessByName(upper));
  for (HANDLE process : {first, second}) {
    ASSERT_EQ(WaitForSingleObject(process, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    EXPECT_EQ(code, 666u);
  }
  EXPECT_FALSE(KillProcessByName(_T("")));
  EXPECT_FALSE(KillProcessByName(nullptr));
}

TEST_F(ProcessControlTest, RunningProgramIsFoundByName) {
  EXPECT_FALSE(IsProcessRunning(Name(), 0, FALSE));
  Start();
  EXPECT_TRUE(IsProcessRunning(Name(), 0, FALSE));
  EXPECT_TRUE(IsProcessRunning(Name(), 0, TRUE));  // beside this program
  EXPECT_FALSE(IsProcessRunning(_T(""), 0, FALSE));
}

TEST_F(ProcessControlTest, SameFolderFlagRefusesACopyElsewhere) {
  ChildProgram elsewhere(root() + "/elsewhere");
  elsewhere.Start();
  // A program outside the program folder is named by its file name as it is.
  const CString name = elsewhere.Name().c_str();
  EXPECT_TRUE(IsProcessRunning(name, 0, FALSE));
  EXPECT_FALSE(IsProcessRunning(name, 0, TRUE));
}

TEST_F(ProcessControlTest, AnswerWithinTheIntervalIsTheLastLook) {
  zx::ManualClock clock;
  zx::SetClock(&clock);
  EXPECT_FALSE(IsProcessRunning(Name(), 5000, FALSE));
  Start();
  EXPECT_FALSE(IsProcessRunning(Name(), 5000, FALSE));  // no new look yet
  EXPECT_TRUE(IsProcessRunning(Name(), 0, FALSE));
  clock.Advance(5001);
  EXPECT_TRUE(IsProcessRunning(Name(), 5000, FALSE));
  zx::SetClock(nullptr);
}

TEST_F(ProcessControlTest, ProcessListEditsAndListedKills) {
  CStringArray list;
  EditProcessList(list, Name(), TRUE);
  EditProcessList(list, _T("  other.exe "), TRUE);
  EditProcessList(list, _T("Other.EXE"), TRUE);
  EditProcessList(list, _T("other.exe"), FALSE);
  ASSERT_EQ(list.GetSize(), 2);
  EXPECT_EQ(list[1], CString(_T("Other.EXE")));
  list.Add(_T("   "));
  HANDLE child = Start();
  KillListedProcesses(list);
  EXPECT_EQ(list.GetSize(), 0);
  EXPECT_EQ(WaitForSingleObject(child, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
}

TEST_F(ProcessControlTest, NumberTextIsGroupedByThree) {
  WCHAR buffer[32];
  EXPECT_EQ(CString(FormatNumberText(1234567, buffer, 32)), CString(_T("1,234,567")));
  EXPECT_EQ(CString(FormatNumberText(-1234, buffer, 32)), CString(_T("-1,234")));
  EXPECT_EQ(CString(FormatNumberText(999, buffer, 32)), CString(_T("999")));
  EXPECT_EQ(CString(FormatNumberText(0, buffer, 32)), CString(_T("0")));
  EXPECT_EQ(CString(FormatNumberText(1234567, buffer, 4)), CString(_T("1,2")));
}

TEST_F(ProcessControlTest, AdministratorOfTheMachineIsInTheGroup) {
  WriteHostFile(root() + "/machine.ini", "[Machine]\nAdministrator=1\n");
  EXPECT_TRUE(IsAdminGroupMember());
}

TEST_F(ProcessControlTest, ScheduledJobText) {
  zx::ManualClock clock;
  zx::SetClock(&clock);
  CString text;
  EXPECT_FALSE(GetScheduledJobText(_T("Zephrin Scan"), text));
  zx::taskschd::Job job;
  WriteHostFile(root() + "/drive_c/Windows/Tasks/Bare.job", [&] {
    const auto bytes = zx::taskschd::SerializeJob(job);
    return std::string(bytes.begin(), bytes.end());
  }());
  EXPECT_FALSE(GetScheduledJobText(_T("Bare"), text));
  TASK_TRIGGER once{};
  once.TriggerType = TASK_TIME_TRIGGER_ONCE;
  once.wBeginYear = 2030, once.wBeginMonth = 3, once.wBeginDay = 5, once.wStartHour = 14;
  job.triggers.push_back(once);
  const auto bytes = zx::taskschd::SerializeJob(job);
  WriteHostFile(root() + "/drive_c/Windows/Tasks/Zephrin Scan.job", std::string(bytes.begin(), bytes.end()));
  EXPECT_TRUE(GetScheduledJobText(_T("Zephrin Scan"), text));
  EXPECT_EQ(text.Right(6), CString(_T(" hours")));
  zx::SetClock(nullptr);
}

TEST_F(ProcessControlTest, ProgramFileIsThisProgram) {
  const CString path = GetProgramFilePath();
  EXPECT_EQ(std::u16string(path.GetString()),
            zx::path::HostToWindows(zx::machine::ProgramFolder() + "/process_control_tests") + u".exe");
}

TEST_F(ProcessControlTest, FileVersionTextOfAFileWithoutOne) {
  WriteHostFile(root() + "/drive_c/plain.txt", "no version here");
  EXPECT_TRUE(GetFileVersionText(_T("C:\\plain.txt")).IsEmpty());
  EXPECT_TRUE(GetFileVersionText(_T("C:\\missing.dll")).IsEmpty());
}

TEST_F(ProcessControlTest, RestartStartsThisProgramAgain) {
  testing::internal::CaptureStderr();
  EXPECT_TRUE(RestartElevated(_T("--gtest_list_tests"), FALSE));
  testing::internal::GetCapturedStderr();
}

TEST_F(ProcessControlTest, DataFolderIsMadeBelowApplicationData) {
  const CString folder = GetAppDataFolder();
  ASSERT_FALSE(folder.IsEmpty());
  std::string host;
  ASSERT_TRUE(zx::path::WindowsToHost(folder.GetString(), host));
  EXPECT_TRUE(std::filesystem::is_directory(host));
  EXPECT_EQ(GetAppRegistryKey().Left(42), CString(_T("Software\\Corvash Vozivuved\\Zephrin Tunevo\\")));
}

}  // namespace
