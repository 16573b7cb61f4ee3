// Helpers of the window-system tests: a window class whose procedure records every message
// it gets and lets a test answer chosen ones, and a fixture with a fresh machine root and a
// manual clock.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "machine_fixture.h"
#include "winuser.h"
#include "zx/clock.h"

namespace zx::test {

struct Delivered {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD threadId;
};

// The class "ZxRecorder" (registered on first use).
LPCWSTR RecorderClass();
// Makes a recorder window; a child when style has WS_CHILD.
HWND MakeWindow(DWORD style = WS_OVERLAPPEDWINDOW, HWND parent = nullptr, int id = 0,
                LPCWSTR title = u"", int x = 10, int y = 20, int width = 300, int height = 200);

// Answers a message for every recorder window (the handler runs on the receiving thread);
// messages without a handler go to DefWindowProcW.
using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
void OnMessage(UINT message, Handler handler);
// Messages the recorder windows got, in order (all, or those of one window), and clearing.
std::vector<Delivered> Recorded();
std::vector<UINT> RecordedFor(HWND window);
void ClearRecorded();

// A fresh machine root and a manual clock; handlers and the record are cleared, and windows
// the test's thread left are destroyed.
class UserTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  ManualClock clock_;
};

// Takes and dispatches every message waiting for the calling thread; answers how many.
int PumpWaiting();

}  // namespace zx::test
