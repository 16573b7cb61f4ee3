// BCMenu measuring and drawing: separators and text items measured, the full-colour style's
// elements (image column, highlight, tick, radio dot, images) in a memory DC, the picture of a
// row of items against the reference, the colour helpers, the version class and the shared
// image list.
#include <gtest/gtest.h>

#include <afxcmn.h>

#include "BCMenu.h"
#include "machine_fixture.h"
#include "snapshot_compare.h"
#include "winmetrics.h"
#include "zx/gdi.h"

namespace zx::test {
namespace {

constexpr int kWidth = 160, kRow = 26;

HBITMAP ScreenBitmap(int width, int height) {
  const HDC screen = GetDC(nullptr);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

// A memory DC over a white bitmap of `rows` item rows.
struct Canvas {
  explicit Canvas(int rows) {
    dc = CreateCompatibleDC(nullptr);
    bitmap = ScreenBitmap(kWidth, kRow * rows);
    old = SelectObject(dc, bitmap);
    RECT all{0, 0, kWidth, kRow * rows};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  void Draw(BCMenu& menu, const BCMenuData* data, int row, UINT state) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = data->nID;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = state;
    dis.hwndItem = reinterpret_cast<HWND>(menu.GetSafeHmenu());
    dis.hDC = dc;
    dis.rcItem = RECT{0, row * kRow, kWidth, (row + 1) * kRow};
    dis.itemData = reinterpret_cast<ULONG_PTR>(data);
    menu.DrawItem(&dis);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc, x, y) & 0xFFFFFF; }
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
};

class BCMenuDraw : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ASSERT_TRUE(menu_.CreatePopupMenu());
  }
  BCMenu menu_;
};

TEST_F(BCMenuDraw, SeparatorMeasuresZeroByThree) {
  ASSERT_TRUE(menu_.AppendODMenu(nullptr, MF_SEPARATOR));
  BCMenuData separator;
  separator.nFlags = MF_SEPARATOR | MF_OWNERDRAW;
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, 0, 99, 99, reinterpret_cast<ULONG_PTR>(&separator)};
  menu_.MeasureItem(&mis);
  EXPECT_EQ(mis.itemWidth, 0u);
  EXPECT_EQ(mis.itemHeight, 3u);
}

TEST_F(BCMenuDraw, TextItemMeasuresImageCellTextAndMargin) {
  ASSERT_TRUE(menu_.AppendODMenu(u"Scan", MF_OWNERDRAW, 40));
  const BCMenuData* data = menu_.FindMenuItem(40);
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, 40, 0, 0, reinterpret_cast<ULONG_PTR>(data)};
  menu_.MeasureItem(&mis);
  // The text's width in the menu font, as the screen measures it.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = 500;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 500, &metrics, 0));
  const HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
  const HDC dc = GetDC(nullptr);
  const HGDIOBJ old = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32W(dc, u"Scan", 4, &extent);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  ASSERT_GT(extent.cx, 0);
  EXPECT_EQ(mis.itemWidth, static_cast<UINT>(19 + extent.cx + 15));
  EXPECT_EQ(mis.itemHeight, static_cast<UINT>(std::max(GetSystemMetrics(SM_CYMENU), 26)));
  EXPECT_GE(mis.itemHeight, 26u);
}

TEST_F(BCMenuDraw, ItemWithoutRecordIsLeftAlone) {
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, 0, 7, 8, 0};
  menu_.MeasureItem(&mis);
  EXPECT_EQ(mis.itemWidth, 7u);
  Canvas canvas(1);
  DRAWITEMSTRUCT dis{};
  dis.hDC = canvas.dc;
  dis.rcItem = RECT{0, 0, kWidth, kRow};
  menu_.DrawItem(&dis);
  EXPECT_EQ(canvas.At(3, 3), 0xFFFFFFu);
}

TEST_F(BCMenuDraw, FullColourStyleFillsTheImageColumnAndTheHighlight) {
  ASSERT_TRUE(menu_.AppendODMenu(u"Scan", MF_OWNERDRAW, 40));
  Canvas canvas(2);
  canvas.Draw(menu_, menu_.FindMenuItem(40), 0, 0);
  canvas.Draw(menu_, menu_.FindMenuItem(40), 1, ODS_SELECTED);
  ASSERT_FALSE(BCMenu::IsXPThemeActive());
  EXPECT_EQ(canvas.At(3, 3), BCMenu::LightenColor(0xEED5B1, 0.85));
  EXPECT_EQ(canvas.At(kWidth - 3, 3), BCMenu::DarkenColor(GetSysColor(COLOR_WINDOW), 0.02));
  EXPECT_EQ(canvas.At(kWidth - 3, kRow + 5), menu_.m_crHighlight);
  EXPECT_EQ(canvas.At(0, kRow), BCMenu::LightenColor(GetSysColor(COLOR_HIGHLIGHT), 0.25));  // frame
}

TEST_F(BCMenuDraw, CheckedItemShowsTheTickStrokes) {
  ASSERT_TRUE(menu_.AppendODMenu(u"Remind", MF_OWNERDRAW | MF_CHECKED, 41));
  Canvas canvas(1);
  canvas.Draw(menu_, menu_.FindMenuItem(41), 0, ODS_CHECKED);
  // Image cell at (2, 3); the tick starts at (8, 8): strokes from rows 10, 11, 12, 11, 10, 9, 8.
  const int x = 2 + 6, y = (kRow - 19) / 2 + 5;
  const int start[7] = {2, 3, 4, 3, 2, 1, 0};
  const COLORREF ink = GetSysColor(COLOR_MENUTEXT);
  for (int i = 0; i < 7; ++i) {
    for (int k = 0; k < 3; ++k) EXPECT_EQ(canvas.At(x + i, y + start[i] + k), ink) << i << "," << k;
    EXPECT_NE(canvas.At(x + i, y + start[i] + 3), ink) << i;
    if (start[i] > 0) {
      EXPECT_NE(canvas.At(x + i, y + start[i] - 1), ink) << i;
    }
  }
}

// An item appended as a radio item shows the dot where a check item shows the tick.
TEST_F(BCMenuDraw, RadioItemShowsADot) {
  ASSERT_TRUE(menu_.AppendODMenu(u"Daily", MF_OWNERDRAW | MF_CHECKED | MFT_RADIOCHECK, 42));
  ASSERT_TRUE(menu_.AppendODMenu(u"Weekly", MF_OWNERDRAW | MF_CHECKED, 43));
  Canvas canvas(2);
  canvas.Draw(menu_, menu_.FindMenuItem(42), 0, ODS_CHECKED);
  canvas.Draw(menu_, menu_.FindMenuItem(43), 1, ODS_CHECKED);
  const int x = 2 + 6, y = (kRow - 19) / 2 + 6;
  const COLORREF ink = GetSysColor(COLOR_MENUTEXT);
  EXPECT_EQ(canvas.At(x + 3, y + 3), ink);
  EXPECT_NE(canvas.At(x + 3, y + 7), ink);
  EXPECT_NE(canvas.At(x + 6, y), ink) << "no tick stroke in the radio item";
  EXPECT_EQ(canvas.At(x + 6, kRow + y), ink) << "the check item's tick";
}

// An image of an image list is drawn into the item's image cell as it is in the list, over
// the button face where the icon is transparent.
TEST_F(BCMenuDraw, ImageListIconsAreDrawnInTheImageCell) {
  CImageList images;
  ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1));
  const HBITMAP picture = ScreenBitmap(16, 16);
  {
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, picture);
    RECT all{0, 0, 16, 16}, inner{4, 4, 12, 12};
    const HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255)), green = CreateSolidBrush(RGB(20, 160, 60));
    FillRect(dc, &all, magenta);
    FillRect(dc, &inner, green);
    DeleteObject(magenta);
    DeleteObject(green);
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  ASSERT_EQ(images.Add(picture, RGB(255, 0, 255)), 0);
  DeleteObject(picture);
  ASSERT_TRUE(menu_.AppendODMenu(u"Scan", MF_OWNERDRAW, 44, &images, 0));
  ASSERT_TRUE(menu_.AppendODMenu(u"Other", MF_OWNERDRAW, 45, &images, 3));
  const BCMenuData* item = menu_.FindMenuItem(44);
  ASSERT_GE(item->menuIconNormal, 0);
  EXPECT_EQ(menu_.FindMenuItem(45)->menuIconNormal, -1) << "no such image in the list";
  EXPECT_EQ(BCMenu::FindImage(44), item->menuIconNormal);
  Canvas canvas(1);
  canvas.Draw(menu_, item, 0, ODS_SELECTED);
  const int left = 2, top = (kRow - 19) / 2;
  EXPECT_EQ(canvas.At(left + 8, top + 8), RGB(20, 160, 60));
  EXPECT_EQ(canvas.At(left + 1, top + 1), GetSysColor(COLOR_BTNFACE) & 0xFFFFFF);
}

TEST_F(BCMenuDraw, RowOfItemsMatchesTheReference) {
  const HBITMAP image = ScreenBitmap(19, 19);
  {
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, image);
    RECT all{0, 0, 19, 19}, inner{4, 4, 15, 15};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    const HBRUSH blue = CreateSolidBrush(RGB(20, 60, 200));
    FillRect(dc, &inner, blue);
    DeleteObject(blue);
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  const int icon = BCMenu::AddImage(image, 900);
  DeleteObject(image);
  ASSERT_GE(icon, 0);
  ASSERT_TRUE(menu_.AppendODMenu(u"Scan now\tF5", MF_OWNERDRAW, 40, icon));
  ASSERT_TRUE(menu_.AppendODMenu(u"Settings", MF_OWNERDRAW, 41, icon));
  ASSERT_TRUE(menu_.AppendODMenu(u"Remind me", MF_OWNERDRAW | MF_CHECKED, 42));
  ASSERT_TRUE(menu_.AppendODMenu(u"Disabled", MF_OWNERDRAW | MF_GRAYED, 43, icon));
  ASSERT_TRUE(menu_.AppendODMenu(u"Default", MF_OWNERDRAW, 44));
  BCMenuData separator;
  separator.nFlags = MF_SEPARATOR | MF_OWNERDRAW;
  Canvas canvas(6);
  canvas.Draw(menu_, menu_.FindMenuItem(40), 0, ODS_SELECTED);
  canvas.Draw(menu_, menu_.FindMenuItem(41), 1, 0);
  canvas.Draw(menu_, menu_.FindMenuItem(42), 2, ODS_CHECKED);
  canvas.Draw(menu_, menu_.FindMenuItem(43), 3, ODS_GRAYED);
  canvas.Draw(menu_, &separator, 4, 0);
  canvas.Draw(menu_, menu_.FindMenuItem(44), 5, ODS_DEFAULT);

  SelectObject(canvas.dc, canvas.old);
  TempFolder temp;
  const std::string drawn = temp.path() + "/bcmenu_items.png";
  const bool saved = gdi::SaveBitmapPng(canvas.bitmap, drawn);
  canvas.old = SelectObject(canvas.dc, canvas.bitmap);
  ASSERT_TRUE(saved);
  ExpectSameAsReference(drawn, std::string(ZX_UI_SNAPSHOTS) + "/bcmenu_items.png", "bcmenu_items");
}

TEST(BCMenuColours, LightenAndDarkenByFactor) {
  EXPECT_EQ(BCMenu::LightenColor(RGB(100, 0, 200), 0.5), RGB(177, 127, 227));
  EXPECT_EQ(BCMenu::DarkenColor(RGB(100, 50, 201), 0.5), RGB(50, 25, 100));
  EXPECT_EQ(BCMenu::LightenColor(RGB(100, 0, 200), 1.0), RGB(255, 255, 255));
  EXPECT_EQ(BCMenu::DarkenColor(RGB(100, 0, 200), 1.0), RGB(0, 0, 0));
  EXPECT_EQ(BCMenu::LightenColor(0xEED5B1, 0.85), RGB(0xB1 + static_cast<int>((255 - 0xB1) * 0.85),
                                                      0xD5 + static_cast<int>((255 - 0xD5) * 0.85),
                                                      0xEE + static_cast<int>((255 - 0xEE) * 0.85)));
  for (double outside : {0.0, -0.5, 1.5}) {
    EXPECT_EQ(BCMenu::LightenColor(RGB(1, 2, 3), outside), RGB(1, 2, 3));
    EXPECT_EQ(BCMenu::DarkenColor(RGB(1, 2, 3), outside), RGB(1, 2, 3));
  }
}

TEST(BCMenuVersion, ClassIsOneOfTheKnownAndNoXPThemeOutsideXP) {
  const int versionClass = BCMenu::GetWindowsVersionClass();
  EXPECT_GE(versionClass, 0);
  EXPECT_LE(versionClass, 7);
  EXPECT_EQ(BCMenu::GetWindowsVersionClass(), versionClass);
  if (versionClass != 7) {
    EXPECT_FALSE(BCMenu::IsXPThemeActive());
  }
}

TEST(BCMenuImages, ImagesAreAddedInThreeFormsUnderTheirSource) {
  // The image list lives as long as the process: each run of the test takes new sources.
  static UINT run = 0;
  const UINT base = 700 + 10 * run++;
  const HBITMAP image = ScreenBitmap(19, 19);
  const int first = BCMenu::AddImage(image, base);
  ASSERT_GE(first, 0);
  EXPECT_EQ(BCMenu::FindImage(base), first);
  EXPECT_EQ(ImageList_GetImageCount(BCMenu::SharedImageList()), first + 3);
  const int second = BCMenu::AddImage(image, base + 1);
  EXPECT_EQ(second, first + 3);
  EXPECT_EQ(BCMenu::FindImage(base + 1), second);
  EXPECT_EQ(BCMenu::FindImage(base + 2), -1);
  DeleteObject(image);
  const HBITMAP wrong = ScreenBitmap(16, 16);
  EXPECT_EQ(BCMenu::AddImage(wrong, base + 3), -1);
  EXPECT_EQ(BCMenu::AddImage(nullptr, base + 4), -1);
  DeleteObject(wrong);
  EXPECT_EQ(BCMenu::FindImage(base + 3), -1);
}

}  // namespace
}  // namespace zx::test
