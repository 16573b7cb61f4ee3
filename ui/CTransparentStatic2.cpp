// CTransparentStatic2: the copy of the parent's pixels under the static and its painting.
#include "CTransparentStatic2.h"

BEGIN_MESSAGE_MAP(CTransparentStatic2, CStatic)
  ON_WM_ERASEBKGND()
  ON_WM_SETTEXT()
END_MESSAGE_MAP()

CTransparentStatic2::~CTransparentStatic2() { m_bmpBackground.DeleteObject(); }

BOOL CTransparentStatic2::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  if (HasBackground()) {
    CDC memory;
    if (memory.CreateCompatibleDC(pDC)) {
      CBitmap* old = memory.SelectObject(&m_bmpBackground);
      pDC->BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
      memory.SelectObject(old);
    }
    return FALSE;
  }
  CWnd* parent = GetParent();
  if (!parent) return FALSE;
  CRect rect;
  GetWindowRect(&rect);
  parent->ScreenToClient(&rect);
  CDC* parentDC = parent->GetDC();
  if (!parentDC) return FALSE;
  CDC memory;
  bool copied = false;
  if (memory.CreateCompatibleDC(parentDC) &&
      m_bmpBackground.CreateCompatibleBitmap(parentDC, rect.Width(), rect.Height())) {
    CBitmap* old = memory.SelectObject(&m_bmpBackground);
    memory.BitBlt(0, 0, rect.Width(), rect.Height(), parentDC, rect.left, rect.top, SRCCOPY);
    memory.SelectObject(old);
    copied = true;
  }
  parent->ReleaseDC(parentDC);
  // Without a copy another erase would only try again, and again: no repaint is asked then.
  if (copied) Invalidate(TRUE);
  return FALSE;
}

void CTransparentStatic2::OnSetText(LPCTSTR) {
  Default();
  Invalidate(TRUE);
  UpdateWindow();
}
