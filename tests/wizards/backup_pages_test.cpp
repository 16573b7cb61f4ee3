// The backup pages of the main window with a stand-in for it: the kind of backup chosen on
// the first page (administrator rights, no scan yet, all drivers, chosen drivers) and the
// outcome page after a backup that worked and one that failed, with their pictures.
#include <filesystem>
#include <fstream>
#include <vector>

#include "DlgBackup1Type.h"
#include "DlgBackup4Finish.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "HalvoranApp.h"
#include "cstring_printer.h"
#include "dialogs_testing.h"

namespace zx::test {
namespace {

// The main window as the pages see it: every request written down.
class FakeOwner : public CBackupWizardOwner {
 public:
  tagBackupWizardState& BackupState() override { return state; }
  int RelaunchAsAdmin(const CString& text, UINT style) override {
    prompts.push_back(text);
    styles.push_back(style);
    return adminAnswer;
  }
  void EnableOnlyLeftButton(int index) override { leftButton = index; }
  void ShowBackupPage(UINT command) override { pages.push_back(command); }
  void ScanBeforeBackup() override { ++scans; }
  void StartBackup() override { ++backups; }

  tagBackupWizardState state;
  int adminAnswer = 1;
  std::vector<CString> prompts;
  std::vector<UINT> styles;
  std::vector<UINT> pages;
  int leftButton = -1;
  int scans = 0;
  int backups = 0;
};

class BackupPages : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    std::ofstream(LanguageFile()) << kTexts;
    g_strAppName = u"Zephrin Tunevo";
    ASSERT_TRUE(host_.CreateEx(0, _T("Static"), _T(""), WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 480), nullptr, 0));
  }
  void TearDown() override {
    first_.DestroyWindow();
    last_.DestroyWindow();
    host_.DestroyWindow();
    g_strAppName.Empty();
    std::filesystem::remove(LanguageFile());
    DialogTest::TearDown();
  }
  static std::filesystem::path LanguageFile() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "qvx.ini";
  }
  void OpenFirst() {
    ASSERT_TRUE(first_.Create(CDlgBackup1Type::kTemplateId, &host_));
    first_.ShowWindow(SW_SHOW);
    Pump();
  }
  void OpenLast() {
    ASSERT_TRUE(last_.Create(CDlgBackup4Finish::kTemplateId, &host_));
    last_.ShowWindow(SW_SHOW);
    Pump();
  }
  static void Press(CWnd& page, UINT id) {
    Click(page.GetDlgItem(id)->m_hWnd);
    Pump();
  }
  // Expects a message box with that text and answers it with its first or second button.
  void Answer(const CString& text, int button) {
    WhileModal({[text, button] {
      auto* box = dynamic_cast<CDlgBaseMessageBoxWndBase*>(CWnd::FromHandle(ActiveWindow()));
      if (box == nullptr) return false;
      EXPECT_NE(box->GetText().Find(text), -1) << CStringA(box->GetText()).GetString();
      Click(::GetDlgItem(box->m_hWnd, kMessageBoxFirstButton + button));
      return true;
    }});
  }
  CString Text(CWnd& page, UINT id) {
    CString text;
    page.GetDlgItemText(id, text);
    return text;
  }

  FakeOwner owner_;
  CWnd host_;
  CDlgBackup1Type first_{owner_};
  CDlgBackup4Finish last_{owner_};

  static constexpr char kTexts[] =
      "[Tunevo]\r\nBACKUPDLG1=Back up drivers\r\nBACKUPTAB1DESC1=Choose what to back up.\r\n"
      "BACKUPTAB1DESC2=All drivers\r\nBACKUPTAB1DESC31=Every driver of this computer is saved.\r\n"
      "BACKUPTAB1DESC3=Recommended\r\nBACKUPTAB1DESC32=Chosen drivers\r\n"
      "BACKUPTAB1DESC4=Pick the drivers to save from a list.\r\n"
      "IDS_RECOMMEN_RESTART4=%s needs administrator rights to back up drivers.\r\n"
      "BACKUPDLG4_1=The backup did not finish.\r\nBACKUPDLG4=The backup is complete.\r\n"
      "IDS_SCANDRIVER_CREATBCKUP=Scan your computer first?\r\nIDS_SELECT_BACKUP=Choose a kind of backup.\r\n"
      "IDS_DRIVERS_COUNT=%d drivers\r\nBACKUPTAB4DESC1ALL=All drivers were backed up.\r\n"
      "BACKUPTAB4DESC1=The chosen drivers were backed up.\r\nBACKUPTAB4DESC7=Devices found\r\n"
      "BACKUPTAB4DESC2ALL=Drivers to back up\r\nBACKUPTAB4DESC2=Drivers chosen\r\nBACKUPTAB4DESC8=Backed up\r\n"
      "IDS_DRIVER_UPDATE_STATUS=Not backed up\r\nBACKUPTAB4DESC3=Restore them from the Restore page.\r\n"
      "[IDD_BACKUP1_TYPE]\r\nIDC_BTN_BACKUP_NEXT=Next\r\n[IDD_BACKUP4_FINISH]\r\nIDC_BTN_BACKUP_BACK=Back\r\n";
};

TEST_F(BackupPages, AllDriversGoStraightToTheBackup) {
  owner_.state.devicesFound = 14;
  OpenFirst();
  EXPECT_EQ(first_.IsDlgButtonChecked(CDlgBackup1Type::kAllDriversId), BST_CHECKED);
  ExpectWindowMatches(first_.m_hWnd, "backup1_type.png");
  Press(first_, CDlgBackup1Type::kNextId);
  ASSERT_EQ(owner_.prompts.size(), 1u);
  EXPECT_EQ(owner_.prompts[0], CString(_T("Zephrin Tunevo needs administrator rights to back up drivers.")));
  EXPECT_EQ(owner_.styles[0], 15u);
  EXPECT_TRUE(owner_.state.backupAll);
  EXPECT_TRUE(owner_.state.backupStarted);
  EXPECT_EQ(owner_.state.driversChosen, 14);
  EXPECT_EQ(owner_.leftButton, 2);
  EXPECT_EQ(owner_.pages, std::vector<UINT>{CBackupWizardOwner::kThirdPage});
  EXPECT_EQ(owner_.backups, 1);
}

TEST_F(BackupPages, ChosenDriversGoToTheTree) {
  owner_.state.devicesFound = 14;
  OpenFirst();
  Press(first_, CDlgBackup1Type::kChosenDriversId);
  Press(first_, CDlgBackup1Type::kNextId);
  EXPECT_FALSE(owner_.state.backupAll);
  EXPECT_FALSE(owner_.state.backupStarted);
  EXPECT_EQ(owner_.leftButton, 1);
  EXPECT_EQ(owner_.pages, std::vector<UINT>{CBackupWizardOwner::kSecondPage});
  EXPECT_EQ(owner_.backups, 0);
}

TEST_F(BackupPages, RefusedRightsReturnToTheFirstPage) {
  owner_.state.devicesFound = 14;
  owner_.adminAnswer = -1;
  OpenFirst();
  Answer(_T("The backup did not finish."), 0);
  Press(first_, CDlgBackup1Type::kNextId);
  ExpectAllStepsRan();
  EXPECT_EQ(owner_.pages, std::vector<UINT>{CBackupWizardOwner::kFirstPage});
  EXPECT_FALSE(owner_.state.backupStarted);
}

TEST_F(BackupPages, NoScanYetOffersOne) {
  OpenFirst();
  Answer(_T("Scan your computer first?"), 1);
  Press(first_, CDlgBackup1Type::kNextId);
  ExpectAllStepsRan();
  EXPECT_EQ(owner_.scans, 0);
  Answer(_T("Scan your computer first?"), 0);
  Press(first_, CDlgBackup1Type::kNextId);
  ExpectAllStepsRan();
  EXPECT_EQ(owner_.scans, 1);
  EXPECT_TRUE(owner_.pages.empty());
  EXPECT_FALSE(owner_.state.backupStarted);
}

TEST_F(BackupPages, TheOutcomeOfABackupThatWorked) {
  owner_.state = {14, 14, 12, FALSE, TRUE, FALSE, FALSE, FALSE, TRUE};
  OpenLast();
  EXPECT_FALSE(owner_.state.busy);
  EXPECT_EQ(owner_.leftButton, 3);
  EXPECT_EQ(Text(last_, CDlgBackup4Finish::kDevicesId), CString(_T("14 drivers")));
  EXPECT_EQ(Text(last_, CDlgBackup4Finish::kResultId), CString(_T("12 drivers")));
  EXPECT_EQ(Text(last_, CDlgBackup4Finish::kFailureId), CString(_T("--")));
  CString title;
  last_.GetWindowText(title);
  EXPECT_EQ(title, CString(_T("The backup is complete.")));
  ExpectWindowMatches(last_.m_hWnd, "backup4_done.png");
  Press(last_, CDlgBackup4Finish::kBackId);
  EXPECT_EQ(owner_.leftButton, 0);
  EXPECT_EQ(owner_.pages, std::vector<UINT>{CBackupWizardOwner::kFirstPage});
}

TEST_F(BackupPages, TheOutcomeOfAStoppedBackupInRed) {
  owner_.state = {14, -3, 0, FALSE, FALSE, FALSE, FALSE, TRUE, TRUE};
  OpenLast();
  EXPECT_EQ(Text(last_, CDlgBackup4Finish::kChosenId), CString(_T("0 drivers")));
  EXPECT_EQ(Text(last_, CDlgBackup4Finish::kResultId), CString(_T("The backup did not finish.")));
  CString title;
  last_.GetWindowText(title);
  EXPECT_EQ(title, CString(_T("The backup did not finish.")));
  ExpectWindowMatches(last_.m_hWnd, "backup4_stopped.png");
}

}  // namespace
}  // namespace zx::test
