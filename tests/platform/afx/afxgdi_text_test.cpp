// CDC's text output: DrawTextEx with margins, tabbed text and grayed text on a memory DC.
#include <gtest/gtest.h>

#include "afxwin.h"
#include "memory_canvas.h"

namespace {

using TextCanvas = zx::afxtest::MemoryCanvas<200, 40>;

TEST_F(TextCanvas, DrawTextExMeasuresWithItsMarginsAndCountsWhatItDrew) {
  const CString text(u"Driver");
  RECT plain{0, 0, 200, 40};
  ASSERT_GT(dc_.DrawText(text, &plain, DT_SINGLELINE | DT_CALCRECT), 0);
  DRAWTEXTPARAMS params{sizeof(DRAWTEXTPARAMS), 0, 7, 5, 0};
  RECT margined{0, 0, 200, 40};
  ASSERT_GT(dc_.DrawTextEx(text, &margined, DT_SINGLELINE | DT_CALCRECT, &params), 0);
  EXPECT_EQ(margined.right - margined.left, plain.right - plain.left + 12);
  EXPECT_EQ(params.uiLengthDrawn, 6u);
  EXPECT_EQ(text, CString(u"Driver"));
  DRAWTEXTPARAMS damaged{sizeof(DRAWTEXTPARAMS) + 1, 0, 0, 0, 0};
  RECT r{0, 0, 200, 40};
  EXPECT_EQ(dc_.DrawTextEx(text, &r, DT_SINGLELINE, &damaged), 0);
}

TEST_F(TextCanvas, TabbedTextOutAnswersTheLinesSize) {
  const int stops[] = {100};
  const CSize tabbed = dc_.TabbedTextOut(0, 0, CString(u"a\tb"), 1, stops, 0);
  const DWORD extent = GetTabbedTextExtentW(dc_.GetSafeHdc(), u"a\tb", 3, 1, stops);
  EXPECT_EQ(tabbed.cx, static_cast<LONG>(LOWORD(extent)));
  EXPECT_EQ(tabbed.cy, static_cast<LONG>(HIWORD(extent)));
  EXPECT_GT(tabbed.cx, 100);
  const CSize plain = dc_.TabbedTextOut(0, 0, u"ab", 2, 0, nullptr, 0);
  EXPECT_LT(plain.cx, 100);
  EXPECT_GT(plain.cy, 0);
}

struct GrayCall {
  HDC dc = nullptr;
  LPARAM data = 0;
  int length = 0;
};
GrayCall g_gray;

BOOL CALLBACK RecordGray(HDC dc, LPARAM data, int length) {
  g_gray = GrayCall{dc, data, length};
  return FALSE;
}

TEST_F(TextCanvas, GrayStringHandsItsProcedureTheDcAndAnswersWithIt) {
  g_gray = GrayCall{};
  EXPECT_FALSE(dc_.GrayString(nullptr, RecordGray, 1234, 9, 0, 0, 50, 20));
  EXPECT_EQ(g_gray.dc, dc_.GetSafeHdc());
  EXPECT_EQ(g_gray.data, 1234);
  EXPECT_EQ(g_gray.length, 9);
  // Without a procedure the text itself is drawn.
  dc_.FillSolidRect(0, 0, 200, 40, RGB(255, 255, 255));
  const CString text(u"WWWW");
  EXPECT_TRUE(dc_.GrayString(nullptr, nullptr, reinterpret_cast<LPARAM>(text.GetString()), 0, 2,
                             2, 100, 30));
  bool drawn = false;
  for (int x = 0; x < 100 && !drawn; ++x)
    for (int y = 0; y < 30 && !drawn; ++y) drawn = dc_.GetPixel(x, y) != RGB(255, 255, 255);
  EXPECT_TRUE(drawn);
}

}  // namespace
