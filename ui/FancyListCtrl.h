// CFancyListCtrl: the owner-drawn report list of the shared windows: a check-box column, an
// image column and a detail column whose wrapped text spans to the last column, with the
// rows' data kept beside the control.
#pragma once
#include "HelperApi.h"
#include <afxcmn.h>
#include <afxgdi.h>

#include <vector>

// Row kinds.
constexpr int kFancyRowNormal = 0;
constexpr int kFancyRowGroupHeader = 1;

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

class ZXHELPER_API CFancyListCtrl : public CListCtrl {
  DECLARE_DYNAMIC(CFancyListCtrl)

 public:
  // The look the control draws with.
  static constexpr COLORREF kCaptionColour = 0x1B1209;
  static constexpr COLORREF kSecondFillColour = 0xCAECF6;  // rows when the backgrounds differ
  static constexpr COLORREF kDetailColour = 0x555555;
  static constexpr COLORREF kGroupColour = 0x6D6D6D;
  static constexpr COLORREF kCellTextColour = 8;
  static constexpr UINT kCheckBitmapId = 1092;
  static constexpr int kCheckImageWidth = 15;
  static constexpr COLORREF kCheckMaskColour = 0xFF00FF;
  static constexpr int kBaseTextHeight = 13;
  static constexpr int kMaxWrappedLines = 100;
  static constexpr int kMinDetailWidth = 50;

  CFancyListCtrl();
  ~CFancyListCtrl() override;
  // The shared windows' look.
  static const FancyListLook& SharedLook();

  // Columns. Each answers the new column's index, or -1 when it was not inserted.
  int InsertCheckColumn(int nCol, LPCTSTR lpszHeading, int nWidth);
  int InsertImageColumn(int nCol, CImageList* pImageList, LPCTSTR lpszHeading, int nWidth);
  int InsertDetailColumn(int nCol, LPCTSTR lpszHeading, int nWidth, int nSubItem = -1);
  int GetCheckColumn() const { return m_nCheckColumn; }
  int GetImageColumn() const { return m_nImageColumn; }
  int GetDetailColumn() const { return m_nDetailColumn; }
  // The image column's pictures (null without an image column).
  CImageList* GetImageColumnList() const { return m_pImageList; }

  // The row's title and figures; the wrapped text is cleared. FALSE outside the list or
  // without a detail column. This build keeps the title only.
  BOOL SetItemDetails(int nItem, LPCTSTR lpszDetail, UINT nStatusKind = 4, UINT nValue = 0,
                      LPCTSTR lpszText1 = nullptr, LPCTSTR lpszText2 = nullptr,
                      LPCTSTR lpszText3 = nullptr);
  BOOL SetRowKind(int nItem, int nKind);
  int GetRowKind(int nItem) const;
  CString GetItemDetail(int nItem) const;
  // The text that wraps over the detail columns: the detail column's text at insertion.
  CString GetItemExtraText(int nItem) const;

  BOOL SetCheck(int nItem, BOOL bCheck);
  BOOL GetCheck(int nItem) const;
  BOOL DeleteAllItems();
  // Only this row selected and focused (none when the row is outside the list).
  void SelectSingleItem(int nItem);

  void SetBackgroundColours(COLORREF crFirst, COLORREF crSecond);
  // Whether unselected rows take the second fill (the two background colours differ).
  BOOL HasSecondFill() const { return m_crFirstBackground != m_crSecondBackground; }
  void SetImageColumnFixed(BOOL bFixed) { m_bImageColumnFixed = bFixed ? TRUE : FALSE; }
  // While suspended nothing is drawn, the header is left alone and rows are not measured;
  // the rows' data still follows insertions and deletions.
  void SetSuspended(BOOL bSuspended) { m_bSuspended = bSuspended ? TRUE : FALSE; }
  int GetRowHeight() const { return m_nRowHeight; }
  int GetFirstLineHeight() const { return m_nFirstLineHeight; }
  int GetLineHeight() const { return m_nLineHeight; }
  // Where a row's check box is drawn (and clicked), in client coordinates; empty when the
  // row shows none.
  CRect GetCheckBoxRect(int nItem) const;

  // Wraps the text to the rectangle's width at spaces, backslashes and tabs (line feeds
  // always break) and, unless measuring, draws the lines from the rectangle's top while
  // they fit. Answers the number of lines, at most kMaxWrappedLines.
  int WrapText(CDC* pDC, const CString& text, const CRect& rect, BOOL bMeasureOnly) const;

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

 protected:
  // A build of the list with a look of its own.
  explicit CFancyListCtrl(const FancyListLook& look);
  // The row whose check box lies under the client point, or -1.
  virtual int CheckBoxRowAt(CPoint point) const;
  // A column's left edge in client coordinates, after the horizontal scroll.
  int ColumnLeft(int nCol) const;

  void PreSubclassWindow() override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  afx_msg void OnItemInserted(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnItemDeleted(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  // The control's own sort, with the rows' data beside it moved along with the rows.
  afx_msg LRESULT OnSortItems(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  bool ValidRow(int nItem) const;
  // Moves the remembered column indices at or after nCol one up.
  void ShiftColumns(int nCol);
  // Whether the header may give the column this width.
  bool WidthAllowed(int nCol, int nWidth) const;
  // The sub-item the detail column shows.
  int DetailSubItem() const;
  int DetailAreaWidth() const;
  int MeasureLines(const CString& text);
  // Grows the rows to the height asked for (with the check and image minimums).
  void GrowRowHeight(int nHeight);
  // The height every row's wrapped text needs, from the base height.
  void RecomputeRowHeight();
  int WithMinimums(int nHeight) const;
  // Makes the control measure its rows again.
  void ApplyRowHeight();
  void ToggleCheckAt(CPoint point);
  void DrawDetail(CDC* pDC, int nItem, int x, const CRect& row);

  const FancyListLook& m_look;
  BYTE m_bDeleting = FALSE;
  BYTE m_bSuspended = FALSE;
  BYTE m_bImageColumnFixed = FALSE;
  COLORREF m_crFirstBackground = 0xFFFFFF;
  COLORREF m_crSecondBackground = 0xFFFFFF;
  CFont m_fontBold;    // group headers
  CFont m_fontText;    // wrapped text and the other columns
  CFont m_fontDetail;  // the row's title
  int m_nCheckColumn = -1;
  int m_nImageColumn = -1;
  int m_nDetailColumn = -1;
  CImageList* m_pImageList = nullptr;
  CImageList m_checkImages;
  std::vector<BYTE> m_checks;
  std::vector<int> m_images;
  std::vector<CString> m_details;
  std::vector<CString> m_extraTexts;
  std::vector<int> m_rowKinds;
  int m_nRowHeight = 22;
  CRect m_rcImageCell{0, 0, 32, 32};
  int m_nFirstLineHeight = kBaseTextHeight;
  int m_nLineHeight = kBaseTextHeight;
  CString m_breakChars;
  // The column a header drag is ending on and the width it is given (-1: none); the header
  // tells the end of a drag before it applies the width.
  int m_nTrackedColumn = -1;
  int m_nTrackedWidth = 0;
};

// Gives one row of the list LVIS_SELECTED | LVIS_FOCUSED.
ZXHELPER_API void SelectListItem(CListCtrl* pList, int nItem);
