// The main window of the main program in the test process, on the test clock: the window with
// its forced end and elevated restart noted, and the fixture that makes it with the program's
// texts.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "DlgOneClickDrvUpdateResultsMain.h"
#include "HalvoranApp.h"
#include "VelquorApp.h"
#include "VelquorDlg.h"
#include "dialogs_testing.h"

extern CVelquorApp theApp;

namespace zx::test {

// The program's own texts beside the test program, and the program set to start no update
// checker and no scan by itself (a very silent install would scan).
inline void PrepareTheProgram() {
  const auto folder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
  std::filesystem::copy_file(ZX_PROGRAM_TEXTS, folder / "qvx.ini", std::filesystem::copy_options::overwrite_existing);
  g_bVerySilentInstall = TRUE;
  theApp.m_bTaskBusy = FALSE;
  theApp.m_bHiddenScan = FALSE;
  theApp.m_nStartPage = 0;
}

// The main window with its forced end counted instead of ending the test process, and its
// elevated restart noted instead of made.
class TestVelquorDlg : public CVelquorDlg {
 public:
  using CVelquorDlg::CVelquorDlg;
  int forcedEnds = 0;
  CString elevatedWith;
  BOOL elevationStarts = TRUE;

 protected:
  void EndProcessNow() override { ++forcedEnds; }
  BOOL StartElevated(const CString& parameters) override {
    elevatedWith = parameters;
    return elevationStarts;
  }
};

class VelquorWindow : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(BeforeWindow());
    PrepareTheProgram();
    theApp.FillMainWindowSettings(settings_);
    dialog_ = std::make_unique<TestVelquorDlg>(theApp);
    dialog_->SetAppInfo(settings_);
    ASSERT_TRUE(dialog_->Create(CDlgBaseAppDlg::kTemplateId, nullptr));
    dialog_->ShowWindow(SW_SHOW);
    Pump();
  }
  void TearDown() override {
    if (dialog_ && dialog_->GetSafeHwnd()) dialog_->DestroyWindow();
    dialog_.reset();
    Pump();
    DialogTest::TearDown();
  }
  // What a test prepares before the window is made.
  virtual void BeforeWindow() {}
  // The whole window drawn again, the shown panel last (hidden panels draw too in the test
  // window layer, where the shown one must cover them).
  void RedrawAll(CWnd* shownPanel) {
    const UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN;
    dialog_->RedrawWindow(nullptr, nullptr, flags);
    Pump();
    shownPanel->RedrawWindow(nullptr, nullptr, flags);
    Pump();
  }
  void ClickLeftButton(CDlgLeftDlgBase* panel, int button) {
    Click(panel->GetLeftButton(button)->m_hWnd);
    Pump();
  }
  LRESULT SendCopyData(ULONG_PTR code, const CString& text = CString()) {
    COPYDATASTRUCT copy{code, static_cast<DWORD>((text.GetLength() + 1) * sizeof(WCHAR)),
                        const_cast<LPTSTR>(static_cast<LPCTSTR>(text))};
    return dialog_->SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
  }
  static bool Shown(CWnd* page) { return page && page->GetSafeHwnd() && page->IsWindowVisible() && page->IsWindowEnabled(); }
  // A step of a modal run that closes the one-click results popup once it shows.
  static std::function<bool()> ClosePopup() {
    return [] {
      CWnd* active = CWnd::FromHandlePermanent(ActiveWindow());
      auto* popup = dynamic_cast<CDlgOneClickDrvUpdateResultsMain*>(active);
      if (popup == nullptr) return false;
      popup->EndDialog(IDOK);
      return true;
    };
  }

  tagAppDlgSettings settings_;
  std::unique_ptr<TestVelquorDlg> dialog_;
};

}  // namespace zx::test
