// Result rows written into a report-style list control: columns, texts, check marks, item
// data and the selection.
#include <gtest/gtest.h>

#include <commctrl.h>

#include "ResultListCtrl.h"
#include "lookup_testing.h"

namespace zx::test {
namespace {

class ResultListControl : public LookupTest {
 protected:
  void SetUp() override {
    LookupTest::SetUp();
    InitCommonControls();
    parent_ = CreateWindowExW(0, WC_STATICW, u"parent", WS_OVERLAPPEDWINDOW, 0, 0, 700, 300, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    ASSERT_TRUE(list_.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 680, 280), CWnd::FromHandle(parent_), 7));
    view_.SetUpColumns({_T("Device"), _T("Severity"), _T("Risk"), _T("Class"), _T("Current"), _T("New")});
  }
  void TearDown() override {
    list_.DestroyWindow();
    DestroyWindow(parent_);
    LookupTest::TearDown();
  }

  HWND parent_ = nullptr;
  CListCtrl list_;
  CResultListCtrl view_{list_};
};

TEST_F(ResultListControl, ShowsEveryFoundUpdate) {
  DeviceSpec first, second;
  first.hardwareIds = {u"PCI\\VEN_8086&DEV_0085"};
  first.name = std::u16string(70, u'n');
  second.hardwareIds = {u"USB\\VID_0A5C&PID_21E6"};
  second.className = u"Bluetooth";
  SetDevices({first, second});
  Parse(Answer(Group(0, u"pci\\ven_8086&dev_0085", u"2.0", {{u"severity", u"1"}}) +
               Group(1, u"usb\\vid_0a5c&pid_21e6", u"2.0", {{u"riskLevel", u"3"}})));
  engine_->SetResultList(&view_);
  engine_->SetScanDone(TRUE);
  ASSERT_EQ(engine_->FillResults(), 1);
  ASSERT_EQ(list_.GetItemCount(), 2);
  EXPECT_EQ(list_.GetItemText(0, kColumnDevice), CString(_T("Device")));
  EXPECT_EQ(list_.GetItemText(0, kColumnClass), CString(_T("Bluetooth")));
  EXPECT_EQ(list_.GetItemText(0, kColumnRisk), CString(_T("3")));
  EXPECT_EQ(list_.GetItemText(0, kColumnCurrentDate), CString(_T("2010-01-02")));
  EXPECT_EQ(list_.GetItemText(0, kColumnNewDate), CString(_T("2015-06-19")));
  EXPECT_EQ(list_.GetItemText(1, kColumnDevice), CString(std::u16string(65, u'n').c_str()) + _T("..."));
  EXPECT_EQ(list_.GetItemText(1, kColumnSeverity), CString(_T("1")));
  EXPECT_EQ(list_.GetItemData(1), 0u);
  EXPECT_EQ(list_.GetItemState(0, LVIS_SELECTED | LVIS_FOCUSED), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));

  engine_->SetResultRowState(1, kRowDownloaded, 0);
  ASSERT_EQ(engine_->RebuildResultList(), 1);
  EXPECT_EQ(list_.GetItemText(1, kColumnDevice), CString(std::u16string(70, u'n').c_str()));
  EXPECT_EQ(list_.GetItemData(1), static_cast<DWORD_PTR>(kRowDownloaded));
  EXPECT_TRUE(list_.GetCheck(1));

  list_.DestroyWindow();
  EXPECT_EQ(engine_->RebuildResultList(), 0);
}

}  // namespace
}  // namespace zx::test
