// CFancyListCtrl: the owner-drawn report list of the shared windows: a check-box column, an
// image column and a detail column whose wrapped text spans to the last column, with the
// rows' data kept beside the control (CFancyListBase).
#pragma once
#include "FancyListBase.h"

class ZXHELPER_API CFancyListCtrl : public CFancyListBase {
  DECLARE_DYNAMIC(CFancyListCtrl)

 public:
  // The look the control draws with.
  static constexpr COLORREF kDetailColour = 0x555555;
  static constexpr COLORREF kGroupColour = 0x6D6D6D;
  static constexpr UINT kCheckBitmapId = 1092;

  CFancyListCtrl();
  ~CFancyListCtrl() override;

  // The row's title and figures; the wrapped text is cleared. FALSE outside the list or
  // without a detail column. This build keeps the title only.
  BOOL SetItemDetails(int nItem, LPCTSTR lpszDetail, UINT nStatusKind = 4, UINT nValue = 0,
                      LPCTSTR lpszText1 = nullptr, LPCTSTR lpszText2 = nullptr,
                      LPCTSTR lpszText3 = nullptr);

 protected:
  void CreateFonts() override;
  CFont& FirstLineFont() override { return m_fontBold; }
  CFont& LineFont() override { return m_fontDetail; }
  CFont& TextFont() override { return m_fontText; }
  CPoint CheckImageOrigin(int columnLeft, int columnWidth, const CRect& row) const override;
  void DrawRowBackground(CDC* pDC, int nItem, const CRect& row, UINT state) override;
  void DrawImageCell(CDC* pDC, int nItem, int x, int width, const CRect& row) override;
  void DrawDetailCell(CDC* pDC, int nItem, int x, int width, const CRect& row) override;

 private:
  CFont m_fontBold;    // group headers
  CFont m_fontText;    // wrapped text and the other columns
  CFont m_fontDetail;  // the row's title
};
