// Device contexts: objects selected and given back, bitmaps held by one DC, saved states,
// device capabilities and object queries.
#include "errhandlingapi.h"
#include "gdi_testing.h"
#include "zx/gdi.h"

namespace zx::test {
namespace {

TEST(DeviceContext, NewMemoryDcHoldsOnePixelBitmap) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  BITMAP bm{};
  ASSERT_EQ(GetObjectW(GetCurrentObject(dc, OBJ_BITMAP), sizeof(bm), &bm), static_cast<int>(sizeof(bm)));
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(bm.bmHeight, 1);
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_EQ(GetObjectType(dc), 0u);
}

TEST(DeviceContext, SelectObjectAnswersThePreviousObjectOfEachKind) {
  Canvas canvas(4, 4);
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  HBRUSH brush = CreateSolidBrush(kBlue);
  HGDIOBJ oldPen = SelectObject(canvas.dc(), pen);
  HGDIOBJ oldBrush = SelectObject(canvas.dc(), brush);
  EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));
  EXPECT_EQ(oldBrush, GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), pen);
  EXPECT_EQ(SelectObject(canvas.dc(), oldPen), pen);
  EXPECT_EQ(SelectObject(canvas.dc(), oldBrush), brush);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_TRUE(DeleteObject(brush));
}

TEST(DeviceContext, BitmapIsSelectedIntoOneDcAtATime) {
  HDC first = CreateCompatibleDC(nullptr);
  HDC second = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(first, 8, 8);
  HGDIOBJ previous = SelectObject(first, bitmap);
  ASSERT_NE(previous, nullptr);
  EXPECT_EQ(SelectObject(second, bitmap), nullptr);
  SelectObject(first, previous);
  EXPECT_NE(SelectObject(second, bitmap), nullptr);
  // Deleting the DC lets the bitmap go.
  DeleteDC(second);
  EXPECT_NE(SelectObject(first, bitmap), nullptr);
  DeleteDC(first);
  EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(DeviceContext, BitmapDeletedWhileSelectedStaysDrawable) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 3, 3);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_TRUE(SetPixelV(dc, 1, 1, kRed));
  EXPECT_EQ(GetPixel(dc, 1, 1), kRed);
  SelectObject(dc, previous);
  DeleteDC(dc);
}

TEST(DeviceContext, SaveAndRestoreBringBackObjectsAndModes) {
  Canvas canvas(4, 4);
  const int level = SaveDC(canvas.dc());
  EXPECT_EQ(level, 1);
  SetTextColor(canvas.dc(), kRed);
  SetBkMode(canvas.dc(), TRANSPARENT);
  SetWindowOrgEx(canvas.dc(), 5, 5, nullptr);
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  SelectObject(canvas.dc(), pen);
  EXPECT_TRUE(RestoreDC(canvas.dc(), -1));
  EXPECT_EQ(GetTextColor(canvas.dc()), kBlack);
  EXPECT_EQ(GetBkMode(canvas.dc()), OPAQUE);
  POINT origin{};
  GetWindowOrgEx(canvas.dc(), &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_FALSE(RestoreDC(canvas.dc(), -1));  // nothing saved any more
  DeleteObject(pen);
}

TEST(DeviceContext, DisplayAnswersItsCapabilities) {
  HDC display = CreateDCW(u"DISPLAY", nullptr, nullptr, nullptr);
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(GetDeviceCaps(display, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(display, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(display, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(display, PLANES), 1);
  EXPECT_GT(GetDeviceCaps(display, HORZRES), 0);
  EXPECT_TRUE(GetDeviceCaps(display, RASTERCAPS) & RC_STRETCHBLT);
  EXPECT_EQ(GetObjectType(display), static_cast<DWORD>(OBJ_DC));
  DeleteDC(display);
  EXPECT_EQ(CreateDCW(u"PRINTER", nullptr, nullptr, nullptr), nullptr);
}

TEST(DeviceContext, StockObjectsSurviveDeletion) {
  HGDIOBJ white = GetStockObject(WHITE_BRUSH);
  EXPECT_TRUE(DeleteObject(white));
  LOGBRUSH lb{};
  ASSERT_EQ(GetObjectW(white, sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
  EXPECT_EQ(lb.lbColor, kWhite);
  EXPECT_EQ(GetStockObject(NULL_BRUSH), GetStockObject(HOLLOW_BRUSH));
  EXPECT_EQ(GetStockObject(99), nullptr);
}

TEST(DeviceContext, ObjectQueriesDescribeTheObject) {
  HPEN pen = CreatePen(PS_DOT, 1, RGB(1, 2, 3));
  LOGPEN lp{};
  ASSERT_EQ(GetObjectW(pen, sizeof(lp), &lp), static_cast<int>(sizeof(lp)));
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DOT));
  EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
  EXPECT_EQ(GetObjectW(pen, 0, nullptr), static_cast<int>(sizeof(LOGPEN)));
  EXPECT_EQ(GetObjectW(pen, 2, &lp), 0);  // too small
  LOGFONTW in{};
  in.lfHeight = -13;
  in.lfWeight = FW_BOLD;
  HFONT font = CreateFontIndirectW(&in);
  LOGFONTW out{};
  ASSERT_EQ(GetObjectW(font, sizeof(out), &out), static_cast<int>(sizeof(out)));
  EXPECT_EQ(out.lfHeight, -13);
  EXPECT_EQ(out.lfWeight, FW_BOLD);
  EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
  DeleteObject(pen);
  DeleteObject(font);
}

TEST(DeviceContext, BadHandlesAreRefusedWithAnError) {
  HDC bogus = reinterpret_cast<HDC>(static_cast<ULONG_PTR>(0x7777770));
  SetLastError(0);
  EXPECT_EQ(SelectObject(bogus, GetStockObject(BLACK_PEN)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(DeleteDC(bogus));
  EXPECT_FALSE(Rectangle(bogus, 0, 0, 1, 1));
  EXPECT_EQ(GetPixel(bogus, 0, 0), CLR_INVALID);
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_FALSE(DeleteObject(dc));  // a DC is deleted with DeleteDC
  DeleteDC(dc);
}

TEST(DeviceContext, SurfaceDcDrawsIntoItsAreaOfTheSurface) {
  HBITMAP surface = zx::gdi::CreateSurfaceBitmap(20, 20);
  HDC dc = zx::gdi::CreateSurfaceDC(surface);
  HRGN visible = CreateRectRgn(0, 0, 5, 5);
  ASSERT_TRUE(zx::gdi::SetSurfaceDCArea(dc, {10, 10}, visible));
  DeleteObject(visible);
  // A surface DC holds no bitmap of its own.
  HBITMAP other = CreateCompatibleBitmap(dc, 2, 2);
  EXPECT_EQ(SelectObject(dc, other), nullptr);
  HBRUSH red = CreateSolidBrush(kRed);
  const RECT all{-20, -20, 20, 20};
  FillRect(dc, &all, red);
  RECT box{};
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 5);
  HDC reader = CreateCompatibleDC(nullptr);
  SelectObject(reader, surface);
  EXPECT_EQ(GetPixel(reader, 10, 10), kRed);
  EXPECT_EQ(GetPixel(reader, 14, 14), kRed);
  EXPECT_EQ(GetPixel(reader, 15, 15), kBlack);
  EXPECT_EQ(GetPixel(reader, 9, 9), kBlack);
  DeleteDC(reader);
  DeleteDC(dc);
  DeleteObject(red);
  DeleteObject(other);
  DeleteObject(surface);
}

}  // namespace
}  // namespace zx::test
