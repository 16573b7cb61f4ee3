// The driver-age levels dialog opened from the main window's results page by a click: it runs
// over the backdrop, and each of its two closing elements ends only that run; the main window
// and its results page stay.
#include <gtest/gtest.h>

#include "DlgParentTransculent.h"
#include "DlgScan3Results.h"
#include "Dlg_INFO_HTM.h"
#include "VelquorScan.h"
#include "velquor_testing.h"
#include "zx/dhtml.h"

namespace zx::test {
namespace {

// The levels dialog in front once its page has loaded, else null.
CDlg_INFO_HTM* LoadedLevels(HWND active) {
  auto* levels = dynamic_cast<CDlg_INFO_HTM*>(CWnd::FromHandlePermanent(active));
  if (levels == nullptr || levels->m_spHtmlDoc == nullptr || !html::BrowserWindow(levels->m_hWnd)) return nullptr;
  return levels;
}

TEST_F(VelquorWindow, TheDriverAgeLevelsCloseByEachElementAndLeaveTheMainWindow) {
  tagScanState& state = dialog_->GetScanHost()->ScanState();
  state.bScanDone = true;
  state.nScanStep = 3;
  Click(dialog_->GetTabButton(2)->m_hWnd);
  Pump();
  auto* page = dynamic_cast<CDlgScan3Results*>(dialog_->GetGroupPage(CVelquorDlg::kScanGroup, 3));
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(page->IsWindowVisible());
  CWnd* info = page->GetDlgItem(CDlgScan3Results::kAgeInfoId);
  ASSERT_NE(info, nullptr);
  ASSERT_TRUE(info->IsWindowVisible());

  for (const char16_t* element : {u"ButtonCancel", u"btnclose"}) {
    const std::string which(element, element + std::char_traits<char16_t>::length(element));
    bool overBackdrop = false;
    WhileModal({[&] {
      CDlg_INFO_HTM* levels = LoadedLevels(ActiveWindow());
      if (levels == nullptr) return false;
      overBackdrop = dynamic_cast<CDlgParentTransculent*>(CWnd::FromHandlePermanent(::GetParent(levels->m_hWnd)));
      RECT box{};
      EXPECT_TRUE(html::GetElementBox(levels->m_hWnd, element, &box));
      POINT at{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
      ::ClientToScreen(html::BrowserWindow(levels->m_hWnd), &at);
      ClickAt(at);
      return true;
    }});
    Click(info->m_hWnd);
    Pump();
    ExpectAllStepsRan();
    EXPECT_TRUE(overBackdrop) << which;
    EXPECT_TRUE(dialog_->IsWindowVisible()) << which << ": the main window was ended with the levels";
    EXPECT_TRUE(dialog_->IsWindowEnabled()) << which;
    EXPECT_TRUE(page->IsWindowVisible()) << which;
    EXPECT_EQ(dialog_->forcedEnds, 0) << which;
  }
}

}  // namespace
}  // namespace zx::test
