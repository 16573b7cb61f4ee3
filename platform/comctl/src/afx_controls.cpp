// CProgressCtrl, CAnimateCtrl and CToolTipCtrl: the class library's progress bar, animation
// and tooltip controls over their messages.
#include "afxcmn.h"

IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CAnimateCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

namespace {
BOOL CreateControl(CWnd& control, LPCWSTR className, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  InitCommonControls();
  return control.CWnd::Create(className, nullptr, style, rect, parent, id);
}
}  // namespace

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CreateControl(*this, PROGRESS_CLASSW, dwStyle, rect, pParentWnd, nID);
}
void CProgressCtrl::SetRange(short nLower, short nUpper) {
  ::SendMessageW(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper));
}
void CProgressCtrl::SetRange32(int nLower, int nUpper) {
  ::SendMessageW(m_hWnd, PBM_SETRANGE32, static_cast<WPARAM>(nLower), static_cast<LPARAM>(nUpper));
}
void CProgressCtrl::GetRange(int& nLower, int& nUpper) const {
  PBRANGE range{};
  ::SendMessageW(m_hWnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  nLower = range.iLow;
  nUpper = range.iHigh;
}
int CProgressCtrl::GetPos() const { return static_cast<int>(::SendMessageW(m_hWnd, PBM_GETPOS, 0, 0)); }
int CProgressCtrl::SetPos(int nPos) {
  return static_cast<int>(::SendMessageW(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(nPos), 0));
}
int CProgressCtrl::OffsetPos(int nPos) {
  return static_cast<int>(::SendMessageW(m_hWnd, PBM_DELTAPOS, static_cast<WPARAM>(nPos), 0));
}
int CProgressCtrl::SetStep(int nStep) {
  return static_cast<int>(::SendMessageW(m_hWnd, PBM_SETSTEP, static_cast<WPARAM>(nStep), 0));
}
int CProgressCtrl::StepIt() { return static_cast<int>(::SendMessageW(m_hWnd, PBM_STEPIT, 0, 0)); }
COLORREF CProgressCtrl::SetBarColor(COLORREF clrBar) {
  return static_cast<COLORREF>(::SendMessageW(m_hWnd, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(clrBar)));
}
COLORREF CProgressCtrl::SetBkColor(COLORREF clrNew) {
  return static_cast<COLORREF>(::SendMessageW(m_hWnd, PBM_SETBKCOLOR, 0, static_cast<LPARAM>(clrNew)));
}

BOOL CAnimateCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CreateControl(*this, ANIMATE_CLASSW, dwStyle, rect, pParentWnd, nID);
}
BOOL CAnimateCtrl::Open(UINT nID) {
  return static_cast<BOOL>(::SendMessageW(m_hWnd, ACM_OPENW, reinterpret_cast<WPARAM>(AfxGetResourceHandle()),
                                          reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(nID))));
}
BOOL CAnimateCtrl::Open(LPCTSTR lpszFileName) {
  return static_cast<BOOL>(::SendMessageW(m_hWnd, ACM_OPENW, reinterpret_cast<WPARAM>(AfxGetResourceHandle()),
                                          reinterpret_cast<LPARAM>(lpszFileName)));
}
BOOL CAnimateCtrl::Play(UINT nFrom, UINT nTo, UINT nRep) {
  return static_cast<BOOL>(::SendMessageW(m_hWnd, ACM_PLAY, nRep, MAKELPARAM(nFrom, nTo)));
}
BOOL CAnimateCtrl::Stop() { return static_cast<BOOL>(::SendMessageW(m_hWnd, ACM_STOP, 0, 0)); }
BOOL CAnimateCtrl::Close() { return static_cast<BOOL>(::SendMessageW(m_hWnd, ACM_OPENW, 0, 0)); }
BOOL CAnimateCtrl::IsPlaying() const { return static_cast<BOOL>(::SendMessageW(m_hWnd, ACM_ISPLAYING, 0, 0)); }

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
  InitCommonControls();
  return CWnd::CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, nullptr);
}
TOOLINFO CToolTipCtrl::ToolFor(CWnd* pWnd, UINT_PTR nIDTool) const {
  TOOLINFO info{};
  info.cbSize = sizeof(info);
  HWND window = pWnd ? pWnd->GetSafeHwnd() : nullptr;
  if (nIDTool == 0) {
    // The whole window is the tool, named by its handle and owned by its parent.
    info.uFlags = TTF_IDISHWND;
    info.hwnd = ::GetParent(window);
    info.uId = reinterpret_cast<UINT_PTR>(window);
  } else {
    info.hwnd = window;
    info.uId = nIDTool;
  }
  return info;
}
BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  if (!pWnd) return FALSE;
  TOOLINFO info = ToolFor(pWnd, nIDTool);
  if (lpRectTool) {
    info.uFlags &= ~TTF_IDISHWND;
    info.hwnd = pWnd->GetSafeHwnd();
    info.rect = *lpRectTool;
  }
  info.lpszText = const_cast<LPWSTR>(lpszText);
  return static_cast<BOOL>(::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)));
}
BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  return AddTool(pWnd, MAKEINTRESOURCEW(nIDText), lpRectTool, nIDTool);
}
void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFO info = ToolFor(pWnd, nIDTool);
  ::SendMessageW(m_hWnd, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}
void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFO info = ToolFor(pWnd, nIDTool);
  info.lpszText = const_cast<LPWSTR>(lpszText);
  ::SendMessageW(m_hWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}
void CToolTipCtrl::RelayEvent(LPMSG lpMsg) { ::SendMessageW(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }
void CToolTipCtrl::Activate(BOOL bActivate) { ::SendMessageW(m_hWnd, TTM_ACTIVATE, static_cast<WPARAM>(bActivate), 0); }
void CToolTipCtrl::Pop() { ::SendMessageW(m_hWnd, TTM_POP, 0, 0); }
int CToolTipCtrl::GetToolCount() const { return static_cast<int>(::SendMessageW(m_hWnd, TTM_GETTOOLCOUNT, 0, 0)); }
int CToolTipCtrl::SetMaxTipWidth(int iWidth) {
  return static_cast<int>(::SendMessageW(m_hWnd, TTM_SETMAXTIPWIDTH, 0, static_cast<LPARAM>(iWidth)));
}
void CToolTipCtrl::SetDelayTime(UINT nDelay) {
  ::SendMessageW(m_hWnd, TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(nDelay, 0));
}
void CToolTipCtrl::SetTipBkColor(COLORREF clr) { ::SendMessageW(m_hWnd, TTM_SETTIPBKCOLOR, clr, 0); }
void CToolTipCtrl::SetTipTextColor(COLORREF clr) { ::SendMessageW(m_hWnd, TTM_SETTIPTEXTCOLOR, clr, 0); }

IMPLEMENT_DYNAMIC(CMFCToolTipCtrl, CToolTipCtrl)

void CMFCToolTipCtrl::SetParams(CMFCToolTipInfo* pParams) { m_Params = pParams ? *pParams : CMFCToolTipInfo(); }
