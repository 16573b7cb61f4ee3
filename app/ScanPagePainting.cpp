// The scan pages' shared painter.
#include "ScanPagePainting.h"

#include "DlgBaseShared.h"

void DrawScanPageText(CDC* pDC, const CString& text, const CRect& rect, COLORREF colour) {
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  const HGDIOBJ oldFont = ::SelectObject(pDC->GetSafeHdc(), GetSharedDialogFont());
  const COLORREF oldColour = pDC->SetTextColor(colour);
  CRect place(rect);
  pDC->DrawText(text, text.GetLength(), &place, DT_WORDBREAK | DT_NOPREFIX);
  pDC->SetTextColor(oldColour);
  ::SelectObject(pDC->GetSafeHdc(), oldFont);
  pDC->SetBkMode(oldMode);
}
