// The striped parent window of the statics tests.
#include "statics_window.h"

namespace zx::test {

BEGIN_MESSAGE_MAP(StripedParent, CWnd)
  ON_WM_ERASEBKGND()
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

BOOL StripedParent::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  for (int x = 0, i = 0; x < client.right; x += 10, ++i) {
    CRect stripe(x, 0, x + 10, client.bottom);
    const HBRUSH brush = CreateSolidBrush(kStripes[i % 3]);
    ::FillRect(pDC->GetSafeHdc(), &stripe, brush);
    DeleteObject(brush);
  }
  return TRUE;
}

HBRUSH StripedParent::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT) {
  LRESULT own = 0;
  if (pWnd && CWnd::ReflectLastMsg(pWnd->m_hWnd, &own)) return reinterpret_cast<HBRUSH>(own);  // the control's answer
  pDC->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

}  // namespace zx::test
