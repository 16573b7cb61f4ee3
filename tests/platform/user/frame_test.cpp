// The frame and caption the window layer draws for standard top-level windows: the caption bar
// in the caption colour, hit-tested as the caption and its close box, the close box closing the
// window; windows without those styles keep their whole area to themselves.
#include <gtest/gtest.h>

#include "user_testing.h"
#include "wingdi.h"
#include "wininput.h"

namespace zx::test {
namespace {

using Frames = UserTest;

COLORREF WindowPixel(HWND window, int x, int y) {
  HDC dc = GetWindowDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

LRESULT HitAt(HWND window, int x, int y) {
  RECT place{};
  GetWindowRect(window, &place);
  return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(place.left + x, place.top + y));
}

TEST_F(Frames, StandardWindowsGetACaptionThatIsHitAsSuch) {
  struct Case {
    DWORD style;
    bool captioned;
    LRESULT atCaption, atCloseBox;
  } const cases[] = {
      {WS_POPUP | WS_CAPTION | WS_SYSMENU, true, HTCAPTION, HTCLOSE},
      {WS_POPUP | WS_CAPTION, true, HTCAPTION, HTCAPTION},
      {WS_POPUP, false, HTCLIENT, HTCLIENT},
  };
  for (const Case& c : cases) {
    const HWND window = MakeWindow(c.style | WS_VISIBLE, nullptr, 0, u"Browse For Folder", 10, 20, 300, 200);
    PumpWaiting();
    // The caption's place (just inside the frame) and the close box at its right end.
    EXPECT_EQ(HitAt(window, 60, 12), c.atCaption) << c.style;
    EXPECT_EQ(HitAt(window, 284, 12), c.atCloseBox) << c.style;
    EXPECT_EQ(HitAt(window, 150, 120), HTCLIENT) << c.style;
    EXPECT_EQ(WindowPixel(window, 200, 12) == GetSysColor(COLOR_ACTIVECAPTION), c.captioned) << c.style;
    DestroyWindow(window);
  }
}

TEST_F(Frames, TheCloseBoxClosesTheWindow) {
  const HWND window =
      MakeWindow(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, nullptr, 0, u"Browse For Folder", 10, 20, 300, 200);
  PumpWaiting();
  RECT place{};
  GetWindowRect(window, &place);
  SendMessageW(window, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(place.left + 284, place.top + 12));
  PumpWaiting();
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace zx::test
