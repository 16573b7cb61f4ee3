// The backup pages of the main window with a stand-in for it: the kind of backup chosen on
// the first page (administrator rights, no scan yet, all drivers, chosen drivers) and the
// outcome page after a backup that worked and one that failed, with their pictures.
#include "DlgBackup1Type.h"
#include "DlgBackup4Finish.h"
#include "wizards_testing.h"

namespace zx::test {
namespace {

class BackupPages : public WizardTest {
 protected:
  void TearDown() override {
    first_.DestroyWindow();
    last_.DestroyWindow();
    WizardTest::TearDown();
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

  CDlgBackup1Type first_{owner_};
  CDlgBackup4Finish last_{owner_};
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

// Enter, Space, Escape and F4 neither press the focused Back button nor close the page.
TEST_F(BackupPages, TheDialogKeysDoNothingOnThePage) {
  owner_.state = {14, 14, 12, FALSE, TRUE, FALSE, FALSE, FALSE, TRUE};
  OpenLast();
  for (int key : {VK_RETURN, VK_SPACE, VK_ESCAPE, VK_F4}) {
    last_.GetDlgItem(CDlgBackup4Finish::kBackId)->SetFocus();
    TapKeysAsTheMainWindow({key});
    EXPECT_TRUE(owner_.pages.empty()) << key;
    EXPECT_TRUE(last_.IsWindowVisible()) << key;
  }
}

}  // namespace
}  // namespace zx::test
