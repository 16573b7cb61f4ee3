// The shared popups the main-window base opens: the shut-down countdown when the scheduled
// shut-down timer fires (the window shown again first when hidden), and the feedback form.
#include "DlgQVXFeedback.h"
#include "DlgShutDown.h"
#include "mainwnd_testing.h"

namespace zx::test {
namespace {

// The popup of this kind on this thread, or null.
template <typename Popup>
HWND FindPopup() {
  HWND found = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM out) {
        if (dynamic_cast<Popup*>(CWnd::FromHandlePermanent(window)) == nullptr) return TRUE;
        *reinterpret_cast<HWND*>(out) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

using MainWindowPopups = MainWindowTest;

TEST_F(MainWindowPopups, TheShutDownTimerShowsTheHiddenWindowAndOpensTheCountdownOnce) {
  Open(settings_);
  dialog_.ShowWindow(SW_HIDE);
  bool windowShown = false;
  HWND countdown = nullptr;
  WhileModal({[&] {
    countdown = FindPopup<CDlgShutDown>();
    if (countdown == nullptr) return false;
    windowShown = dialog_.IsWindowVisible() != FALSE;
    ::SendMessageW(countdown, WM_COMMAND, IDCANCEL, 0);
    return true;
  }});
  dialog_.SetTimer(CDlgMainWnd::kShutdownTimer, 1000, nullptr);
  clock_.Advance(1000);
  Pump();
  ExpectAllStepsRan();
  EXPECT_NE(countdown, nullptr);
  EXPECT_TRUE(windowShown);
  EXPECT_EQ(FindPopup<CDlgShutDown>(), nullptr);
  // The timer was killed: no second countdown a period later.
  clock_.Advance(1000);
  Pump();
  EXPECT_EQ(FindPopup<CDlgShutDown>(), nullptr);
}

TEST_F(MainWindowPopups, ReportFeedbackOpensTheFeedbackForm) {
  Open(settings_);
  HWND form = nullptr;
  WhileModal({[&] {
    form = FindPopup<CDlgQVXFeedback>();
    if (form == nullptr) return false;
    ::SendMessageW(form, WM_COMMAND, IDCANCEL, 0);
    return true;
  }});
  dialog_.OnReportFeedback();
  ExpectAllStepsRan();
  EXPECT_NE(form, nullptr);
  EXPECT_EQ(FindPopup<CDlgQVXFeedback>(), nullptr);
}

}  // namespace
}  // namespace zx::test
