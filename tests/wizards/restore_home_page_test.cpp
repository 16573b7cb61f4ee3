// The list of backups and the outcome page of the restore wizard: backups listed latest first
// (archives gone left out), Restore from the selected or the last row with the restart choice
// kept as the setting "Reboot", Delete in a table of archives that may and may not go, and
// the outcome's counts, colours and restart.
#include <filesystem>

#include "DlgRestore1Home.h"
#include "DlgRestore4Finish.h"
#include "SettingsStore.h"
#include "wizards_testing.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

constexpr LPCTSTR kOlder = _T("ZephrinTunevoBackup-Friday,05-Mar-2021_H14-M07-S09.zip");
constexpr LPCTSTR kNewer = _T("ZephrinTunevoBackup-Saturday,01-Jan-2000_H00-M00-S00.zip");
constexpr LPCTSTR kLatest = _T("ZephrinTunevoBackup-Monday,01-Nov-2021_H08-M00-S00.zip");

class RestorePages : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    for (LPCTSTR name : {kOlder, kNewer, kLatest}) AddArchive(name, CString(_T("C:\\Backups\\")) + name);
    // A backup whose archive is gone is not listed.
    restore_.list.SetAt(_T("ZephrinTunevoBackup-Sunday,02-Jan-2000_H00-M00-S00.zip"), _T("C:\\Backups\\gone.zip"));
    ASSERT_TRUE(home_.Create(CDlgRestore1Home::kTemplateId, &host_));
  }
  void TearDown() override {
    if (finish_.m_hWnd != nullptr) finish_.DestroyWindow();
    home_.DestroyWindow();
    WizardTest::TearDown();
  }
  void AddArchive(const CString& name, const CString& path) {
    WriteHostFile(HostPath(path), "PK\x05\x06");
    restore_.list.SetAt(name, path);
  }
  void Show() {
    home_.ShowWindow(SW_SHOW);
    Pump();
  }
  // The outcome page (made on first use, so that the home page keeps the focus) shown again
  // after a restore of the given counts.
  void Show(int chosen, int handled, int failed) {
    if (finish_.m_hWnd == nullptr) {
      ASSERT_TRUE(finish_.Create(CDlgRestore4Finish::kTemplateId, &host_));
    }
    restore_.state.driversChosen = chosen;
    restore_.state.driversHandled = handled;
    restore_.state.driversFailed = failed;
    finish_.ShowWindow(SW_HIDE);
    finish_.ShowWindow(SW_SHOW);
    Pump();
  }
  std::vector<CString> Rows() {
    std::vector<CString> rows;
    for (int i = 0; i < home_.GetList().GetItemCount(); ++i) rows.push_back(home_.GetList().GetItemText(i, 0));
    return rows;
  }
  bool Enabled(UINT id) { return home_.GetDlgItem(id)->IsWindowEnabled() != FALSE; }

  FakeRestoreOwner restore_;
  CDlgRestore1Home home_{restore_};
  CDlgRestore4Finish finish_{restore_};
};

TEST_F(RestorePages, ListsTheBackupsThatExistLatestFirst) {
  Show();
  EXPECT_EQ(Rows(), (std::vector<CString>{kLatest, kOlder, kNewer}));
  EXPECT_EQ(restore_.leftButtons, std::vector<int>{0});
  EXPECT_TRUE(Enabled(CDlgRestore1Home::kRestoreId));
  EXPECT_TRUE(Enabled(CDlgRestore1Home::kDeleteId));
  EXPECT_EQ(home_.IsDlgButtonChecked(CDlgRestore1Home::kManualRestartId), BST_CHECKED);
  ExpectWindowMatches(home_.m_hWnd, "restore1_home.png");
}

TEST_F(RestorePages, RestoreTakesTheSelectedRowAndKeepsTheRestartChoice) {
  Show();
  home_.GetList().SelectSingleItem(1);
  Press(home_, CDlgRestore1Home::kAutoRestartId);
  Press(home_, CDlgRestore1Home::kRestoreId);
  EXPECT_EQ(restore_.state.archiveName, CString(kOlder));
  EXPECT_TRUE(restore_.state.archiveChosen);
  EXPECT_TRUE(restore_.state.autoRestart);
  EXPECT_EQ(restore_.pages, std::vector<UINT>{CWizardOwner::kSecondPage});
  EXPECT_EQ(restore_.leftButtons, (std::vector<int>{0, 1}));
  CString reboot;
  ASSERT_TRUE(GetHkcuValue(BuildSettingsKeyPath(), kSettingReboot, reboot, kSettingText));
  EXPECT_EQ(reboot, CString(_T("0")));
}

TEST_F(RestorePages, AClickOnNoRowSelectsTheLastRow) {
  Show();
  CRect list;
  home_.GetList().GetWindowRect(&list);
  ClickAt(POINT{list.CenterPoint().x, list.bottom - 10});
  Pump();
  EXPECT_EQ(home_.GetList().GetNextItem(-1, LVNI_SELECTED), 2);
}

TEST_F(RestorePages, WithoutASelectionTheLastRowIsRestored) {
  Show();
  for (int i = 0; i < home_.GetList().GetItemCount(); ++i) home_.GetList().SetItemState(i, 0, LVIS_SELECTED);
  Press(home_, CDlgRestore1Home::kRestoreId);
  EXPECT_EQ(restore_.state.archiveName, CString(kNewer));
  EXPECT_FALSE(restore_.state.autoRestart);
  CString reboot;
  ASSERT_TRUE(GetHkcuValue(BuildSettingsKeyPath(), kSettingReboot, reboot, kSettingText));
  EXPECT_EQ(reboot, CString(_T("1")));
}

TEST_F(RestorePages, AnEmptyListRestoresNothing) {
  restore_.list.RemoveAll();
  Show();
  EXPECT_FALSE(Enabled(CDlgRestore1Home::kRestoreId));
  EXPECT_FALSE(Enabled(CDlgRestore1Home::kDeleteId));
  Answer(_T("There is no backup yet."), 0);
  home_.SendMessage(WM_COMMAND, CDlgRestore1Home::kRestoreId);
  ExpectAllStepsRan();
  EXPECT_TRUE(restore_.pages.empty());
}

// Delete: which backups may go. Only a ".zip" file of the list is ever deleted; the list is a
// file the user can change, so it may name another file.
TEST_F(RestorePages, DeleteRemovesOnlyArchives) {
  const struct {
    const char* label;
    LPCTSTR path;
    bool goneMeanwhile;  // removed after the list was shown
    int answer;  // 0 Yes, 1 No
    bool deleted;
    bool unlisted = false;  // the backup list forgot it after the list was shown
  } kCases[] = {
      {"an archive", _T("C:\\Backups\\b.zip"), false, 0, true},
      {"an archive, answered No", _T("C:\\Backups\\b.zip"), false, 1, false},
      {"another kind of file", _T("C:\\Backups\\notes.txt"), false, 0, false},
      {"an archive removed meanwhile", _T("C:\\Backups\\c.zip"), true, 0, true},
      // The row goes; a file the list does not name is never deleted.
      {"a row the backup list no longer names", _T("C:\\Backups\\d.zip"), false, 0, true, true},
  };
  const CString name = _T("ZephrinTunevoBackup-Wednesday,01-Dec-2021_H08-M00-S00.zip");
  for (const auto& entry : kCases) {
    SCOPED_TRACE(entry.label);
    const std::string host = HostPath(entry.path);
    AddArchive(name, entry.path);
    Show();
    if (entry.goneMeanwhile) fs::remove(host);
    if (entry.unlisted) restore_.list.RemoveKey(name);
    home_.GetList().SelectSingleItem(0);
    restore_.listSaves = 0;
    restore_.uiEnabled.clear();
    const int rows = home_.GetList().GetItemCount();
    std::vector<std::function<bool()>> steps{BoxStep(_T("Delete the chosen backup?"), entry.answer)};
    if (entry.answer == 0)
      steps.push_back(BoxStep(entry.deleted ? _T("The backup was deleted.") : _T("The backup could not be deleted."), 0));
    WhileModal(steps);
    Press(home_, CDlgRestore1Home::kDeleteId);
    ExpectAllStepsRan();
    CString kept;
    EXPECT_EQ(restore_.list.Lookup(name, kept) != FALSE, !entry.deleted);
    EXPECT_EQ(fs::exists(host), !entry.deleted || entry.unlisted);
    EXPECT_EQ(home_.GetList().GetItemCount(), entry.deleted ? rows - 1 : rows);
    EXPECT_EQ(restore_.listSaves, entry.deleted ? 1 : 0);
    EXPECT_EQ(restore_.uiEnabled, entry.answer == 0 ? (std::vector<bool>{false, true}) : std::vector<bool>{});
    restore_.list.RemoveKey(name);
    home_.ShowWindow(SW_HIDE);
  }
  // The other archives were never touched.
  for (LPCTSTR other : {kOlder, kNewer, kLatest}) EXPECT_TRUE(fs::exists(HostPath(CString(_T("C:\\Backups\\")) + other)));
}

TEST_F(RestorePages, DeletingTheLastArchiveEmptiesTheList) {
  restore_.list.RemoveAll();
  AddArchive(kOlder, CString(_T("C:\\Backups\\")) + kOlder);
  Show();
  WhileModal({BoxStep(_T("Delete the chosen backup?"), 0), BoxStep(_T("The backup was deleted."), 0)});
  Press(home_, CDlgRestore1Home::kDeleteId);
  ExpectAllStepsRan();
  EXPECT_EQ(home_.GetList().GetItemCount(), 0);
  EXPECT_FALSE(Enabled(CDlgRestore1Home::kRestoreId));
  EXPECT_FALSE(Enabled(CDlgRestore1Home::kDeleteId));
  EXPECT_FALSE(fs::exists(HostPath(CString(_T("C:\\Backups\\")) + kOlder)));
}

TEST_F(RestorePages, CountsInGreenWhenNoneFailed) {
  Show(3, 3, 0);
  EXPECT_EQ(Text(finish_, CDlgRestore4Finish::kChosenId), CString(_T("3 drivers")));
  EXPECT_EQ(Text(finish_, CDlgRestore4Finish::kRestoredId), CString(_T("3 drivers")));
  EXPECT_EQ(Text(finish_, CDlgRestore4Finish::kFailedId), CString(_T("--")));
  EXPECT_EQ(restore_.leftButtons, std::vector<int>{3});
  ExpectWindowMatches(finish_.m_hWnd, "restore4_finish.png");
  Show(3, 3, 2);
  EXPECT_EQ(Text(finish_, CDlgRestore4Finish::kRestoredId), CString(_T("1 drivers")));
  EXPECT_EQ(Text(finish_, CDlgRestore4Finish::kFailedId), CString(_T("2 drivers")));
  ExpectWindowMatches(finish_.m_hWnd, "restore4_finish_failed.png");
  Press(finish_, CDlgRestore4Finish::kBackId);
  EXPECT_EQ(restore_.pages, std::vector<UINT>{CWizardOwner::kFirstPage});
  EXPECT_EQ(restore_.leftButtons, std::vector<int>{0});
  EXPECT_EQ(restore_.restarts, 0);
  EXPECT_TRUE(restore_.restartQuestions.empty());
}

TEST_F(RestorePages, ARestoreThatNeedsARestartRestartsOrAsks) {
  restore_.state.restartNeeded = restore_.state.autoRestart = TRUE;
  Show(1, 1, 0);
  EXPECT_EQ(restore_.restarts, 1);
  EXPECT_TRUE(restore_.restartQuestions.empty());

  restore_.state.autoRestart = FALSE;
  Show(1, 1, 0);
  EXPECT_FALSE(restore_.state.restartNeeded);
  EXPECT_TRUE(restore_.restartQuestions.empty()) << "the question waits for its timer";
  clock_.Advance(CDlgRestore4Finish::kRestartDelay);
  Pump();
  EXPECT_EQ(restore_.restartQuestions, std::vector<CString>{_T("Restart Windows to finish the restore.")});
  EXPECT_EQ(restore_.restarts, 1);
  // Shown again without a new restore, it asks nothing.
  Show(1, 1, 0);
  clock_.Advance(CDlgRestore4Finish::kRestartDelay);
  Pump();
  EXPECT_EQ(restore_.restartQuestions.size(), 1u);
}

// Enter and Space on the focused Restore button, Escape and F4 do nothing on the page.
TEST_F(RestorePages, TheDialogKeysDoNothingOnThePage) {
  Show();
  for (int key : {VK_RETURN, VK_SPACE, VK_ESCAPE, VK_F4}) {
    home_.GetDlgItem(CDlgRestore1Home::kRestoreId)->SetFocus();
    TapKeysAsTheMainWindow({key});
    EXPECT_TRUE(restore_.pages.empty()) << key;
    EXPECT_FALSE(restore_.state.archiveChosen) << key;
  }
}

}  // namespace
}  // namespace zx::test
