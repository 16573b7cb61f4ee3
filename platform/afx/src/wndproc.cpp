// How a CWnd handles its messages: AfxWndProc finds the object, WindowProc and OnWndMsg look
// the message up in the chain of message maps, WM_COMMAND and WM_NOTIFY are routed as
// commands, and notifications are reflected to the control that sent them first.
#include "afxstate.h"

using zx::afx::State;

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  auto& state = State();
  const MSG outer = state.lastSent;
  state.lastSent = MSG{hWnd, nMsg, wParam, lParam, 0, {}};
  const LRESULT result = pWnd->WindowProc(nMsg, wParam, lParam);
  // A class that handled WM_NCDESTROY itself left the object attached.
  if (nMsg == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) pWnd->ForgetWindow();
  state.lastSent = outer;
  return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (!pWnd) return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
  return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& current = State().lastSent;
  return DefWindowProc(current.message, current.wParam, current.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT result = 0;
  BOOL handled = FALSE;
  if (message == WM_COMMAND) {
    handled = OnCommand(wParam, lParam);
    result = handled;
  } else if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    handled = header && header->hwndFrom && OnNotify(wParam, lParam, &result);
  } else {
    const bool ctlColor = message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
    if (const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(ctlColor ? WM_CTLCOLOR : message))
      handled = entry->pfn(this, message, wParam, lParam, &result);
  }
  if (handled && pResult) *pResult = result;
  return handled;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT nID = LOWORD(wParam);
  const auto hWndCtrl = reinterpret_cast<HWND>(lParam);
  int nCode = HIWORD(wParam);
  if (!hWndCtrl)
    nCode = CN_COMMAND;  // a menu item or an accelerator
  else if (ReflectLastMsg(hWndCtrl))
    return TRUE;  // the control handled its own notification
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (ReflectLastMsg(header->hwndFrom, pResult)) return TRUE;
  AFX_NOTIFY notify{pResult, header};
  return OnCmdMsg(static_cast<UINT>(header->idFrom), MAKELONG(header->code, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
  CWnd* child = FromHandlePermanent(hWndChild);
  if (!child) return FALSE;
  const MSG current = State().lastSent;
  return child->OnChildNotify(current.message, current.wParam, current.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
      return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    case WM_COMMAND:
      if (!OnCmdMsg(0, MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr))
        return FALSE;
      zx::afx::SetResult(pResult, 1);
      return TRUE;
    case WM_NOTIFY: {
      LRESULT ignored = 0;
      AFX_NOTIFY notify{pResult ? pResult : &ignored, reinterpret_cast<NMHDR*>(lParam)};
      return OnCmdMsg(0, MAKELONG(notify.pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, nullptr);
    }
    default:
      break;
  }
  if (message < WM_CTLCOLORMSGBOX || message > WM_CTLCOLORSTATIC) return FALSE;
  // A brush answered by the control wins; none lets the parent decide.
  AFX_CTLCOLOR color{m_hWnd, reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
  LRESULT brush = 0;
  if (!OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&color), &brush) || !brush)
    return FALSE;
  zx::afx::SetResult(pResult, brush);
  return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
  for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd && pWnd->PreTranslateMessage(pMsg)) return TRUE;
    if (hWnd == hWndStop) break;
  }
  return FALSE;
}

void CWnd::DrawItem(LPDRAWITEMSTRUCT) {}
void CWnd::MeasureItem(LPMEASUREITEMSTRUCT) {}

// ---- The base map and the default handlers -----------------------------------------------

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
  ON_WM_NCDESTROY()
  ON_WM_DRAWITEM()
  ON_WM_MEASUREITEM()
  ZX_ON(WM_CTLCOLOR, zx::afx::SetResult(res, zx::afx::AsResult(self->OnCtlColor(
                         CDC::FromHandle(reinterpret_cast<HDC>(w)), CWnd::FromHandle(reinterpret_cast<HWND>(l)), msg - WM_CTLCOLORMSGBOX))))
END_MESSAGE_MAP()

void CWnd::OnNcDestroy() {
  CWinThread* thread = AfxGetThread();
  if (thread && thread->m_pMainWnd == this) {
    if (thread == AfxGetApp()) AfxPostQuitMessage(0);
    thread->m_pMainWnd = nullptr;
  }
  Default();
  ForgetWindow();  // may delete this
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct && ReflectLastMsg(lpDrawItemStruct->hwndItem)) return;
  Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT) {
  const HWND control = ::GetDlgItem(m_hWnd, nIDCtl);
  if (control && ReflectLastMsg(control)) return;
  Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
  LRESULT brush = 0;
  if (pWnd && ReflectLastMsg(pWnd->m_hWnd, &brush)) return reinterpret_cast<HBRUSH>(brush);
  return reinterpret_cast<HBRUSH>(Default());
}

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
BOOL CWnd::OnNcActivate(BOOL) { return static_cast<BOOL>(Default()); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
BOOL CWnd::OnCopyData(CWnd*, COPYDATASTRUCT*) { return static_cast<BOOL>(Default()); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnSettingChange(UINT, LPCTSTR) { Default(); }
BOOL CWnd::OnQueryEndSession() { return static_cast<BOOL>(Default()); }
void CWnd::OnEndSession(BOOL) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
BOOL CWnd::OnDeviceChange(UINT, DWORD_PTR) { return static_cast<BOOL>(Default()); }
