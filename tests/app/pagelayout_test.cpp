// The pages' layout defaults and text painter: the defaults every page starts from, and texts
// drawn from a point to the page's right margin, answering the height they took.
#include <gtest/gtest.h>

#include "PageLayout.h"

namespace zx::test {
namespace {

TEST(PageLayout, TheDefaultsAreThePagesSizeAndItsListArea) {
  tagPageGeometry geometry;
  InitPageRect(geometry);
  for (const CRect& rect : geometry.rcPage) EXPECT_EQ(rect, CRect(0, 0, 592, 477));
  EXPECT_EQ(geometry.rcList, CRect(0, 0, 565, 400));
  EXPECT_EQ(geometry.nContentTop, 130);
  EXPECT_EQ(geometry.nSpacing, 3);
  EXPECT_EQ(DefaultPageGeometry().rcPage[0], geometry.rcPage[0]);
}

// A page-sized surface: what a text drew, and where.
class PageCanvas : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dc_.CreateCompatibleDC(nullptr));
    bitmap_.Attach(::CreateCompatibleBitmap(dc_.GetSafeHdc(), 600, 480));
    old_ = dc_.SelectObject(static_cast<HGDIOBJ>(bitmap_.GetSafeHandle()));
    font_ = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  }
  void TearDown() override { dc_.SelectObject(old_); }
  int LineHeight() {
    const HGDIOBJ old = ::SelectObject(dc_.GetSafeHdc(), font_);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc_.GetSafeHdc(), &metrics);
    ::SelectObject(dc_.GetSafeHdc(), old);
    return metrics.tmHeight;
  }
  // The rightmost column with ink, or -1.
  int InkRight() {
    for (int x = 599; x >= 0; --x)
      for (int y = 0; y < 480; ++y)
        if (dc_.GetPixel(x, y) != 0xFFFFFF) return x;
    return -1;
  }

  CDC dc_;
  CBitmap bitmap_;
  HGDIOBJ old_ = nullptr;
  HFONT font_ = nullptr;
};

TEST_F(PageCanvas, TextsWrapAtThePagesRightMarginAndAnswerTheirHeight) {
  CString longText;
  for (int i = 0; i < 40; ++i) longText += _T("driver ");
  const struct {
    LPCTSTR text;
    int x;
    UINT format;
    int lines;  // 0: more than one
  } kCases[] = {
      {_T("Scan results"), 22, DT_WORDBREAK | DT_NOPREFIX, 1},
      {longText, 84, DT_WORDBREAK | DT_NOPREFIX, 0},
      {longText, 22, DT_SINGLELINE | DT_NOPREFIX, 1},
  };
  for (const auto& c : kCases) {
    dc_.FillSolidRect(0, 0, 600, 480, 0xFFFFFF);
    const int mode = dc_.GetBkMode();
    CRect drawn;
    const int height = DrawPageText(&dc_, c.text, c.x, 54, font_, 0x000000, c.format, &drawn);
    if (c.lines == 1)
      EXPECT_EQ(height, LineHeight()) << CStringA(c.text).GetString();
    else
      EXPECT_GT(height, LineHeight()) << "wrapped";
    EXPECT_EQ(drawn, CRect(c.x, 54, 570, 54 + height));
    EXPECT_LT(InkRight(), 570) << "nothing beyond the right margin";
    EXPECT_GT(InkRight(), c.x);
    EXPECT_EQ(dc_.GetBkMode(), mode) << "the DC's mode is left as it was";
  }
}

}  // namespace
}  // namespace zx::test
