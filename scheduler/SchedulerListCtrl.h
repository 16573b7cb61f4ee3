// CSchedulerListCtrl: the scheduler's build of the owner-drawn report list: the shared list's
// rows and columns with the scheduler's own fonts, a 32-bit value and a further text per row,
// its row painting (tool name, next run, the "Edit" link), its header CZWHeaderCtrl, and the
// link cursor over the link column.
#pragma once
#include "FancyListCtrl.h"
#include "FancyRowData.h"
#include "ZWHeaderCtrl.h"

class CSchedulerListCtrl : public CFancyRowData<CFancyListCtrl, 1, 1> {
  DECLARE_DYNAMIC(CSchedulerListCtrl)

 public:
  static constexpr UINT kLinkCursorId = 1016;
  static constexpr int kLinkColumn = 3;
  static constexpr COLORREF kNameColour = 0x404040;
  static constexpr COLORREF kLinkColour = 0xFF3600;
  static constexpr COLORREF kFocusFill = 0xFAF3E3;
  static constexpr COLORREF kGroupCellFill = 0xFCFAF8;
  static constexpr COLORREF kGroupLineColour = 0xD8CCCC;

  // The fonts the build makes beside its look's, in this order; the link font draws the
  // "Edit" column.
  enum OwnFont { kLargeFont, kBoldHeadingFont, kHeadingFont, kLinkFont, kBoldSmallFont, kPlainFont, kOwnFontCount };

  CSchedulerListCtrl();
  ~CSchedulerListCtrl() override;
  // The scheduler's fonts: "Tahoma" -11 for a row's first line and "Segoe UI" -11 for the
  // lines under it.
  static const FancyListLook& SchedulerLook();
  CFont& GetOwnFont(OwnFont font) { return m_ownFonts[font]; }

  // Whether every row is checked (false without rows).
  BOOL AreAllRowsChecked() const;
  // The next-run column drawn in white (on the second fill of rows); off at construction.
  void SetNextRunWhite(BOOL bWhite);

  CZWHeaderCtrl& GetHeader() { return m_header; }
  // Whether the point (client coordinates) lies over the link column, where the link cursor
  // shows.
  BOOL IsOverLinkColumn(CPoint point) const;

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 protected:
  void PreSubclassWindow() override;
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

 private:
  // The row's picture centred in its cell, when the image list holds it.
  void DrawRowImage(CDC* pDC, int nItem, const CRect& cell);
  void DrawCell(CDC* pDC, int nItem, int nColumn, const CRect& cell);
  // The cursor for the point: the link cursor over the link column, else the arrow.
  HCURSOR CursorAt(CPoint point) const;

  CZWHeaderCtrl m_header;
  CFont m_ownFonts[kOwnFontCount];
  BYTE m_bNextRunWhite = FALSE;

  DECLARE_MESSAGE_MAP()
};
