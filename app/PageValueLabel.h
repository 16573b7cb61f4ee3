// CPageValueLabel: a value label of a page, drawn over the page's own picture: the page paints
// itself behind the label, which then draws its text on one line in its colour and font.
#pragma once
#include <afxwin.h>

#include <functional>

class CPageValueLabel : public CStatic {
 public:
  // Paints the whole page (its client rectangle given) into the device context.
  using PagePainter = std::function<void(CDC* pDC, const CRect& page)>;

  // Makes the label at the place of the page, in the font.
  BOOL Make(CWnd* page, UINT id, const CRect& place, HFONT font, PagePainter painter);
  void SetColour(COLORREF colour);
  COLORREF GetColour() const { return m_colour; }

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();

  DECLARE_MESSAGE_MAP()

 private:
  PagePainter m_painter;
  COLORREF m_colour = 0;
};
