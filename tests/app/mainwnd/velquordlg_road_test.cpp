// The main window's part in the road: the feedback request with a kept scan request, leaving
// the scan tabs after the launcher followed the results page, and the result summary sentence
// after a scan and after updating.
#include "DlgNagDriverFeedback.h"
#include "VelquorScan.h"
#include "velquor_testing.h"

namespace zx::test {
namespace {

// The driver feedback form among the top-level windows, once it shows.
CDlgNagDriverFeedback* ShownFeedbackForm() {
  for (HWND window = ::FindWindowExW(nullptr, nullptr, nullptr, nullptr); window != nullptr;
       window = ::FindWindowExW(nullptr, window, nullptr, nullptr)) {
    auto* form = dynamic_cast<CDlgNagDriverFeedback*>(CWnd::FromHandlePermanent(window));
    if (form != nullptr && form->IsWindowVisible()) return form;
  }
  return nullptr;
}

TEST_F(VelquorWindow, AFeedbackRequestAfterAScanOpensTheFeedbackForm) {
  theApp.m_strLastScanText = _T("<scan_data/>");  // as the scan procedure keeps it
  bool shown = false;
  BOOL busyWhileShown = FALSE;
  WhileModal({[&] {
    CDlgNagDriverFeedback* form = ShownFeedbackForm();
    if (form == nullptr) return false;
    shown = true;
    busyWhileShown = theApp.m_bTaskBusy;
    Click(::GetDlgItem(form->m_hWnd, IDCANCEL));
    return true;
  }});
  dialog_->SendMessage(WM_COMMAND, CVelquorDlg::kFeedbackCommand);
  Pump();
  ExpectAllStepsRan();
  theApp.m_strLastScanText.Empty();
  EXPECT_TRUE(shown);
  EXPECT_TRUE(busyWhileShown);
  EXPECT_FALSE(theApp.m_bTaskBusy);
}

TEST_F(VelquorWindow, LeavingTheScanTabsEndsTheLaunchersFollowing) {
  for (int code : {13, 14, 15}) {
    EXPECT_EQ(SendCopyData(CVelquorDlg::kCopyProgressNotify), 17);
    ASSERT_TRUE(dialog_->GetLauncherState().bProgressNotify);
    EXPECT_EQ(CVelquorDlg::PageChangeCallback(dialog_.get(), code), 1);
    EXPECT_FALSE(dialog_->GetLauncherState().bProgressNotify) << code;
  }
  // The scan tabs keep it.
  EXPECT_EQ(SendCopyData(CVelquorDlg::kCopyProgressNotify), 17);
  CVelquorDlg::PageChangeCallback(dialog_.get(), 11);
  EXPECT_TRUE(dialog_->GetLauncherState().bProgressNotify);
}

TEST_F(VelquorWindow, TheResultSummaryAfterAScanAndAfterUpdating) {
  CVelquorScanHost* host = dialog_->GetScanHost();
  ASSERT_NE(host, nullptr);
  host->ScanState().strScanStart = _T("Mon. January 03, 2000. 10:00 AM");
  const struct {
    int mode, outdated, updated;
    const char16_t* shortText;
    const char16_t* longText;
  } kCases[] = {
      {0, 0, 0, u"No out-of-date driver was found", u"0 out-of-date drivers found in the scan of Mon. January 03, 2000. 10:00 AM"},
      {0, 3, 0, u"3 out-of-date drivers found", u"3 out-of-date drivers found in the scan of Mon. January 03, 2000. 10:00 AM"},
      {1, 3, 2, u"1 out-of-date driver found",
       u"3 out-of-date drivers found and 2 Drivers updated since the scan of Mon. January 03, 2000. 10:00 AM"},
      {1, 1, 1, u"0 out-of-date drivers found",
       u"1 out-of-date driver found and 1 Driver updated since the scan of Mon. January 03, 2000. 10:00 AM"},
      {1, 0, 0, u"No out-of-date driver was found",
       u"0 out-of-date driver found and 0 Driver updated since the scan of Mon. January 03, 2000. 10:00 AM"},
  };
  for (const auto& c : kCases) {
    host->BuildResultSummaryText(c.mode, c.outdated, c.updated);
    EXPECT_EQ(host->GetSummaryShort(), CString(c.shortText)) << c.mode << c.outdated << c.updated;
    EXPECT_EQ(host->GetSummaryLong(), CString(c.longText)) << c.mode << c.outdated << c.updated;
  }
  // Other modes build nothing.
  host->BuildResultSummaryText(2, 5, 0);
  EXPECT_EQ(host->GetSummaryShort(), CString(kCases[4].shortText));
}

}  // namespace
}  // namespace zx::test
