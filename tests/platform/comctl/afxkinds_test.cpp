// GetDlgItem on a dialog's common controls the dialog has no object for: the temporary
// object is of the control's class in the class library, and works as one.
#include <gtest/gtest.h>

#include "afxcmn.h"
#include "afxdlg.h"
#include "afxdtctl.h"
#include "comctl_testing.h"
#include "datetimepick.h"
#include "dialog_template.h"

namespace zx::test {
namespace {

constexpr int kList = 400, kTree = 401, kProgress = 402, kAnimate = 403, kDate = 404, kHeader = 405;

TemplateWriter CommonControlsTemplate() {
  TemplateWriter writer(WS_POPUP | WS_CAPTION, 0, 0, 240, 200, u"Drivers");
  writer.Item(kList, u"SysListView32", u"", LVS_REPORT, 5, 5, 150, 80)
      .Item(kTree, u"SysTreeView32", u"", 0, 160, 5, 75, 80)
      .Item(kProgress, u"msctls_progress32", u"", 0, 5, 90, 150, 10)
      .Item(kAnimate, u"SysAnimate32", u"", 0, 160, 90, 40, 40)
      .Item(kDate, u"SysDateTimePick32", u"", 0, 5, 105, 100, 12)
      .Item(kHeader, u"SysHeader32", u"", 0, 5, 125, 150, 12);
  return writer;
}

class AfxKinds : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    const TemplateWriter layout = CommonControlsTemplate();
    ASSERT_TRUE(dialog_.CreateIndirect(layout.Get()));
  }
  void TearDown() override {
    dialog_.DestroyWindow();
    ControlTest::TearDown();
  }
  CDialog dialog_;
};

TEST_F(AfxKinds, TheDialogsListIsACListCtrl) {
  CWnd* item = dialog_.GetDlgItem(kList);
  ASSERT_NE(item, nullptr);
  ASSERT_TRUE(item->IsKindOf(RUNTIME_CLASS(CListCtrl)));
  auto* list = static_cast<CListCtrl*>(item);
  EXPECT_EQ(list->InsertColumn(0, u"Device", LVCFMT_LEFT, 100), 0);
  EXPECT_EQ(list->InsertItem(0, u"Network card"), 0);
  EXPECT_TRUE(list->SetItemText(0, 0, u"Sound card"));
  EXPECT_EQ(list->GetItemText(0, 0), CString(u"Sound card"));
  EXPECT_EQ(list->GetItemCount(), 1);
  ASSERT_NE(list->GetHeaderCtrl(), nullptr);
  EXPECT_EQ(list->GetHeaderCtrl()->GetItemCount(), 1);
  EXPECT_EQ(dialog_.GetDlgItem(kList), item) << "the same temporary object while it lives";
}

TEST_F(AfxKinds, EveryCommonControlHasItsClass) {
  EXPECT_TRUE(dialog_.GetDlgItem(kTree)->IsKindOf(RUNTIME_CLASS(CTreeCtrl)));
  EXPECT_TRUE(dialog_.GetDlgItem(kAnimate)->IsKindOf(RUNTIME_CLASS(CAnimateCtrl)));
  EXPECT_TRUE(dialog_.GetDlgItem(kDate)->IsKindOf(RUNTIME_CLASS(CDateTimeCtrl)));
  EXPECT_TRUE(dialog_.GetDlgItem(kHeader)->IsKindOf(RUNTIME_CLASS(CHeaderCtrl)));
  CWnd* item = dialog_.GetDlgItem(kProgress);
  ASSERT_TRUE(item->IsKindOf(RUNTIME_CLASS(CProgressCtrl)));
  auto* progress = static_cast<CProgressCtrl*>(item);
  progress->SetRange32(0, 40);
  progress->SetPos(25);
  EXPECT_EQ(progress->GetPos(), 25);
  auto* tree = static_cast<CTreeCtrl*>(dialog_.GetDlgItem(kTree));
  const HTREEITEM root = tree->InsertItem(u"Display adapters");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(tree->GetItemText(root), CString(u"Display adapters"));
  EXPECT_EQ(tree->GetCount(), 1u);
}

TEST_F(AfxKinds, ATooltipWindowIsACToolTipCtrl) {
  const HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 10, 10, dialog_.GetSafeHwnd(),
                                   nullptr, nullptr, nullptr);
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(CWnd::FromHandle(tip)->IsKindOf(RUNTIME_CLASS(CToolTipCtrl)));
  DestroyWindow(tip);
}

}  // namespace
}  // namespace zx::test
