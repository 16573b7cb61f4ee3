// The after-install wizard: without the backup program it still makes the first restore point,
// records success and closes by itself; the backup program runs hidden in its own folder
// without moving the process's current folder, and a program that never ends is given up on
// after the bounded wait; the look of the wizard while it starts.
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

#include "DlgAfterInstallWiz.h"
#include "DlgParentTransculent.h"
#include "Registry.h"
#include "RestorePoint.h"
#include "popups_testing.h"
#include "zx/modal.h"

namespace zx::test {
namespace {

using namespace std::chrono_literals;

class AfterInstall : public PopupTest {
 protected:
  // A host program "C:\tools\<name>" that runs the shell commands.
  void WriteProgram(const std::string& name, const std::string& commands) {
    const std::string path = root() + "/drive_c/tools/" + name;
    std::filesystem::create_directories(root() + "/drive_c/tools");
    WriteHostFile(path, "#!/bin/sh\n" + commands + "\n");
    ::chmod(path.c_str(), 0755);
  }
  // Runs the program on a thread of its own while the clock moves in 50 ms steps.
  int RunWhileTheClockMoves(LPCTSTR file) {
    auto run = std::async(std::launch::async, [file] {
      return CDlgAfterInstallWiz::RunHiddenProgram(u"C:\\tools", file, u"runhiddenScan");
    });
    for (int i = 0; i < 100000 && run.wait_for(1ms) != std::future_status::ready; ++i) clock_.Advance(50);
    return run.get();
  }
};

TEST_F(AfterInstall, WithoutTheBackupProgramThePointIsMadeAndTheWizardCloses) {
  CDlgAfterInstallWiz wizard(&owner_);
  SYSTEMTIME made{};
  bool pointEarly = true;
  WhileModal({[&] {
                if (!wizard.GetSafeHwnd()) return false;
                pointEarly = LoadRestorePointTime(made);
                wizard.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
                return true;
              },
              [&] {
                ExpectWindowMatches(wizard.GetSafeHwnd(), "afterinstall.png");
                wizard.PostMessage(WM_NULL);
                return true;
              },
              [&] {
                // No input from here on: the clock alone takes the wizard to its end.
                clock_.Advance(20);
                std::this_thread::sleep_for(200us);
                wizard.PostMessage(WM_NULL);
                return false;
              }});
  RunModalWithBackdrop(&owner_, &wizard, CDlgAfterInstallWiz::kTemplateId);
  user::SetIdleHook(nullptr);
  EXPECT_EQ(wizard.GetSafeHwnd(), nullptr);
  EXPECT_FALSE(pointEarly);
  EXPECT_TRUE(LoadRestorePointTime(made));
  EXPECT_TRUE(wizard.IsStepDone(1));
  EXPECT_TRUE(wizard.IsStepDone(2));
  EXPECT_TRUE(CDlgAfterInstallWiz::ReadSysBackupSuccess());
  EXPECT_FALSE(CDlgAfterInstallWiz::IsSystemFileBackupFinished());
}

TEST_F(AfterInstall, TheProgramRunsInItsFolderAndTheProcessKeepsItsCurrentFolder) {
  WriteProgram("backup.exe", "echo \"$1\" > ran.txt");
  WCHAR before[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, before);
  EXPECT_EQ(RunWhileTheClockMoves(u"backup.exe"), 1);
  EXPECT_EQ(ReadHostFile(root() + "/drive_c/tools/ran.txt"), "runhiddenScan\n");
  WCHAR after[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, after);
  EXPECT_EQ(std::u16string(after), std::u16string(before));
  EXPECT_EQ(RunWhileTheClockMoves(u"missing.exe"), 0);
}

TEST_F(AfterInstall, AProgramThatDoesNotEndIsGivenUpAfterTheBoundedWait) {
  WriteProgram("stuck.exe", "sleep 5");
  auto run = std::async(std::launch::async,
                        [] { return CDlgAfterInstallWiz::RunHiddenProgram(u"C:\\tools", u"stuck.exe", u""); });
  std::this_thread::sleep_for(200ms);
  clock_.Advance(CDlgAfterInstallWiz::kBackupWaitMs - 1);
  EXPECT_EQ(run.wait_for(100ms), std::future_status::timeout);
  clock_.Advance(1);
  ASSERT_EQ(run.wait_for(2s), std::future_status::ready);
  EXPECT_EQ(run.get(), 0);
}

TEST_F(AfterInstall, TheBackupFlagAndTheSuccessValueAreDwordsUnderTheProductKey) {
  CDlgAfterInstallWiz::WriteSysBackupSuccess(0);
  EXPECT_FALSE(CDlgAfterInstallWiz::ReadSysBackupSuccess());
  CDlgAfterInstallWiz::WriteSysBackupSuccess(1);
  EXPECT_TRUE(CDlgAfterInstallWiz::ReadSysBackupSuccess());
  CString product;
  GetProductRegistryKey(product);
  CRegistry key;
  ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, product + _T("\\SwiftTend\\Quellisk"), TRUE));
  key.WriteDWORDValue(_T("CLEANFINISHED"), 1);
  EXPECT_TRUE(CDlgAfterInstallWiz::IsSystemFileBackupFinished());
  CDlgAfterInstallWiz::ResetSystemFileBackupFlag();
  EXPECT_FALSE(CDlgAfterInstallWiz::IsSystemFileBackupFinished());
}

}  // namespace
}  // namespace zx::test
