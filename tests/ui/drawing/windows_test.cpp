// Window helpers: layered opacity, the foreground switch, client rectangles, the parent's
// background under a child, HTML text and the HTML static over its parent.
#include <future>
#include <thread>

#include "DrawingHelpers.h"
#include "HVhtmlStatic.h"
#include "drawing_support.h"
#include "wininput.h"
#include "zx/gdi.h"
#include "zx/windowpaint.h"
#include "snapshot_compare.h"

namespace zx::test {
namespace {

constexpr COLORREF kParentColour = RGB(40, 120, 200);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A parent that erases its client area in one colour.
class PlainParent : public CWnd {
 public:
  BOOL Make(int width, int height) {
    return CreateEx(0, AfxRegisterWndClass(0), u"Parent", WS_POPUP | WS_VISIBLE, 0, 0, width,
                    height, nullptr, nullptr);
  }

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, kParentColour);
    return TRUE;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PlainParent, CWnd)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

COLORREF WindowPixel(HWND window, int x, int y) {
  TempFolder folder;
  const std::string path = folder.path() + "/window.png";
  if (!user::SaveWindowPng(window, path)) return CLR_INVALID;
  const HBITMAP bitmap = gdi::LoadPngBitmap(path);
  std::vector<DWORD> pixels;
  SIZE size{};
  gdi::CopyBitmapPixels(bitmap, pixels, size);
  DeleteObject(bitmap);
  if (x >= size.cx || y >= size.cy) return CLR_INVALID;
  const DWORD p = pixels[y * size.cx + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

using WindowHelpers = DrawingTest;

TEST_F(WindowHelpers, AlphaMakesTheWindowLayered) {
  PlainParent window;
  ASSERT_TRUE(window.Make(40, 40));
  EXPECT_TRUE(SetWindowAlpha(window.GetSafeHwnd(), 171));
  EXPECT_TRUE(GetWindowLongW(window.GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(window.GetSafeHwnd(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 171);
  EXPECT_TRUE(flags & LWA_ALPHA);
  window.DestroyWindow();
}

TEST_F(WindowHelpers, AlphaOfNoWindowFails) {
  EXPECT_FALSE(SetWindowAlpha(nullptr, 100));
}

TEST_F(WindowHelpers, ForegroundWindowStaysAsItIs) {
  PlainParent window;
  ASSERT_TRUE(window.Make(40, 40));
  SetForegroundWindow(window.GetSafeHwnd());
  ASSERT_EQ(GetForegroundWindow(), window.GetSafeHwnd());
  EXPECT_TRUE(ForceForegroundWindow(window.GetSafeHwnd()));
  EXPECT_EQ(GetForegroundWindow(), window.GetSafeHwnd());
  EXPECT_TRUE(IsWindowVisible(window.GetSafeHwnd()));
  window.DestroyWindow();
}

TEST_F(WindowHelpers, MinimisedWindowIsRestoredToTheFront) {
  PlainParent other, window;
  ASSERT_TRUE(other.Make(40, 40));
  ASSERT_TRUE(window.Make(40, 40));
  ShowWindow(window.GetSafeHwnd(), SW_MINIMIZE);
  SetForegroundWindow(other.GetSafeHwnd());
  ASSERT_TRUE(IsIconic(window.GetSafeHwnd()));
  EXPECT_TRUE(ForceForegroundWindow(window.GetSafeHwnd()));
  EXPECT_FALSE(IsIconic(window.GetSafeHwnd()));
  EXPECT_EQ(GetForegroundWindow(), window.GetSafeHwnd());
  window.DestroyWindow();
  other.DestroyWindow();
}

TEST_F(WindowHelpers, ForegroundWindowOfAnotherThreadGivesWay) {
  std::promise<HWND> made;
  std::thread other([&made] {
    const HWND window = CreateWindowExW(0, AfxRegisterWndClass(0), u"Other", WS_POPUP | WS_VISIBLE,
                                        0, 0, 30, 30, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(window);
    made.set_value(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(window);
  });
  const HWND otherWindow = made.get_future().get();
  ASSERT_EQ(GetForegroundWindow(), otherWindow);
  PlainParent window;
  ASSERT_TRUE(window.Make(40, 40));
  EXPECT_TRUE(ForceForegroundWindow(window.GetSafeHwnd()));
  EXPECT_EQ(GetForegroundWindow(), window.GetSafeHwnd());
  PostThreadMessageW(GetWindowThreadProcessId(otherWindow, nullptr), WM_QUIT, 0, 0);
  other.join();
  window.DestroyWindow();
}

TEST_F(WindowHelpers, ClientRectangleStartsAtTheOrigin) {
  PlainParent window;
  ASSERT_TRUE(window.Make(70, 30));
  EXPECT_EQ(GetWndClientRect(&window), CRect(0, 0, 70, 30));
  EXPECT_EQ(GetWndClientRect(nullptr), CRect(0, 0, 0, 0));
  window.DestroyWindow();
}

TEST_F(WindowHelpers, ParentBackgroundIsDrawnUnderTheChild) {
  PlainParent parent;
  ASSERT_TRUE(parent.Make(100, 60));
  CStatic child;
  ASSERT_TRUE(child.Create(u"", WS_CHILD | WS_VISIBLE, CRect(30, 20, 60, 40), &parent, 5));
  Surface surface(30, 20, kWhite);
  const CRect clip(0, 0, 10, 20);
  EXPECT_TRUE(DrawParentBackground(&child, &surface.dc, &clip));
  EXPECT_EQ(surface.At(5, 5), kParentColour);
  EXPECT_EQ(surface.At(20, 5), kWhite);  // outside the clip rectangle
  EXPECT_EQ(surface.dc.GetWindowOrg(), CPoint(0, 0));
  EXPECT_FALSE(DrawParentBackground(&parent, &surface.dc));  // a top-level window: no parent
  parent.DestroyWindow();
}

TEST_F(WindowHelpers, HtmlTextIsDrawnIntoTheRectangle) {
  Surface surface(120, 30, kWhite);
  surface.dc.SetTextColor(RGB(0, 0, 0));
  const CRect rect(0, 0, 120, 30);
  ASSERT_TRUE(RenderHTML(nullptr, &surface.dc, &rect, u"<b>WWWW</b>", FALSE));
  int dark = 0;
  for (int x = 0; x < 60; ++x)
    for (int y = 0; y < 30; ++y) dark += surface.At(x, y) != kWhite;
  EXPECT_GT(dark, 10);
  EXPECT_FALSE(RenderHTML(nullptr, nullptr, &rect, u"x", FALSE));
}

class HtmlStatics : public DrawingTest {
 protected:
  COLORREF CornerAfterPaint(BOOL transparent) {
    PlainParent parent;
    EXPECT_TRUE(parent.Make(200, 80));
    CHVhtmlStatic text;
    text.SetTransparent(transparent);
    EXPECT_TRUE(text.Create(u"<b>Hi</b>", WS_CHILD | WS_VISIBLE, CRect(10, 10, 190, 70), &parent, 7));
    text.Invalidate();
    Pump();
    const COLORREF corner = WindowPixel(parent.GetSafeHwnd(), 185, 65);
    parent.DestroyWindow();
    return corner;
  }
};

TEST_F(HtmlStatics, TransparentShowsTheParentBehindTheText) {
  EXPECT_EQ(CornerAfterPaint(TRUE), kParentColour);
}

TEST_F(HtmlStatics, OpaqueFillsItsRectangle) {
  EXPECT_NE(CornerAfterPaint(FALSE), kParentColour);
}

// A transparent and an opaque HTML static over their parent, against the reference picture.
TEST_F(HtmlStatics, MatchTheReferencePicture) {
  PlainParent parent;
  ASSERT_TRUE(parent.Make(220, 90));
  CHVhtmlStatic clear, opaque;
  clear.SetTransparent(TRUE);
  ASSERT_TRUE(clear.Create(u"<b>Drivers</b> <font color=\"#C00000\">up to date</font>",
                           WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 40), &parent, 7));
  ASSERT_TRUE(opaque.Create(u"<i>Scan</i> <u>now</u>", WS_CHILD | WS_VISIBLE,
                            CRect(10, 50, 210, 80), &parent, 8));
  parent.Invalidate();
  Pump();

  TempFolder temp;
  const std::string drawn = temp.path() + "/htmlstatic.png";
  ASSERT_TRUE(user::SaveWindowPng(parent.GetSafeHwnd(), drawn));
  parent.DestroyWindow();
  const std::string reference = std::string(ZX_UI_SNAPSHOTS) + "/drawing_htmlstatic.png";
  ExpectSameAsReference(drawn, reference, "htmlstatic");
}

}  // namespace
}  // namespace zx::test
