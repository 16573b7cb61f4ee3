// CTransparentStatic2: the parent's pixels under the static are copied at the first erase and
// shown behind its text from then on; a new text repaints at once; the picture matches the
// reference.
#include "CTransparentStatic2.h"
#include "statics_window.h"

namespace zx::test {
namespace {

using TransparentStatic = StaticsTest;

constexpr int kStaticX = 15, kStaticY = 10, kStaticW = 100, kStaticH = 20;

struct StaticOverStripes {
  StripedParent parent;
  CTransparentStatic2 text;
  bool Make(LPCTSTR caption) {
    if (!parent.Make(40, 40, 140, 50)) return false;
    return text.Create(caption, WS_CHILD | WS_VISIBLE, CRect(kStaticX, kStaticY, kStaticX + kStaticW, kStaticY + kStaticH),
                       &parent, 100) != FALSE;
  }
  void Paint() {
    parent.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    text.UpdateWindow();
  }
};

TEST_F(TransparentStatic, FirstEraseCopiesTheParentsPixelsUnderTheControl) {
  StaticOverStripes w;
  ASSERT_TRUE(w.Make(u""));
  EXPECT_FALSE(w.text.HasBackground());
  w.Paint();
  ASSERT_TRUE(w.text.HasBackground());
  SIZE size{};
  const std::vector<DWORD> pixels = WindowPixels(w.text.m_hWnd, size);
  ASSERT_EQ(size.cx, kStaticW);
  ASSERT_EQ(size.cy, kStaticH);
  // Static column 0 is parent column 15: the second stripe; column 5 the third.
  EXPECT_EQ(pixels[0], Rgb(kStripes[1]));
  EXPECT_EQ(pixels[5 + 10 * kStaticW], Rgb(kStripes[2]));
  EXPECT_EQ(pixels[99 + 19 * kStaticW], Rgb(kStripes[(kStaticX + 99) / 10 % 3]));
}

TEST_F(TransparentStatic, TheCopyIsKeptWhenTheParentChangesLater) {
  StaticOverStripes w;
  ASSERT_TRUE(w.Make(u""));
  w.Paint();
  // The parent now paints white under the static; the static still shows the stripes.
  CDC* dc = w.parent.GetDC();
  CRect under(kStaticX, kStaticY, kStaticX + kStaticW, kStaticY + kStaticH);
  ::FillRect(dc->GetSafeHdc(), &under, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  w.parent.ReleaseDC(dc);
  w.text.Invalidate(TRUE);
  w.text.UpdateWindow();
  SIZE size{};
  const std::vector<DWORD> pixels = WindowPixels(w.text.m_hWnd, size);
  ASSERT_FALSE(pixels.empty());
  EXPECT_EQ(pixels[0], Rgb(kStripes[1]));
}

TEST_F(TransparentStatic, NewTextIsPaintedAtOnceOverTheCopy) {
  StaticOverStripes w;
  ASSERT_TRUE(w.Make(u""));
  w.Paint();
  SIZE size{};
  const std::vector<DWORD> before = WindowPixels(w.text.m_hWnd, size);
  w.text.SetWindowText(u"Scanning");
  CString text;
  w.text.GetWindowText(text);
  EXPECT_EQ(text, CString(u"Scanning"));
  const std::vector<DWORD> after = WindowPixels(w.text.m_hWnd, size);
  ASSERT_EQ(before.size(), after.size());
  EXPECT_NE(before, after);  // the text was drawn without a further paint request
  EXPECT_EQ(after[99 + 19 * kStaticW], Rgb(kStripes[(kStaticX + 99) / 10 % 3]));
}

TEST_F(TransparentStatic, StaticOverStripesMatchesTheReference) {
  StaticOverStripes w;
  ASSERT_TRUE(w.Make(u"Drivers found"));
  w.Paint();
  ExpectMatchesSnapshot(w.parent.m_hWnd, "transparent_static.png");
}

}  // namespace
}  // namespace zx::test
