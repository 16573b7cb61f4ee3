// CDlgLeftSideChild: the base of the pages shown inside a main window (scan, backup, restore,
// settings, exclusion and schedule pages): a fixed 591 x 473 page re-laid out from its
// template, the page header (title with shadow, page icon, bottom strip) and the helpers
// that place controls on the large page layout.
#pragma once
#include "DlgBaseWnd.h"

class ZXHELPER_API CDlgLeftSideChild : public CDlgBaseWnd {
  DECLARE_DYNAMIC(CDlgLeftSideChild)

 public:
  static constexpr int kPageWidth = 591;
  static constexpr int kPageHeight = 473;

  CDlgLeftSideChild();
  CDlgLeftSideChild(UINT nIDTemplate, CWnd* pParentWnd);

  BOOL OnInitDialog() override;
  // Title, page icon (when asked) and bottom strip into the DC.
  virtual void PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon);
  // The large header: picture 1094, the title between the margins, the icon under it.
  void PaintLargePageHeader(CDC* pDC, const CRect& rect, int nLeftMargin, BOOL bDrawIcon);
  // Bitmap 1088 at (x, y) in its own size.
  static void DrawPageBadge(CDC* pDC, int x, int y);

  // Moves a control to (x, y) scaled to the large layout (1.5016077 across, 1.62378 down,
  // each product rounded up), keeping its size; the second form scales the size too.
  void MoveDlgItemScaled(UINT nID, int x, int y, int nWidth, int nHeight);
  void MoveDlgItemScaledSize(UINT nID, int x, int y, int nWidth, int nHeight);

  const CRect& GetActionRect() const { return m_rcAction; }

 protected:
  afx_msg void OnPaint();
  // The bottom strip (bitmap 1019) repeated along the rectangle's bottom edge.
  void PaintBottomStrip(CDC* pDC, const CRect& rect) const;

  CRect m_rcAction;

  DECLARE_MESSAGE_MAP()
};
