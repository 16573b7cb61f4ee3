// The page painters: an empty boxed list draws nothing, one row draws no separator, rows that
// a list lacks are left out instead of failing, bars follow their width, and a page painted
// with every painter matches the reference picture.
#include <vector>

#include "DlgBaseShared.h"
#include "DlgLeftSideChild.h"
#include "PagePainters.h"
#include "dialogs_testing.h"

namespace zx::test {
namespace {

constexpr UINT kPageTemplate = 4102;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kSeparator = 0xEDEDED;

// A white surface to paint on, read back pixel by pixel.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    dc_.CreateCompatibleDC(nullptr);
    const HDC screen = ::GetDC(nullptr);
    bitmap_.Attach(::CreateCompatibleBitmap(screen, width, height));
    ::ReleaseDC(nullptr, screen);
    old_ = dc_.SelectObject(static_cast<HGDIOBJ>(bitmap_.GetSafeHandle()));
    dc_.FillSolidRect(0, 0, width, height, kWhite);
  }
  ~Canvas() { dc_.SelectObject(old_); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  CDC* dc() { return &dc_; }
  int Count(COLORREF colour) {
    int n = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) n += dc_.GetPixel(x, y) == colour;
    return n;
  }
  int CountInRow(int y, COLORREF colour) {
    int n = 0;
    for (int x = 0; x < width_; ++x) n += dc_.GetPixel(x, y) == colour;
    return n;
  }
  int NotWhite() { return width_ * height_ - Count(kWhite); }
  int Differences(Canvas& other) {
    int n = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) n += dc_.GetPixel(x, y) != other.dc_.GetPixel(x, y);
    return n;
  }

 private:
  int width_, height_;
  CDC dc_;
  CBitmap bitmap_;
  HGDIOBJ old_ = nullptr;
};

struct Lists {
  CStringArray names, values;
  CDWordArray colours;
  CArray<HICON, HICON> icons;
  explicit Lists(int rows) {
    for (int i = 0; i < rows; ++i) {
      CString name, value;
      name.Format(u"Device %d", i + 1);
      value.Format(u"Version %d.0", i + 1);
      names.Add(name);
      values.Add(value);
      colours.Add(i % 2 ? 0x0000C0 : 0x008000);
      icons.Add(::LoadIconW(nullptr, IDI_INFORMATION));
    }
  }
};

using Painters = DialogTest;

TEST_F(Painters, AListWithoutRowsDrawsNothing) {
  Canvas canvas(600, 200);
  const Lists lists(3);
  DrawListFrame(canvas.dc(), 10, 10, 0, u"Drivers", lists.names, lists.values, lists.colours);
  EXPECT_EQ(canvas.NotWhite(), 0);
}

TEST_F(Painters, RowSeparatorsStandBetweenRowsOnly) {
  for (int rows : {1, 2, 3}) {
    Canvas canvas(600, 200);
    const Lists lists(rows);
    DrawListFrame(canvas.dc(), 10, 10, rows, u"Drivers", lists.names, lists.values, lists.colours);
    EXPECT_GT(canvas.NotWhite(), 0);
    for (int row = 1; row < 4; ++row)
      EXPECT_EQ(canvas.CountInRow(10 + 30 + 28 * row, kSeparator) > 500, row < rows) << rows << " rows, line " << row;
  }
}

TEST_F(Painters, RowsMissingFromAListAreLeftOut) {
  const Lists full(3), short_(1);
  Canvas held(600, 200), lacking(600, 200), shortOnly(600, 200);
  DrawListFrame(held.dc(), 10, 10, 3, u"Drivers", full.names, full.values, full.colours);
  DrawListFrame(lacking.dc(), 10, 10, 3, u"Drivers", full.names, short_.values, full.colours);
  DrawListFrame(shortOnly.dc(), 10, 10, 3, u"Drivers", short_.names, short_.values, short_.colours);
  // The frame is the same; only the first row's texts are drawn.
  EXPECT_EQ(lacking.Differences(shortOnly), 0);
  EXPECT_GT(lacking.Differences(held), 0);

  Canvas panel(640, 200);
  DrawSectionPanel(panel.dc(), 10, 10, 150, u"Backup", 0, full.icons, full.names, short_.values, full.colours, 400);
  EXPECT_GT(panel.NotWhite(), 0);
}

TEST_F(Painters, BarsReachTheirWidthWithTheIconWhereAsked) {
  // The middle of the icon picture, drawn at x + 15.
  const COLORREF icon = [] {
    Canvas probe(60, 60);
    DrawWhole(probe.dc(), SharedBitmap(1026), 0, 0);
    return probe.dc()->GetPixel(20, 25);
  }();
  struct Bar {
    int width;
    bool withIcon;
  };
  for (const Bar bar : {Bar{548, false}, Bar{548, true}, Bar{300, true}}) {
    Canvas canvas(600, 60);
    if (bar.width == 548)
      DrawHorizontalBar(canvas.dc(), 4, 5, FALSE, bar.withIcon);
    else
      DrawHorizontalBarWidth(canvas.dc(), 4, 5, FALSE, bar.width);
    EXPECT_EQ(canvas.CountInRow(30, kWhite), 600 - bar.width) << bar.width;
    EXPECT_EQ(canvas.dc()->GetPixel(4 + 15 + 20, 5 + 25) == icon, bar.withIcon) << bar.width;
    EXPECT_EQ(canvas.CountInRow(4, kWhite), 600) << "50 pixels high from y";
    EXPECT_EQ(canvas.CountInRow(55, kWhite), 600);
    EXPECT_LT(canvas.CountInRow(54, kWhite), 600);
  }
}

void PaintEveryPainter(CWnd*, DWORD_PTR, CDC* pDC, const CRect& client) {
  pDC->FillSolidRect(&client, kWhite);
  const Lists lists(2);
  DrawHorizontalBar(pDC, 10, 4, FALSE, TRUE);
  DrawHorizontalBarWidth(pDC, 10, 58, TRUE, 400);
  DrawListFrame(pDC, 10, 112, 2, u"Installed drivers", lists.names, lists.values, lists.colours);
  DrawSectionPanel(pDC, 10, 210, 120, u"Backup", 1088, lists.icons, lists.names, lists.values, lists.colours, 545);
  DrawSectionPanel(pDC, 10, 336, 110, u"Restore", 0, lists.icons, lists.names, lists.values, lists.colours, 400);
  DrawRoundedPanel(pDC, 430, 336, 446, 140);
}

class PaintedPage : public CDlgLeftSideChild {
 public:
  PaintedPage() : CDlgLeftSideChild(kPageTemplate, nullptr) {}
};

TEST_F(Painters, APagePaintedWithEveryPainterMatchesTheReference) {
  CDlgBaseWnd host(4101, nullptr);
  ASSERT_TRUE(host.Create(4101, nullptr));
  host.SetWindowPos(nullptr, 0, 0, 600, 480, SWP_NOZORDER);
  host.ShowWindow(SW_SHOW);
  PaintedPage page;
  page.SetPaintCallback(&PaintEveryPainter, TRUE, 0);
  ASSERT_TRUE(page.Create(kPageTemplate, &host));
  page.GetDlgItem(10)->DestroyWindow();
  page.ShowWindow(SW_SHOW);
  Pump();
  host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  ExpectWindowMatches(page.m_hWnd, "painters.png");
  page.DestroyWindow();
  host.DestroyWindow();
}

}  // namespace
}  // namespace zx::test
