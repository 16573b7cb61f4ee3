// The folders page: the folders in use against the stored ones (letter case ignored), typing
// into the boxes, Apply with an emptied box, Defaults, and browsing with the probe made inside
// the chosen folder.
#include <string>

#include "DlgSetting3Loc.h"
#include "SettingsStore.h"
#include "cstring_printer.h"
#include "pages_testing.h"

namespace zx::test {
namespace {

// The main window's side: its folders, and a picker that answers what the test chose.
class FolderHost : public CSettingsFolderHost {
 public:
  CString GetCurrentFolder(Kind kind) const override { return current[kind]; }
  void SetCurrentFolder(Kind kind, const CString& folder) override { current[kind] = folder; }
  CString GetDefaultFolder(Kind kind) const override { return defaults[kind]; }
  CString GetBaseFolder() const override { return _T("C:\\Tunevo"); }
  CString BrowseForFolder(CWnd*, const CString& start) override {
    started = start;
    return chosen;
  }

  CString current[2] = {_T("C:\\Tunevo\\Download"), _T("C:\\Tunevo\\Backup")};
  CString defaults[2] = {_T("C:\\Tunevo\\Download"), _T("C:\\Tunevo\\Backup")};
  CString chosen;
  CString started;
};

class FoldersPage : public PageTest {
 protected:
  void TearDown() override {
    page_.DestroyWindow();
    PageTest::TearDown();
  }
  void Open() {
    ASSERT_TRUE(page_.Create(CDlgSetting3Loc::kTemplateId, &host_));
    page_.ShowWindow(SW_SHOW);
    Pump();
  }
  CString Shown(UINT id) {
    CString text;
    page_.GetDlgItemText(id, text);
    return text;
  }
  bool Enabled(UINT id) { return PageTest::Enabled(page_, id); }
  void Press(UINT id) { PageTest::Press(page_, id); }

  FolderHost folders_;
  CDlgSetting3Loc page_{folders_};
};

TEST_F(FoldersPage, FoldersDifferingOnlyInCaseDoNotEnableApply) {
  Store(kSettingDownloadPath, _T("c:\\TUNEVO\\download"));
  Store(kSettingBackupPath, _T("C:\\Tunevo\\Backup"));
  Open();
  EXPECT_EQ(Shown(CDlgSetting3Loc::kDownloadEditId), CString(_T("C:\\Tunevo\\Download")));
  EXPECT_FALSE(Enabled(CDlgSetting3Loc::kApplyId));
  EXPECT_FALSE(Enabled(CDlgSetting3Loc::kDefaultsId));
  ExpectWindowMatches(page_.m_hWnd, "folders_stored.png");
}

TEST_F(FoldersPage, ApplyWithAnEmptyDownloadBoxKeepsTheStoredFolder) {
  Store(kSettingDownloadPath, _T("D:\\Drivers"));
  Store(kSettingBackupPath, _T("C:\\Tunevo\\Backup"));
  folders_.current[0] = _T("D:\\Drivers");
  Open();
  // The download box emptied with the keyboard changes nothing.
  Press(CDlgSetting3Loc::kDownloadEditId);
  Tap(VK_END);
  for (int i = 0; i < 12; ++i) Tap(VK_BACK);
  Pump();
  EXPECT_EQ(Shown(CDlgSetting3Loc::kDownloadEditId), CString());
  EXPECT_FALSE(Enabled(CDlgSetting3Loc::kApplyId));
  // Typing in the other box does.
  Press(CDlgSetting3Loc::kBackupEditId);
  Tap(VK_END);
  Key(VK_SHIFT, true);
  for (char ch : std::string("OLD")) Tap(ch);
  Key(VK_SHIFT, false);
  Pump();
  EXPECT_EQ(Shown(CDlgSetting3Loc::kBackupEditId), CString(_T("C:\\Tunevo\\BackupOLD")));
  EXPECT_TRUE(Enabled(CDlgSetting3Loc::kApplyId));
  AnswerBox(0);
  Press(CDlgSetting3Loc::kApplyId);
  ExpectAllStepsRan();
  EXPECT_EQ(Stored(kSettingDownloadPath), CString(_T("D:\\Drivers")));
  EXPECT_EQ(folders_.current[0], CString(_T("D:\\Drivers")));
  EXPECT_EQ(Stored(kSettingBackupPath), CString(_T("C:\\Tunevo\\BackupOLD")));
  EXPECT_EQ(folders_.current[1], CString(_T("C:\\Tunevo\\BackupOLD")));
  EXPECT_FALSE(Enabled(CDlgSetting3Loc::kApplyId));
  EXPECT_TRUE(Enabled(CDlgSetting3Loc::kDefaultsId));
}

TEST_F(FoldersPage, DefaultsStoresAndShowsTheDefaultFolders) {
  Store(kSettingDownloadPath, _T("D:\\Drivers"));
  Store(kSettingBackupPath, _T("D:\\Backups"));
  folders_.current[0] = _T("D:\\Drivers");
  folders_.current[1] = _T("D:\\Backups");
  Open();
  EXPECT_TRUE(Enabled(CDlgSetting3Loc::kDefaultsId));
  AnswerBox(0);
  Press(CDlgSetting3Loc::kDefaultsId);
  ExpectAllStepsRan();
  EXPECT_EQ(Stored(kSettingDownloadPath), CString(_T("C:\\Tunevo\\Download")));
  EXPECT_EQ(Stored(kSettingBackupPath), CString(_T("C:\\Tunevo\\Backup")));
  EXPECT_EQ(folders_.current[1], CString(_T("C:\\Tunevo\\Backup")));
  EXPECT_EQ(Shown(CDlgSetting3Loc::kBackupEditId), CString(_T("C:\\Tunevo\\Backup")));
  EXPECT_FALSE(Enabled(CDlgSetting3Loc::kApplyId));
  EXPECT_FALSE(Enabled(CDlgSetting3Loc::kDefaultsId));
}

// The probe is made inside the chosen folder: a file beside it named like the folder and the
// word does not stop the choice, and a folder of the probe's name already inside stays.
TEST_F(FoldersPage, BrowseProbesInsideTheChosenFolder) {
  Store(kSettingDownloadPath, _T("C:\\Tunevo\\Download"));
  Store(kSettingBackupPath, _T("C:\\Tunevo\\Backup"));
  ASSERT_TRUE(CreateDirectoryW(_T("C:\\Drivers"), nullptr));
  ASSERT_TRUE(CreateDirectoryW(_T("C:\\Drivers\\Download"), nullptr));
  HANDLE beside = CreateFileW(_T("C:\\DriversDownload"), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(beside, INVALID_HANDLE_VALUE);
  CloseHandle(beside);
  Open();
  folders_.chosen = _T("C:\\Drivers");
  Press(CDlgSetting3Loc::kBrowseDownloadId);
  EXPECT_EQ(folders_.started, CString(_T("C:\\Tunevo\\Download")));
  EXPECT_EQ(Shown(CDlgSetting3Loc::kDownloadEditId), CString(_T("C:\\Drivers")));
  EXPECT_TRUE(Enabled(CDlgSetting3Loc::kApplyId));
  EXPECT_NE(GetFileAttributesW(_T("C:\\Drivers\\Download")), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW(_T("C:\\Drivers\\Download1")), INVALID_FILE_ATTRIBUTES);
  // Nothing is stored before Apply.
  EXPECT_EQ(Stored(kSettingDownloadPath), CString(_T("C:\\Tunevo\\Download")));
}

TEST_F(FoldersPage, BrowseWithoutAChoiceStoresTheFolderInUseWhenNoneIsStored) {
  Open();
  folders_.chosen.Empty();
  Press(CDlgSetting3Loc::kBrowseBackupId);
  EXPECT_EQ(Stored(kSettingBackupPath), CString(_T("C:\\Tunevo\\Backup")));
  EXPECT_EQ(Shown(CDlgSetting3Loc::kBackupEditId), CString(_T("C:\\Tunevo\\Backup")));
  // The start folder was made, with the base folder above it.
  EXPECT_NE(GetFileAttributesW(_T("C:\\Tunevo\\Backup")), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace zx::test
