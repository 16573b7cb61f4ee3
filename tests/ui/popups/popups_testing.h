// Helpers of the popup tests: the language texts of the shared popups beside the program, an
// owner window of the main window's size that notes the timers it receives, and the running
// own message box, and the thread's tooltip controls.
#pragma once
#include <afxwin.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs_testing.h"

namespace zx::test {

// The main window's stand-in: notes every timer that fires on it.
class TimerOwner : public CWnd {
 public:
  std::vector<UINT_PTR> fired;

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  DECLARE_MESSAGE_MAP()
};

class PopupTest : public DialogTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The text of a window.
  static CString Text(HWND window);
  // The own message box now in front, or null; its text.
  static HWND RunningMessageBox();
  static CString MessageBoxText(HWND box);
  // Types the text with the keys of a US keyboard into the focused window.
  static void Type(const std::u16string& text);
  // Presses the first button of the running message box.
  static void AnswerMessageBox(HWND box);
  // The tooltip controls of this thread's windows.
  static std::vector<HWND> ThreadTooltips();
  // A step of a modal run that keeps the clock going by `stepMs` until a message box shows over
  // `window`; the box's text is kept in `shown` and its first button pressed.
  std::function<bool()> UntilMessageBox(CWnd& window, CString& shown, int stepMs);

  TimerOwner owner_;
};

}  // namespace zx::test
