// CHVhtmlStatic: paints its window text as HTML, over the parent's background when
// transparent.
#include "HVhtmlStatic.h"

#include "DrawingHelpers.h"

BEGIN_MESSAGE_MAP(CHVhtmlStatic, CStatic)
  ON_WM_PAINT()
END_MESSAGE_MAP()

void CHVhtmlStatic::OnPaint() {
  CPaintDC dc(this);
  const CRect rect = GetWndClientRect(this);
  CString text;
  GetWindowText(text);
  if (m_bTransparent) DrawParentBackground(this, &dc, &rect);
  RenderHTML(this, &dc, &rect, text, m_bTransparent);
}
