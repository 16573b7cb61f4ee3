// CPageValueLabel: the page's picture under the label and the label's text over it.
#include "PageValueLabel.h"

#include "DlgBaseShared.h"

BEGIN_MESSAGE_MAP(CPageValueLabel, CStatic)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CPageValueLabel::Make(CWnd* page, UINT id, const CRect& place, HFONT font, PagePainter painter) {
  m_painter = std::move(painter);
  if (!Create(_T(""), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, place, page, id)) return FALSE;
  SetFont(CFont::FromHandle(font));
  return TRUE;
}

void CPageValueLabel::SetColour(COLORREF colour) {
  if (m_colour == colour) return;
  m_colour = colour;
  if (GetSafeHwnd()) Invalidate();
}

BOOL CPageValueLabel::OnEraseBkgnd(CDC*) { return TRUE; }

void CPageValueLabel::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  CWnd* page = GetParent();
  CDC memory;
  CBitmap picture;
  if (page != nullptr && m_painter && memory.CreateCompatibleDC(&paint)) {
    CRect pageRect, place;
    page->GetClientRect(&pageRect);
    GetWindowRect(&place);
    page->ScreenToClient(&place);
    if (picture.CreateCompatibleBitmap(&paint, pageRect.Width(), pageRect.Height())) {
      CBitmap* old = memory.SelectObject(&picture);
      memory.FillSolidRect(pageRect, kDialogBackColour);
      m_painter(&memory, pageRect);
      paint.BitBlt(0, 0, client.Width(), client.Height(), &memory, place.left, place.top, SRCCOPY);
      memory.SelectObject(old);
    }
  }
  CString text;
  GetWindowText(text);
  const int oldMode = paint.SetBkMode(TRANSPARENT);
  const COLORREF oldColour = paint.SetTextColor(m_colour);
  CFont* oldFont = paint.SelectObject(GetFont());
  paint.DrawText(text, &client, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  paint.SelectObject(oldFont);
  paint.SetTextColor(oldColour);
  paint.SetBkMode(oldMode);
}
