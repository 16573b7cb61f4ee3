// The page base: the fixed page size, the title, page icon and bottom strip painted as the
// reference picture shows, no strip while the flag is off, the paint callback in place of the
// page's painting, and controls placed on the large layout.
#include "DlgBaseShared.h"
#include "DlgLeftSideChild.h"
#include "dialogs_testing.h"

namespace zx::test {
namespace {

constexpr UINT kPageTemplate = 4002;

class TestPage : public CDlgLeftSideChild {
 public:
  TestPage() : CDlgLeftSideChild(kPageTemplate, nullptr) {}
};

class Page : public DialogTest {
 protected:
  void Open(TestPage& page, BOOL strip) {
    page.SetBottomStrip(strip);
    ASSERT_TRUE(page.Create(kPageTemplate, nullptr));
    page.SetWindowText(u"Scan settings");
    page.SetWindowPos(nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    page.ShowWindow(SW_SHOW);
    Pump();
    page.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
  }
};

TEST_F(Page, IsOfTheFixedSizeWithTheActionArea) {
  TestPage page;
  Open(page, FALSE);
  CRect window;
  page.GetWindowRect(&window);
  EXPECT_EQ(window.Size(), CSize(591, 473));
  EXPECT_EQ(page.GetActionRect(), CRect(353, 406, 550, 438));
  page.DestroyWindow();
}

TEST_F(Page, TheBottomStripRepeatsToTheRightEdgeOnlyWhenAsked) {
  // The strip's bottom row lies on the page's bottom row.
  const COLORREF strip = PictureColour(1019, 0, SharedBitmap(1019).GetHeight() - 1);
  for (BOOL on : {FALSE, TRUE}) {
    TestPage page;
    Open(page, on);
    SIZE size{};
    const std::vector<COLORREF> pixels = Pixels(page.m_hWnd, size);
    ASSERT_EQ(size.cx, 591);
    int stripPixels = 0;
    for (int x = 0; x < size.cx; ++x) stripPixels += pixels[static_cast<size_t>((size.cy - 1) * size.cx + x)] == strip;
    EXPECT_EQ(stripPixels, on ? size.cx : 0) << on;
    page.DestroyWindow();
  }
}

TEST_F(Page, TitleIconAndStripMatchTheReference) {
  TestPage page;
  Open(page, TRUE);
  SIZE size{};
  const std::vector<COLORREF> pixels = Pixels(page.m_hWnd, size);
  ASSERT_FALSE(pixels.empty());
  EXPECT_EQ(pixels[static_cast<size_t>(50 * size.cx + 30)], PictureColour(1075, 8, 8));  // the page icon at 22, 42
  ExpectWindowMatches(page.m_hWnd, "page.png");
  page.DestroyWindow();
}

void FillGreen(CWnd*, DWORD_PTR user, CDC* pDC, const CRect& client) {
  *reinterpret_cast<int*>(user) += 1;
  pDC->FillSolidRect(&client, 0x00A000);
}

TEST_F(Page, ThePaintCallbackTakesThePlaceOfThePagesPainting) {
  TestPage page;
  int calls = 0;
  page.SetPaintCallback(&FillGreen, TRUE, reinterpret_cast<DWORD_PTR>(&calls));
  Open(page, TRUE);
  SIZE size{};
  const std::vector<COLORREF> pixels = Pixels(page.m_hWnd, size);
  ASSERT_FALSE(pixels.empty());
  EXPECT_GT(calls, 0);
  EXPECT_EQ(pixels[static_cast<size_t>(20 * size.cx + 30)], RGB(0, 0xA0, 0));
  EXPECT_EQ(pixels[static_cast<size_t>((size.cy - 1) * size.cx + 5)], RGB(0, 0xA0, 0));
  page.DestroyWindow();
}

struct Scaled {
  int x, y, width, height;
  CRect moved;       // MoveDlgItemScaled
  CRect movedSized;  // MoveDlgItemScaledSize
};

TEST_F(Page, ControlsArePlacedOnTheLargeLayoutRoundedUp) {
  const Scaled table[] = {
      {0, 0, 60, 14, CRect(0, 0, 60, 14), CRect(0, 0, 91, 23)},
      {10, 10, 60, 14, CRect(16, 17, 76, 31), CRect(16, 17, 107, 40)},
      {100, 200, 1, 1, CRect(151, 325, 152, 326), CRect(151, 325, 153, 327)},
  };
  TestPage page;
  Open(page, FALSE);
  CWnd* item = page.GetDlgItem(20);
  ASSERT_NE(item, nullptr);
  for (const Scaled& row : table) {
    CRect rect;
    page.MoveDlgItemScaled(20, row.x, row.y, row.width, row.height);
    item->GetWindowRect(&rect);
    page.ScreenToClient(&rect);
    EXPECT_EQ(rect, row.moved) << row.x << "," << row.y;
    page.MoveDlgItemScaledSize(20, row.x, row.y, row.width, row.height);
    item->GetWindowRect(&rect);
    page.ScreenToClient(&rect);
    EXPECT_EQ(rect, row.movedSized) << row.x << "," << row.y;
  }
  page.DestroyWindow();
}

}  // namespace
}  // namespace zx::test
