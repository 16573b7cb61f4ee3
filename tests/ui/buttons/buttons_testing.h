// Helpers of the button tests: a parent window that paints a known background and records
// the clicks it is told of, strips of solid-coloured states, the pixels a window shows, and
// pointer input (move, hover time, press, release) through the window system's injection.
#pragma once
#include <afxwin.h>

#include <vector>

#include "machine_fixture.h"
#include "zx/clock.h"

namespace zx::test {

constexpr COLORREF kParentColour = 0x30A050;

class CButtonParent : public CWnd {
 public:
  std::vector<UINT> clicks;  // ids of BN_CLICKED, in order

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};

// A strip of `colours.size()` states, each `stateWidth` x `height` of one colour.
HBITMAP MakeStrip(int stateWidth, int height, const std::vector<COLORREF>& colours);

// What the window shows, row by row (COLORREF values), read back from its surface.
struct Picture {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
  int Count(COLORREF colour) const;
  // Pixels within `tolerance` of `colour` in each channel (text edges are smoothed).
  int Near(COLORREF colour, int tolerance) const;
};

class ButtonTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The parent at (100,100), 300 x 200, shown.
  CButtonParent parent_;
  ManualClock clock_;

  // Creates `button` as a visible push button of the parent at (x,y) size w x h.
  void Place(CWnd& button, UINT id, LPCTSTR caption, int x, int y, int w, int h);
  Picture Snap(HWND window);
  void Paint();
  // The pointer onto the window's centre, then the hover time passes.
  void Hover(HWND window);
  // The pointer onto the parent, away from the buttons.
  void Leave();
  void Press(HWND window);
  void Release(HWND window);
  static int Pump();
};

}  // namespace zx::test
