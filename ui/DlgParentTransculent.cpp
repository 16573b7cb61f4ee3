// The translucent backdrop and the run of a nag popup over it.
#include "DlgParentTransculent.h"

#include "DlgBaseShared.h"
#include "DlgResultPopupBase.h"
#include "DrawingHelpers.h"

IMPLEMENT_DYNAMIC(CDlgParentTransculent, CDlgBaseWnd)

BEGIN_MESSAGE_MAP(CDlgParentTransculent, CDlgBaseWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

constexpr UINT kPicture = 1170;
constexpr BYTE kBackdropAlpha = 171;

// Brings the main window onto the screen and centres it there.
void BringMainWindowOnScreen() {
  CWnd* main = AfxGetMainWnd();
  if (main == nullptr || main->GetSafeHwnd() == nullptr) return;
  main->ShowWindow(SW_SHOW);
  main->SetForegroundWindow();
  main->CenterWindow(nullptr);
}

bool Inside(const CRect& inner, const CRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

}  // namespace

CDlgParentTransculent::CDlgParentTransculent(CDialog* pDialog, UINT nDialogTemplate, const CRect& ownerRect,
                                             BOOL bHidden)
    : CDlgBaseWnd(kTemplateId, nullptr),
      m_pDialog(pDialog),
      m_nDialogTemplate(nDialogTemplate),
      m_rcOwner(ownerRect),
      m_bHidden(bHidden) {}

void CDlgParentTransculent::EndRun() {
  m_bEnded = TRUE;
  ::EndDialog(m_hWnd, IDOK);
}

BOOL CDlgParentTransculent::OnInitDialog() {
  CDialog::OnInitDialog();
  m_bmpPicture.Load(kPicture);
  m_nPictureWidth = m_bmpPicture.GetWidth();
  m_nPictureHeight = m_bmpPicture.GetHeight();
  CRect place(m_rcOwner);
  place.DeflateRect(1, 1);
  MoveWindow(&place, FALSE);
  if (const HRGN region = ::CreateRoundRectRgn(0, 0, place.Width(), place.Height(), 8, 8))
    ::SetWindowRgn(m_hWnd, region, TRUE);
  SetWindowAlpha(m_hWnd, kBackdropAlpha);
  if (m_pDialog && m_pDialog->Create(m_nDialogTemplate, this)) {
    m_bPopupMade = TRUE;
    CRect popup;
    m_pDialog->GetWindowRect(&popup);
    const int width = popup.Width() < place.Width() ? popup.Width() : place.Width();
    const int height = popup.Height() < place.Height() ? popup.Height() : place.Height();
    if (width != popup.Width() || height != popup.Height())
      m_pDialog->SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!m_bHidden) {
      m_pDialog->ShowWindow(SW_SHOW);
      m_pDialog->SetForegroundWindow();
    }
  }
  return TRUE;
}

INT_PTR CDlgParentTransculent::DoModal() {
  // The class library's modal loop: every message first goes to the dialog keys of its own
  // top-level dialog, so Enter and Escape reach the popup that owns the focus.
  if (!Create(m_nTemplateId, nullptr)) return -1;
  if (!m_bPopupMade) {
    DestroyWindow();
    return -1;
  }
  if (!m_bHidden) {
    ShowWindow(SW_SHOWNOACTIVATE);
    m_pDialog->SetForegroundWindow();
  }
  MSG msg;
  while (::IsWindow(m_hWnd) && !m_bEnded && (m_bHidden || ::IsWindowVisible(m_hWnd))) {
    if (!::GetMessageW(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (CWnd::WalkPreTranslateTree(nullptr, &msg)) continue;
    const HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && ::IsDialogMessageW(root, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (m_pDialog->GetSafeHwnd()) m_pDialog->DestroyWindow();
  if (GetSafeHwnd()) DestroyWindow();
  return IDOK;
}

void CDlgParentTransculent::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  const HBITMAP picture = static_cast<HBITMAP>(m_bmpPicture.GetSafeHandle());
  if (picture)
    StretchBitmap(&paint, 0, 0, client.Width(), client.Height(), 0, 0, m_nPictureWidth, m_nPictureHeight, picture,
                  SRCCOPY);
}

BOOL CDlgParentTransculent::OnEraseBkgnd(CDC*) { return TRUE; }

void CloseParentDialog(CWnd* pWnd) {
  if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr) return;
  HWND parent = ::GetParent(pWnd->GetSafeHwnd());
  if (parent == nullptr) parent = ::GetWindow(pWnd->GetSafeHwnd(), GW_OWNER);
  if (parent == nullptr) return;
  if (auto* backdrop = dynamic_cast<CDlgParentTransculent*>(CWnd::FromHandlePermanent(parent))) {
    backdrop->EndRun();
    return;
  }
  ::EndDialog(parent, IDOK);
}

namespace {

// The backdrop over the owner with the dialog on it until the dialog ends the run; what the
// backdrop's run answered (-1 when nothing could be shown).
INT_PTR RunOverBackdrop(CWnd* pOwner, CDialog* pDialog, UINT nTemplateId, BOOL bHidden = FALSE) {
  const HWND owner = pOwner ? pOwner->GetSafeHwnd() : nullptr;
  CRect ownerRect;
  CRect desktop;
  ::GetWindowRect(::GetDesktopWindow(), &desktop);
  if (owner) ::GetWindowRect(owner, &ownerRect);
  else ownerRect = desktop;
  if (!bHidden && !Inside(ownerRect, desktop)) {
    BringMainWindowOnScreen();
    if (owner) ::GetWindowRect(owner, &ownerRect);
  }
  const bool ownerEnabled = owner && ::IsWindowEnabled(owner);
  if (ownerEnabled) ::EnableWindow(owner, FALSE);
  CDlgParentTransculent backdrop(pDialog, nTemplateId, ownerRect, bHidden);
  const INT_PTR run = backdrop.DoModal();
  if (ownerEnabled) ::EnableWindow(owner, TRUE);
  if (owner && !bHidden) {
    ::SetForegroundWindow(owner);
    ::BringWindowToTop(owner);
  }
  return run;
}

}  // namespace

int RunModalWithBackdrop(CWnd* pOwner, CDlgResultPopupBase* pDialog, UINT nTemplateId, BOOL bHidden) {
  if (pDialog == nullptr) return -1;
  return RunOverBackdrop(pOwner, pDialog, nTemplateId, bHidden) == -1 ? -1 : pDialog->GetResult();
}

int RunModalWithBackdrop(CWnd* pOwner, CDialog* pDialog, UINT nTemplateId, BOOL bHidden) {
  if (pDialog == nullptr) return -1;
  return RunOverBackdrop(pOwner, pDialog, nTemplateId, bHidden) == -1 ? -1 : IDOK;
}
