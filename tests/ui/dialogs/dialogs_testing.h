// Helpers of the dialog tests: a fresh machine root, the test clock, the resource library as
// the class library's resource module, steps run while a modal loop waits, injected keys and
// clicks, and pictures of windows and of the screen compared with their references.
#pragma once
#include <afxwin.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "machine_fixture.h"
#include "zx/clock.h"

namespace zx::test {

class DialogTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs each step in turn, one each time the running modal loop waits for input; a step
  // that answers false is asked again at the next wait. Steps left when the loop ends fail
  // the test.
  void WhileModal(std::vector<std::function<bool()>> steps);
  // Checks that every step of WhileModal ran.
  void ExpectAllStepsRan();
  // Answers the next message box of the dialog family with its first (Yes, OK) or second (No)
  // button once a modal loop waits; its text goes to `shown` when given.
  void AnswerBox(int button, CString* shown = nullptr);
  // Runs the restore-point wait dialog and ends it at once; answers the wait text it showed.
  CString ShownRestorePointWaitText();

  static void Pump();
  static void Key(int virtualKey, bool down);
  // A key pressed and let go.
  static void Tap(int virtualKey);
  // A left click at the centre of the window (screen coordinates).
  static void Click(HWND window);
  static void ClickAt(POINT screen);
  // The modal dialog now in front (the active window of this thread).
  static HWND ActiveWindow();
  // The command ids and texts of the popup menu open now (empty while none is).
  static std::vector<std::pair<UINT, CString>> TrackedMenuItems();

  static std::vector<COLORREF> Pixels(HWND window, SIZE& size);
  // The colour of a pixel of a picture of the resource library.
  static COLORREF PictureColour(UINT id, int x, int y);
  // With `redrawn`, the window and its children are painted afresh first by the thread that
  // owns the window (in whichever process), so no paint still pending is missed.
  static void ExpectWindowMatches(HWND window, const std::string& name, bool redrawn = false);
  static void ExpectScreenMatches(const RECT& area, const std::string& name);

  ManualClock clock_;

 private:
  std::vector<std::function<bool()>> steps_;
  std::size_t next_ = 0;
  HINSTANCE previous_ = nullptr;
};

}  // namespace zx::test
