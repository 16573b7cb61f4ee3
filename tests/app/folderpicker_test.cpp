// The folder picker driven as a user would: the start folder is made when missing and
// selected, and OK is offered only on a folder fit for the program's files.
#include <gtest/gtest.h>
#include <fileapi.h>
#include <winuser.h>

#include <filesystem>
#include <functional>

#include "FolderPicker.h"
#include "machine_fixture.h"
#include "zx/modal.h"

namespace zx::test {
namespace {

class FolderPicker : public MachineTest {
 protected:
  void TearDown() override { user::SetIdleHook(nullptr); }
  // Runs the picker; when idle the first time with its dialog up, `act` runs with the dialog.
  CString Pick(LPCTSTR start, const std::function<void(HWND)>& act) {
    bool done = false;
    user::SetIdleHook([&] {
      const HWND dialog = FindWindowW(_T("#32770"), nullptr);
      if (done || !dialog) return;
      done = true;
      act(dialog);
    });
    return BrowseForFolder(nullptr, start);
  }
};

TEST_F(FolderPicker, AMissingStartFolderIsMadeSelectedAndChosenWithOk) {
  BOOL okEnabled = FALSE;
  const CString chosen = Pick(_T("C:\\Backups\\Drivers"), [&](HWND dialog) {
    okEnabled = IsWindowEnabled(GetDlgItem(dialog, IDOK));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_TRUE(std::filesystem::is_directory(root() + "/drive_c/Backups/Drivers"));
  EXPECT_TRUE(okEnabled);
  EXPECT_EQ(chosen.CompareNoCase(_T("C:\\Backups\\Drivers")), 0) << CStringA(chosen).GetString();
}

TEST_F(FolderPicker, ARecycleBinIsNotOfferedAndCancelAnswersNothing) {
  BOOL okEnabled = TRUE;
  const CString chosen = Pick(_T("C:\\$Recycle.Bin\\Old"), [&](HWND dialog) {
    okEnabled = IsWindowEnabled(GetDlgItem(dialog, IDOK));
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_FALSE(okEnabled);
  EXPECT_TRUE(chosen.IsEmpty());
}

}  // namespace
}  // namespace zx::test
