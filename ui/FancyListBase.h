// CFancyListBase: what every build of the owner-drawn report list shares: the check, image and
// detail columns, the per-row data kept in step with the control's rows (also through sorts),
// row heights from wrapped texts, the header's width rules, check-box clicks and the frame of
// each row's drawing. Each build adds its fonts, its further row data and its cells' looks.
#pragma once
#include "HelperApi.h"
#include <afxcmn.h>
#include <afxgdi.h>

#include <algorithm>
#include <cstddef>
#include <vector>

// Row kinds.
constexpr int kFancyRowNormal = 0;
constexpr int kFancyRowGroupHeader = 1;

class ZXHELPER_API CFancyListBase : public CListCtrl {
  DECLARE_DYNAMIC(CFancyListBase)

 public:
  static constexpr COLORREF kCaptionColour = 0x1B1209;
  static constexpr COLORREF kSecondFillColour = 0xCAECF6;  // rows when the backgrounds differ
  static constexpr COLORREF kCellTextColour = 8;
  static constexpr int kCheckImageWidth = 15;
  static constexpr COLORREF kCheckMaskColour = 0xFF00FF;
  static constexpr int kBaseTextHeight = 13;
  static constexpr int kMaxWrappedLines = 100;
  static constexpr int kMinDetailWidth = 50;

  ~CFancyListBase() override;

  // Columns. Each answers the new column's index, or -1 when it was not inserted.
  int InsertCheckColumn(int nCol, LPCTSTR lpszHeading, int nWidth);
  int InsertImageColumn(int nCol, CImageList* pImageList, LPCTSTR lpszHeading, int nWidth);
  int InsertDetailColumn(int nCol, LPCTSTR lpszHeading, int nWidth, int nSubItem = -1);
  int GetCheckColumn() const { return m_nCheckColumn; }
  int GetImageColumn() const { return m_nImageColumn; }
  int GetDetailColumn() const { return m_nDetailColumn; }
  // The image column's pictures (null without an image column).
  CImageList* GetImageColumnList() const { return m_pImageList; }

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
  // Where a row's check box is drawn, in client coordinates; empty when the row shows none.
  CRect GetCheckBoxRect(int nItem) const;
  // The band of a shown row that takes check clicks, in client coordinates: from the check
  // column's centre + 8 to + 18, 11 pixels high at the place the row's distance from the top
  // row gives it; empty without a check column, for a group header or a row above the top.
  CRect GetCheckClickRect(int nItem) const;

  // Wraps the text to the rectangle's width at spaces, backslashes and tabs (line feeds
  // always break) and, unless measuring, draws the lines from the rectangle's top while
  // they fit. Answers the number of lines, at most kMaxWrappedLines.
  int WrapText(CDC* pDC, const CString& text, const CRect& rect, BOOL bMeasureOnly) const;

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

 protected:
  // The check images are cut from that bitmap of the resource module.
  explicit CFancyListBase(UINT nCheckBitmapId);

  void PreSubclassWindow() override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  // ---- What each build adds
  virtual void CreateFonts() = 0;
  // The fonts of a row's first line and of the wrapped lines (their heights are measured).
  virtual CFont& FirstLineFont() = 0;
  virtual CFont& LineFont() = 0;
  // The font wrapped texts are measured in and the other columns' texts are drawn in.
  virtual CFont& TextFont() = 0;
  // The top left of a row's check image in its column.
  virtual CPoint CheckImageOrigin(int columnLeft, int columnWidth, const CRect& row) const = 0;
  // The row's fill (and anything drawn under the cells).
  virtual void DrawRowBackground(CDC* pDC, int nItem, const CRect& row, UINT state) = 0;
  virtual void DrawImageCell(CDC* pDC, int nItem, int x, int width, const CRect& row) = 0;
  virtual void DrawDetailCell(CDC* pDC, int nItem, int x, int width, const CRect& row) = 0;
  // Any other column: its text in colour 8 inside the cell less 2 pixels each side.
  virtual void DrawOtherCell(CDC* pDC, int nItem, int column, int x, int width, const CRect& row, UINT state);
  // The further per-row data of a build follows the rows through these.
  virtual void OnRowInserted(std::size_t /*at*/) {}
  virtual void OnRowRemoved(std::size_t /*at*/) {}
  virtual void OnRowsCleared() {}
  virtual void OnRowsReordered(const std::vector<std::size_t>& /*before*/) {}
  // A click turned the row's check box to this state.
  virtual void OnCheckClicked(int /*nItem*/, BOOL /*bChecked*/) {}

  // A font of the list's table: face, height, weight, quality, underlined or not.
  static BOOL MakeListFont(CFont& font, LPCTSTR face, int height, int weight, BYTE quality, BOOL underline = FALSE);
  // The row filled white, or in the second fill while the two backgrounds differ and the
  // row is not selected; a selected row's text turns white.
  void FillRow(CDC* pDC, const CRect& row, UINT state) const;

  // Stores the row's title, clears its wrapped text and kind and grows the rows to first-line
  // height + 18; false outside the list or without a detail column.
  bool StoreDetail(int nItem, LPCTSTR lpszDetail);
  bool ValidRow(int nItem) const;
  // Grows the rows to the height asked for (with the check and image minimums).
  void GrowRowHeight(int nHeight);
  // The width the detail text may take: the detail column and every column after it, less 4.
  int DetailAreaWidth() const;
  // The row whose check band lies under the client point, or -1.
  virtual int CheckBoxRowAt(CPoint point) const;
  // The row whose check band the point lies in, counted from the header (-1: none).
  int CheckBandRowAt(CPoint point) const;
  // What a click's height below the header is moved by before it is counted off in rows.
  virtual int CheckBandOffset() const { return 25; }
  // A column's left edge in client coordinates, after the horizontal scroll.
  int ColumnLeft(int nCol) const;
  const CRect& GetImageCell() const { return m_rcImageCell; }
  CImageList& GetCheckImages() { return m_checkImages; }

  // Puts values in the order the rows took: before[i] is the old index of row i.
  template <typename T>
  static void Reorder(std::vector<T>& values, const std::vector<std::size_t>& before) {
    if (values.size() != before.size()) return;
    std::vector<T> sorted;
    sorted.reserve(before.size());
    for (std::size_t from : before) sorted.push_back(values[from]);
    values.swap(sorted);
  }
  template <typename T>
  static void InsertAt(std::vector<T>& values, std::size_t at, T value) {
    values.insert(values.begin() + static_cast<std::ptrdiff_t>(std::min(at, values.size())), std::move(value));
  }
  template <typename T>
  static void EraseAt(std::vector<T>& values, std::size_t at) {
    if (at < values.size()) values.erase(values.begin() + static_cast<std::ptrdiff_t>(at));
  }

  afx_msg void OnItemInserted(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnItemDeleted(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  // The control's own sort, with the rows' data beside it moved along with the rows.
  afx_msg LRESULT OnSortItems(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 protected:
  BYTE m_bSuspended = FALSE;
  COLORREF m_crFirstBackground = 0xFFFFFF;
  COLORREF m_crSecondBackground = 0xFFFFFF;
  std::vector<BYTE> m_checks;
  std::vector<int> m_images;
  std::vector<CString> m_details;
  std::vector<CString> m_extraTexts;
  std::vector<int> m_rowKinds;

 private:
  // Moves the remembered column indices at or after nCol one up.
  void ShiftColumns(int nCol);
  // Whether the header may give the column this width.
  bool WidthAllowed(int nCol, int nWidth) const;
  // The sub-item the detail column shows.
  int DetailSubItem() const;
  int MeasureLines(const CString& text);
  // The height every row's wrapped text needs, from the base height.
  void RecomputeRowHeight();
  int WithMinimums(int nHeight) const;
  // Makes the control measure its rows again.
  void ApplyRowHeight();
  void ToggleCheckAt(CPoint point);
  // The check column's centre and the header's height, in client coordinates.
  int CheckColumnCentre() const;
  int HeaderHeight() const;

  UINT m_nCheckBitmapId;
  BYTE m_bDeleting = FALSE;
  BYTE m_bImageColumnFixed = FALSE;
  int m_nCheckColumn = -1;
  int m_nImageColumn = -1;
  int m_nDetailColumn = -1;
  CImageList* m_pImageList = nullptr;
  CImageList m_checkImages;
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
