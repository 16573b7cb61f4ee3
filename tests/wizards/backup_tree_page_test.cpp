// The driver tree page on the laptop profile: every driver checked when shown, the select-all
// box in step with the check boxes clicked, the details of a clicked driver, and Backup now
// with none, some, and refused rights.
#include "DlgBackup2Home.h"
#include "EngineCallbacks.h"
#include "zx/input.h"
#include "wizards_testing.h"

namespace zx::test {
namespace {

class BackupTreePage : public ScannedWizardTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ScannedWizardTest::SetUp());
    ASSERT_TRUE(page_.Create(CDlgBackup2Home::kTemplateId, &host_));
    owner_.engine.SetTrees(&page_.GetTree(), nullptr);
    page_.ShowWindow(SW_SHOW);
    Pump();
  }
  void TearDown() override {
    owner_.engine.SetTrees(nullptr, nullptr);
    page_.DestroyWindow();
    ScannedWizardTest::TearDown();
  }
  CTreeXCtrl& Tree() { return page_.GetTree(); }
  std::vector<HTREEITEM> Drivers() {
    std::vector<HTREEITEM> items;
    for (HTREEITEM group = Tree().GetRootItem(); group; group = Tree().GetNextSiblingItem(group))
      for (HTREEITEM item = Tree().GetChildItem(group); item; item = Tree().GetNextSiblingItem(item))
        items.push_back(item);
    return items;
  }
  // A click on the item's check box (found by the tree's own hit test) or on its label.
  void ClickItem(HTREEITEM item, bool box) {
    CRect label;
    ASSERT_TRUE(Tree().GetItemRect(item, &label, TRUE));
    CPoint at(label.left + 5, label.CenterPoint().y);
    for (int x = label.left - 1; box && x > 0; --x) {
      UINT flags = 0;
      if (Tree().HitTest(CPoint(x, at.y), &flags) == item && (flags & TVHT_ONITEMSTATEICON)) {
        at.x = x;
        break;
      }
    }
    Tree().ClientToScreen(&at);
    clock_.Advance(1000);
    user::InjectMouse(at, WM_MOUSEMOVE);
    user::InjectMouse(at, WM_LBUTTONDOWN);
    user::InjectMouse(at, WM_LBUTTONUP);
    Pump();
  }
  bool SelectAll() { return page_.IsDlgButtonChecked(CDlgBackup2Home::kSelectAllId) == BST_CHECKED; }

  CDlgBackup2Home page_{owner_};
};

TEST_F(BackupTreePage, EveryDriverCheckedWhenShown) {
  const std::vector<HTREEITEM> drivers = Drivers();
  EXPECT_EQ(static_cast<int>(drivers.size()), owner_.state.devicesFound);
  for (HTREEITEM item : drivers) EXPECT_TRUE(Tree().IsItemChecked(item));
  EXPECT_TRUE(SelectAll());
  EXPECT_FALSE(owner_.state.busy);
  EXPECT_EQ(owner_.leftButton, 0);
  ExpectWindowMatches(page_.m_hWnd, "backup2_tree.png");
}

TEST_F(BackupTreePage, SelectAllFollowsTheBoxes) {
  const HTREEITEM driver = Drivers().front();
  ClickItem(driver, true);
  EXPECT_FALSE(Tree().IsItemChecked(driver));
  EXPECT_FALSE(SelectAll());
  ClickItem(driver, true);
  EXPECT_TRUE(Tree().IsItemChecked(driver));
  EXPECT_TRUE(SelectAll());
  Press(page_, CDlgBackup2Home::kSelectAllId);
  for (HTREEITEM item : Drivers()) EXPECT_FALSE(Tree().IsItemChecked(item));
  Answer(_T("Check at least one driver."), 0);
  Press(page_, CDlgBackup2Home::kBackupNowId);
  ExpectAllStepsRan();
  EXPECT_TRUE(owner_.prompts.empty());
  EXPECT_TRUE(owner_.pages.empty());
}

TEST_F(BackupTreePage, AClickedDriverShowsItsDetailsCut) {
  const HTREEITEM driver = Drivers().front();
  ClickItem(driver, false);
  const tagDeviceDriverInfo* device = owner_.engine.GetDevices()->GetAt(static_cast<INT_PTR>(Tree().GetItemData(driver)));
  ASSERT_NE(device, nullptr);
  const CString hardwareId = device->szText[kSlotHardwareId].Text();
  const CString shown = Text(page_, CDlgBackup2Home::kDetailIds[5]);
  if (hardwareId.GetLength() > 20)
    EXPECT_EQ(shown, hardwareId.Left(20) + _T("..."));
  else
    EXPECT_EQ(shown, hardwareId);
  EXPECT_EQ(Text(page_, CDlgBackup2Home::kDetailIds[0]), CString(device->szText[kSlotClassName].Text()).Left(20));
}

// Moving through the tree by keys shows the details of each item reached: a driver's, or
// none for a class.
TEST_F(BackupTreePage, TheKeysMoveTheDetailsAlong) {
  ClickItem(Drivers().front(), false);
  for (int key : {VK_DOWN, VK_DOWN, VK_UP, VK_HOME, VK_END}) {
    Tap(key);
    Pump();
    const HTREEITEM selected = Tree().GetSelectedItem();
    ASSERT_NE(selected, nullptr) << key;
    const DWORD_PTR data = Tree().GetItemData(selected);
    const tagDeviceDriverInfo* device =
        data == CTreeXCtrl::kCategoryData ? nullptr : owner_.engine.GetDevices()->GetAt(static_cast<INT_PTR>(data));
    CString category = device != nullptr ? device->szText[kSlotClassName].Text() : _T("");
    if (category.GetLength() > 20) category = category.Left(20) + _T("...");
    EXPECT_EQ(Text(page_, CDlgBackup2Home::kDetailIds[0]), category) << key;
  }
}

TEST_F(BackupTreePage, BackupNowWithTheCheckedDrivers) {
  ClickItem(Drivers()[1], true);
  Press(page_, CDlgBackup2Home::kBackupNowId);
  ASSERT_EQ(owner_.prompts.size(), 1u);
  EXPECT_NE(owner_.prompts[0].Find(_T("Zephrin Tunevo")), -1);
  EXPECT_EQ(owner_.styles[0], 13u);
  EXPECT_EQ(owner_.state.driversChosen, owner_.state.devicesFound - 1);
  EXPECT_TRUE(owner_.state.backupStarted);
  EXPECT_EQ(owner_.leftButton, 2);
  EXPECT_EQ(owner_.pages, std::vector<UINT>{CBackupWizardOwner::kThirdPage});
  EXPECT_EQ(owner_.backups, 1);
}

TEST_F(BackupTreePage, RefusedRightsReturnToTheFirstPage) {
  owner_.adminAnswer = -1;
  Answer(_T("The backup did not finish."), 0);
  Press(page_, CDlgBackup2Home::kBackupNowId);
  ExpectAllStepsRan();
  EXPECT_EQ(owner_.pages, std::vector<UINT>{CBackupWizardOwner::kFirstPage});
  EXPECT_FALSE(owner_.state.backupStarted);
  // Any other answer does nothing.
  owner_.adminAnswer = 0;
  owner_.pages.clear();
  Press(page_, CDlgBackup2Home::kBackupNowId);
  EXPECT_TRUE(owner_.pages.empty());
}

}  // namespace
}  // namespace zx::test
