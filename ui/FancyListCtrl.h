// CFancyListCtrl: the owner-drawn report list of the shared windows: a check-box column, an
// image column and a detail column whose wrapped text spans to the last column, with the
// rows' data kept beside the control (CFancyListBase). Programs with a look of their own
// (check pictures and fonts) build on it with a FancyListLook.
#pragma once
#include "FancyListBase.h"

// What a build of the list draws with: the check images' bitmap and the three fonts.
struct FancyListLook {
  struct Font {
    LPCTSTR face;
    int height;
    int weight;
    BYTE quality;
  };
  UINT checkBitmapId;
  Font bold;    // group headers
  Font text;    // wrapped text and the other columns
  Font detail;  // the row's title
};

class ZXHELPER_API CFancyListCtrl : public CFancyListBase {
  DECLARE_DYNAMIC(CFancyListCtrl)

 public:
  // The look the control draws with.
  static constexpr COLORREF kDetailColour = 0x555555;
  static constexpr COLORREF kGroupColour = 0x6D6D6D;
  static constexpr UINT kCheckBitmapId = 1092;

  CFancyListCtrl();
  ~CFancyListCtrl() override;
  // The shared windows' look.
  static const FancyListLook& SharedLook();

  // The row's title and figures; the wrapped text is cleared. FALSE outside the list or
  // without a detail column. This build keeps the title only.
  BOOL SetItemDetails(int nItem, LPCTSTR lpszDetail, UINT nStatusKind = 4, UINT nValue = 0,
                      LPCTSTR lpszText1 = nullptr, LPCTSTR lpszText2 = nullptr,
                      LPCTSTR lpszText3 = nullptr);

 protected:
  // A build of the list with a look of its own.
  explicit CFancyListCtrl(const FancyListLook& look);

  void CreateFonts() override;
  CFont& FirstLineFont() override { return m_fontBold; }
  CFont& LineFont() override { return m_fontDetail; }
  CFont& TextFont() override { return m_fontText; }
  CPoint CheckImageOrigin(int columnLeft, int columnWidth, const CRect& row) const override;
  void DrawRowBackground(CDC* pDC, int nItem, const CRect& row, UINT state) override;
  void DrawImageCell(CDC* pDC, int nItem, int x, int width, const CRect& row) override;
  void DrawDetailCell(CDC* pDC, int nItem, int x, int width, const CRect& row) override;

 private:
  const FancyListLook& m_look;
  CFont m_fontBold;    // group headers
  CFont m_fontText;    // wrapped text and the other columns
  CFont m_fontDetail;  // the row's title
};
