// Helpers of the popup tests.
#include "popups_testing.h"

#include <commctrl.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <fstream>

#include "DlgBaseMessageBoxWndBase.h"

namespace zx::test {

BEGIN_MESSAGE_MAP(TimerOwner, CWnd)
  ON_WM_TIMER()
END_MESSAGE_MAP()

void TimerOwner::OnTimer(UINT_PTR nIDEvent) {
  KillTimer(nIDEvent);
  fired.push_back(nIDEvent);
}

namespace {

// Texts are read once per process, so every test sees these same ones.
constexpr char kTexts[] =
    "[QVX]\r\n"
    "IDS_OK=OK\r\nIDS_CANCEL=Cancel\r\nIDS_YES=Yes\r\nIDS_NO=No\r\n"
    "IDS_SHUTDOWN=Shut Down\r\nIDS_RESTART=Restart\r\nIDS_SHUTDOWN_NOW=Shut down now\r\n"
    "IDS_POSTPONE=Postpone\r\nIDS_DONT_REMIND=Don't remind\r\n"
    "IDS_10MIN=10 minutes\r\nIDS_20MIN=20 minutes\r\nIDS_30MIN=30 minutes\r\n"
    "IDS_UR_SYSTM_EXP_IN=Your computer will %s in %d:%02d\r\n"
    "IDS_SHUTDOWN_ALERT=Shut-down alert\r\nIDS_RESTART_ALERT=Restart alert\r\n"
    "IDS_NOTE=Note:\r\nIDS_SAVE_WORK=save your work and close your programs.\r\n"
    "IDS_REMIND_ME_IN=Remind me in\r\n"
    "IDS_COMPOPTI_SYSREBOOT=The computer restarts to finish the driver installation.\r\n"
    "IDS_QVX_CANCLE=Postpone to be reminded later.\r\n"
    "IDS_SHUTDOWN_FAILED=The computer could not be shut down.\r\n"
    "IDS_RESTART_FAILED=The computer could not be restarted.\r\n"
    "IDS_SUBMIT=Submit\r\nIDS_PREVIW_FEEDBACK=Preview\r\nIDS_VIEW_ATTACH_LOG=View log\r\n"
    "IDS_FEED0=Suggestion\r\nIDS_FEED1=Problem\r\nIDS_FEED2=Praise\r\nIDS_FEED3=Question\r\n"
    "IDS_FEED4=Feature request\r\nIDS_FEED5=Other\r\n"
    "IDS_SUBMIT_FEEDBACK=Tell us about %s\r\nIDS_SHARE_EXPR=Your opinion makes the product better.\r\n"
    "IDS_FAVO_TOOL=Tools you use\r\nIDS_EMAIL_ADDRESS=Your e-mail address\r\n"
    "IDS_SELCT_FEEDBCK_TYPE=Kind of feedback\r\nIDS_SHARE_EXPR2=Your message\r\n"
    "IDS_PUBLISH_REVIEW=You may publish my feedback.\r\nIDS_MODULENAME=Tool\r\nIDS_TIPS=Tips\r\n"
    "IDS_FEEDBACK_MAILID=Please enter a valid e-mail address.\r\nIDS_EMPTY_FEEDBACK=Please write your feedback.\r\n"
    "IDS_FEEDBACK_UPLOAD=Sending your feedback...\r\nIDS_FDBK_SUCC=Feedback sent.\r\n"
    "IDS_THX_FOR_FDBK=Thank you for your feedback.\r\n"
    "IDS_FEEDBACK_FAILED=Your feedback could not be sent. Please try again later.\r\n"
    "IDS_WLCM_WIZ=Welcome\r\nIDS_M_STRSTEPDESCRIPTIONS0=Backing up the system files for %s\r\n"
    "IDS_M_STRSTEPDESCRIPTIONS1=Making a restore point for %s\r\nIDS_DONE=Done\r\n"
    "IDS_M_STRSTEPHEADINGS2=Database\r\nIDS_M_STRSTEPDESCS2=%s fetches its database.\r\n"
    "IDS_M_STRSTEPSTATUS=Waiting\r\nIDS_COMPLETE=Complete\r\nIDS_NOCOMPLETE=Not complete\r\n"
    "IDS_FIRST_INSTL=First installation of %s\r\n"
    "[IDD_DLG_SHUTDOWN]\r\nIDOK=OK\r\nIDCANCEL=Cancel\r\n";

std::filesystem::path LanguageFile() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "qvx.ini";
}

}  // namespace

void PopupTest::SetUp() {
  DialogTest::SetUp();
  std::ofstream(LanguageFile(), std::ios::binary) << kTexts;
  ASSERT_TRUE(owner_.CreateEx(0, AfxRegisterWndClass(0), u"Owner", WS_POPUP | WS_VISIBLE, 0, 0, 772, 583, nullptr,
                              nullptr));
  Pump();
}

void PopupTest::TearDown() {
  if (owner_.GetSafeHwnd()) owner_.DestroyWindow();
  std::filesystem::remove(LanguageFile());
  DialogTest::TearDown();
}

CString PopupTest::Text(HWND window) {
  CString text;
  const int length = ::GetWindowTextLengthW(window);
  ::GetWindowTextW(window, text.GetBuffer(length + 1), length + 1);
  text.ReleaseBuffer();
  return text;
}

HWND PopupTest::RunningMessageBox() {
  const HWND active = ActiveWindow();
  return dynamic_cast<CDlgBaseMessageBoxWndBase*>(CWnd::FromHandlePermanent(active)) ? active : nullptr;
}

CString PopupTest::MessageBoxText(HWND box) {
  auto* dialog = dynamic_cast<CDlgBaseMessageBoxWndBase*>(CWnd::FromHandlePermanent(box));
  return dialog ? dialog->GetText() : CString();
}

void PopupTest::Type(const std::u16string& text) {
  for (char16_t ch : text) {
    int key = 0;
    bool shift = false;
    if (ch >= u'a' && ch <= u'z') key = ch - u'a' + 'A';
    else if (ch >= u'A' && ch <= u'Z') key = ch, shift = true;
    else if (ch >= u'0' && ch <= u'9') key = ch;
    else if (ch == u'@') key = '2', shift = true;
    else if (ch == u'.') key = VK_OEM_PERIOD;
    else if (ch == u'-') key = VK_OEM_MINUS;
    else if (ch == u' ') key = VK_SPACE;
    ASSERT_NE(key, 0) << "no key types " << static_cast<int>(ch);
    if (shift) Key(VK_SHIFT, true);
    Tap(key);
    if (shift) Key(VK_SHIFT, false);
  }
}

void PopupTest::AnswerMessageBox(HWND box) { Click(::GetDlgItem(box, kMessageBoxFirstButton)); }

std::vector<HWND> PopupTest::ThreadTooltips() {
  std::vector<HWND> tooltips;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM out) {
        WCHAR name[64] = {};
        ::GetClassNameW(window, name, 64);
        if (std::u16string(name) == TOOLTIPS_CLASSW) reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tooltips));
  return tooltips;
}

std::function<bool()> PopupTest::UntilMessageBox(CWnd& window, CString& shown, int stepMs) {
  return [this, &window, &shown, stepMs] {
    if (const HWND box = RunningMessageBox()) {
      shown = MessageBoxText(box);
      AnswerMessageBox(box);
      return true;
    }
    clock_.Advance(stepMs);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    window.PostMessage(WM_NULL);
    return false;
  };
}

}  // namespace zx::test
