// Tabbed text (stops by default, by interval and by list), DrawTextExW's margins and counts,
// and grayed text drawn in the gray text colour, by text or by procedure.
#include "gdi_testing.h"
#include "wintabtext.h"
#include "zx/gdi.h"

namespace zx::test {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

int Width(HDC dc, const char16_t* text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text, static_cast<int>(std::char_traits<char16_t>::length(text)), &size);
  return size.cx;
}

int AverageWidth(HDC dc) {
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  return tm.tmAveCharWidth;
}

TEST(TabbedText, TabsStopEveryEightAverageCharactersByDefault) {
  Canvas canvas(400, 40);
  const int tab = 8 * AverageWidth(canvas.dc());
  const DWORD extent = GetTabbedTextExtentW(canvas.dc(), u"a\tb", 3, 0, nullptr);
  EXPECT_EQ(LOWORD(extent), tab + Width(canvas.dc(), u"b"));
  TEXTMETRICW tm{};
  GetTextMetricsW(canvas.dc(), &tm);
  EXPECT_EQ(HIWORD(extent), tm.tmHeight);
}

TEST(TabbedText, OneStopIsAnIntervalAndAListIsPositions) {
  Canvas canvas(400, 40);
  const int every[] = {50};
  EXPECT_EQ(LOWORD(GetTabbedTextExtentW(canvas.dc(), u"\t\t", 2, 1, every)), 100);
  const int list[] = {30, -70};
  EXPECT_EQ(LOWORD(GetTabbedTextExtentW(canvas.dc(), u"\t\t", 2, 2, list)), 70);
  // Past the last listed stop the default stops take over.
  const int tab = 8 * AverageWidth(canvas.dc());
  EXPECT_EQ(LOWORD(GetTabbedTextExtentW(canvas.dc(), u"\t\t\t", 3, 2, list)), (70 / tab + 1) * tab);
}

TEST(TabbedText, PiecesAreDrawnAtTheirStops) {
  Canvas canvas(300, 30);
  SetTextColor(canvas.dc(), RGB(0, 0, 0));
  const int stops[] = {100};
  TabbedTextOutW(canvas.dc(), 10, 5, u"\tX", 2, 1, stops, 10);
  const RECT ink = canvas.InkBox(kWhite);
  EXPECT_GE(ink.left, 110);
  EXPECT_LT(ink.left, 115);
  EXPECT_EQ(TabbedTextOutW(canvas.dc(), 0, 0, nullptr, 1, 0, nullptr, 0), 0);
}

TEST(DrawTextEx, MarginsNarrowTheTextAndCountTheCharacters) {
  Canvas canvas(200, 40);
  char16_t text[] = u"Margin";
  DRAWTEXTPARAMS params{sizeof params, 0, 20, 30, 0};
  RECT calc{0, 0, 200, 40};
  ASSERT_GT(DrawTextExW(canvas.dc(), text, -1, &calc, DT_SINGLELINE | DT_CALCRECT, &params), 0);
  EXPECT_EQ(calc.left, 0);
  EXPECT_EQ(calc.right, 20 + Width(canvas.dc(), u"Margin") + 30);
  EXPECT_EQ(params.uiLengthDrawn, 6u);
  RECT box{0, 0, 200, 40};
  SetTextColor(canvas.dc(), RGB(0, 0, 0));
  DrawTextExW(canvas.dc(), text, 6, &box, DT_SINGLELINE, &params);
  EXPECT_GE(canvas.InkBox(kWhite).left, 20);
  DRAWTEXTPARAMS wrong{4, 0, 0, 0, 0};
  EXPECT_EQ(DrawTextExW(canvas.dc(), text, 6, &box, 0, &wrong), 0);
}

BOOL CALLBACK DrawDot(HDC dc, LPARAM data, int) {
  const RECT dot{0, 0, 2, 2};
  HBRUSH brush = CreateSolidBrush(GetTextColor(dc));
  FillRect(dc, &dot, brush);
  DeleteObject(brush);
  return data == 7;
}

TEST(GrayString, TextIsDrawnInTheGrayTextColour) {
  Canvas canvas(100, 30);
  const COLORREF black = RGB(0, 0, 0);
  SetTextColor(canvas.dc(), black);
  ASSERT_TRUE(GrayStringW(canvas.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(u"Gray"), 0, 5, 5, 0, 0));
  const COLORREF gray = zx::gdi::SystemColour(17);
  EXPECT_GT(canvas.Count(gray), 0);
  EXPECT_EQ(canvas.Count(black), 0);
  EXPECT_EQ(GetTextColor(canvas.dc()), black);  // put back
  EXPECT_FALSE(GrayStringW(canvas.dc(), nullptr, nullptr, 0, 0, 0, 0, 0, 0));
}

TEST(GrayString, AProcedureDrawsFromTheOriginAtThePlaceAsked) {
  Canvas canvas(50, 50);
  EXPECT_TRUE(GrayStringW(canvas.dc(), nullptr, DrawDot, 7, 0, 20, 30, 2, 2));
  EXPECT_EQ(canvas.At(20, 30), zx::gdi::SystemColour(17));
  EXPECT_EQ(canvas.At(0, 0), kWhite);
  EXPECT_FALSE(GrayStringW(canvas.dc(), nullptr, DrawDot, 8, 0, 0, 0, 2, 2));
  POINT origin{1, 1};
  GetViewportOrgEx(canvas.dc(), &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
}

}  // namespace
}  // namespace zx::test
