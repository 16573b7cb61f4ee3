// CDlgBaseWnd: colours, fonts, held-key guards, tooltips and the paint callback.
#include "DlgBaseWnd.h"

#include <wininput.h>

#include "DlgBaseShared.h"
#include "WebLinks.h"

IMPLEMENT_DYNAMIC(CDlgBaseWnd, CDialog)

BEGIN_MESSAGE_MAP(CDlgBaseWnd, CDialog)
  ON_WM_CTLCOLOR()
  ON_MESSAGE(WM_HELP, &CDlgBaseWnd::OnHelpInfo)
  ON_COMMAND(IDOK, &CDlgBaseWnd::OnOK)
  ON_COMMAND(IDCANCEL, &CDlgBaseWnd::OnCancel)
END_MESSAGE_MAP()

namespace {

BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) {
  ::SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
  return TRUE;
}

bool KeyHeld(int virtualKey) { return (::GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

bool RelaysToToolTip(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return true;
    default:
      return false;
  }
}

}  // namespace

void SendFontToDescendants(HWND hWnd, HFONT hFont) {
  ::EnumChildWindows(hWnd, SetFontOnChild, reinterpret_cast<LPARAM>(hFont));
}

CDlgBaseWnd::CDlgBaseWnd() : CDlgBaseWnd(0, nullptr) {}

CDlgBaseWnd::CDlgBaseWnd(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd), m_nTemplateId(nIDTemplate) {
  GetSharedBaseLogFont();
}

CDlgBaseWnd::~CDlgBaseWnd() {
  if (m_toolTip.GetSafeHwnd()) m_toolTip.DestroyWindow();
  m_fontScaler.Restore();
}

void CDlgBaseWnd::SetPaintCallback(DlgPaintCallback pCallback, BOOL bOn, DWORD_PTR dwUser) {
  m_pPaintCallback = pCallback;
  m_bPaintCallbackOn = bOn ? TRUE : FALSE;
  m_dwPaintUser = dwUser;
}

BOOL CDlgBaseWnd::PaintThroughCallback(CDC* pDC, const CRect& client) {
  if (!m_bPaintCallbackOn || m_pPaintCallback == nullptr) return FALSE;
  m_pPaintCallback(this, m_dwPaintUser, pDC, client);
  return TRUE;
}

BOOL CDlgBaseWnd::Create(UINT nIDTemplate, CWnd* pParentWnd) {
  m_nTemplateId = nIDTemplate;
  return CDialog::Create(nIDTemplate, pParentWnd);
}

BOOL CDlgBaseWnd::OnInitDialog() {
  CDialog::OnInitDialog();
  GetSharedDialogIcon();
  SendFontToDescendants(m_hWnd, GetSharedDialogFont());
  if (g_bShowTooltips && m_toolTip.Create(this)) {
    CMFCToolTipInfo params;
    params.m_bVislManagerTheme = TRUE;
    m_toolTip.SetParams(&params);
  }
  CRect client;
  GetClientRect(&client);
  PostMessage(WM_SIZE, 0, MAKELPARAM(client.Width(), client.Height()));
  return TRUE;
}

BOOL CDlgBaseWnd::PreTranslateMessage(MSG* pMsg) {
  if (g_bShowTooltips && m_toolTip.GetSafeHwnd() && RelaysToToolTip(pMsg->message)) m_toolTip.RelayEvent(pMsg);
  return CDialog::PreTranslateMessage(pMsg);
}

HBRUSH CDlgBaseWnd::OnCtlColor(CDC* pDC, CWnd*, UINT) {
  pDC->SetBkColor(kDialogBackColour);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(kDialogTextColour);
  return GetSharedWhiteBrush();
}

LRESULT CDlgBaseWnd::OnHelpInfo(WPARAM, LPARAM) {
  OnHelp();
  return TRUE;
}

void CDlgBaseWnd::OnHelp() { OpenHelpPage(_T("")); }

LRESULT CDlgBaseWnd::OnDefaultOrZero(WPARAM, LPARAM) { return m_bDefaultProcessing ? Default() : 0; }

BOOL CDlgBaseWnd::IsEnterIgnored() const { return m_bIgnoreHeldEnter && KeyHeld(VK_RETURN); }

BOOL CDlgBaseWnd::IsEscapeIgnored() const { return m_bIgnoreHeldEsc && KeyHeld(VK_ESCAPE); }

void CDlgBaseWnd::OnOK() {
  if (IsEnterIgnored()) return;
  CDialog::OnOK();
}

void CDlgBaseWnd::OnCancel() {
  if (IsEscapeIgnored()) return;
  CDialog::OnCancel();
}
