// Helpers of the common-control tests: a parent window that records the notifications its
// controls send (WM_NOTIFY, WM_COMMAND, WM_DRAWITEM) and answers chosen ones, and pixel
// reading.
#pragma once
#include <functional>
#include <vector>

#include "commctrl.h"
#include "machine_fixture.h"

namespace zx::test {

struct Notification {
  HWND from;
  UINT code;
  int item;         // iItem of list notifications, -1 otherwise
  UINT changed;     // uChanged
  UINT newState;
  UINT oldState;
  LPARAM param;     // lParam of list notifications
  int headerWidth;  // the width a header notification carries, -1 without
};

// What the parent records and answers; reset for every test.
struct ParentLog {
  std::vector<Notification> notifications;
  std::vector<DRAWITEMSTRUCT> draws;
  std::vector<WPARAM> commands;  // wParam of WM_COMMAND
  int measureAnswers = 0;
  UINT measuredHeight = 0;                 // answer to WM_MEASUREITEM (0: leave it)
  std::function<LRESULT(NMHDR*)> answer;   // answer to WM_NOTIFY (null: 0)
  std::vector<UINT> Codes() const;
};
ParentLog& Log();

// A fresh machine root, the control classes registered and a 400 x 300 parent window.
class ControlTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  HWND MakeChild(LPCWSTR className, DWORD style, int id = 100, int width = 300, int height = 200);
  HWND parent_ = nullptr;
};

// The colour of a pixel of a window as its top-level surface holds it.
COLORREF PixelOf(HWND window, int x, int y);
// Paints the window now (its update region).
void PaintNow(HWND window);

}  // namespace zx::test
