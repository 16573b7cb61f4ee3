// The after-install wizard: without the backup program it still makes the first restore point,
// records success and closes by itself; the backup program runs hidden in its own folder
// without moving the process's current folder, and a program that never ends is given up on
// after the bounded wait; the look of the wizard while it starts; the step operations.
#include <sys/stat.h>

#include <algorithm>
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

// The step operations on a wizard whose own tasks are done: the texts of the steps, the status
// of the current step with the controls beside it, and the icon strip's cells.
TEST_F(AfterInstall, TheStepOperationsShowEachStepsStatusControlsAndIcon) {
  CDlgAfterInstallWiz wizard(&owner_);
  ASSERT_TRUE(wizard.Create(CDlgAfterInstallWiz::kTemplateId, &owner_));
  wizard.ShowWindow(SW_SHOW);
  for (int i = 0; i < 2000 && !(wizard.IsStepDone(2) && CDlgAfterInstallWiz::ReadSysBackupSuccess()); ++i) {
    clock_.Advance(50);
    std::this_thread::sleep_for(1ms);
    Pump();
  }
  clock_.Advance(500);  // the finishing timer's two turns
  Pump();
  EXPECT_EQ(wizard.GetStepCount(), 4);
  EXPECT_EQ(wizard.IsWizardAvailable(), 1);
  EXPECT_EQ(wizard.GetStepHeading(2), u"Database");
  EXPECT_EQ(wizard.GetStepDescription(2), u"Zephrin Tunevo fetches its database.");
  EXPECT_EQ(wizard.GetStepStatus(0), u"Waiting");

  CRect client;
  wizard.GetClientRect(&client);
  const int W = client.Width();
  const HWND animation = ::GetDlgItem(wizard.m_hWnd, 1179);
  const HWND next = ::GetDlgItem(wizard.m_hWnd, 1190);
  const HWND skip = ::GetDlgItem(wizard.m_hWnd, 1198);
  const struct {
    int step, state;
    const char16_t* status;
    bool besideShown, offered;
  } kCases[] = {
      {2, CDlgAfterInstallWiz::kStepRunning, u"", true, true},
      {2, CDlgAfterInstallWiz::kStepComplete, u"Complete", false, true},
      {0, CDlgAfterInstallWiz::kStepRunning, u"", true, false},
      {0, CDlgAfterInstallWiz::kStepNotComplete, u"Not complete", false, false},
  };
  for (const auto& c : kCases) {
    const std::string which = std::to_string(c.step) + "/" + std::to_string(c.state);
    wizard.SetCurrentStep(c.step);
    // The operation waits as a step's worker does: on a thread of its own, the clock moving.
    auto run = std::async(std::launch::async, [&] { wizard.SetStepStatus(c.state); });
    while (run.wait_for(1ms) != std::future_status::ready) {
      clock_.Advance(50);
      Pump();
    }
    Pump();
    EXPECT_EQ(wizard.GetStepStatus(c.step), CString(c.status)) << which;
    EXPECT_EQ(wizard.GetStatusRect(), CRect(W - 112, c.step * 72 + 121, W - 31, c.step * 72 + 141)) << which;
    EXPECT_EQ(::IsWindowVisible(animation) != FALSE, c.besideShown) << which;
    EXPECT_EQ(::IsWindowVisible(skip) != FALSE, c.besideShown) << which;
    EXPECT_EQ(::IsWindowEnabled(next) != FALSE, c.offered) << which;
    RECT place{};
    ::GetWindowRect(animation, &place);
    ::MapWindowPoints(nullptr, wizard.m_hWnd, reinterpret_cast<POINT*>(&place), 2);
    // The clip's open sizes the control to its frames; its place is the step's.
    EXPECT_EQ(CPoint(place.left, place.top), CPoint(W - 165, c.step * 72 + 121)) << which;
  }

  // Each step's icon is its own cell of the strip, pending and done apart.
  CBitmap surface;
  CClientDC screen(&wizard);
  surface.CreateCompatibleBitmap(&screen, 200, 400);
  CDC memory;
  memory.CreateCompatibleDC(&screen);
  CBitmap* old = memory.SelectObject(&surface);
  memory.FillSolidRect(0, 0, 200, 400, 0xFFFFFF);
  {
    Gdiplus::Graphics graphics(memory.GetSafeHdc());
    wizard.DrawStepIcon(graphics, 0, FALSE);
    wizard.DrawStepIcon(graphics, 1, TRUE);
  }
  std::vector<COLORREF> zero, one;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) {
      zero.push_back(memory.GetPixel(80 + x, 121 + y));
      one.push_back(memory.GetPixel(80 + x, 193 + y));
    }
  memory.SelectObject(old);
  EXPECT_NE(zero, one);
  EXPECT_NE(std::count(zero.begin(), zero.end(), COLORREF(0xFFFFFF)), 24 * 24) << "the cell was drawn";
  wizard.DestroyWindow();
}

}  // namespace
}  // namespace zx::test
