// CDlgLeftDlgBase: the numbered buttons and their pages, the fixed buttons, the owner's
// callback codes and the panel background.
#include "DlgLeftDlgBase.h"

#include <set>

#include <winresource.h>

#include "DlgBaseShared.h"
#include "DlgButtonStyles.h"
#include "IniReader.h"
#include "UpdateCheckerLauncher.h"
#include "XTMemDC.h"

IMPLEMENT_DYNAMIC(CDlgLeftDlgBase, CDlgBaseWnd)

BEGIN_MESSAGE_MAP(CDlgLeftDlgBase, CDlgBaseWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_TIMER()
  ON_COMMAND(CDlgLeftDlgBase::kScanNowCommand, &CDlgLeftDlgBase::OnScanNow)
  ON_COMMAND(CDlgLeftDlgBase::kCheckForUpdatesCommand, &CDlgLeftDlgBase::OnCheckForUpdates)
  ON_COMMAND_RANGE(CDlgLeftDlgBase::kFirstButtonCommand,
                   CDlgLeftDlgBase::kFirstButtonCommand + CDlgLeftDlgBase::kMaxButtons - 1,
                   &CDlgLeftDlgBase::OnLeftButton)
END_MESSAGE_MAP()

UINT g_nMainWindowLogoId = 0;

namespace {

constexpr UINT kPanelBitmap = 1096;
constexpr UINT kNoLogo = 1161;
constexpr TCHAR kSection[] = _T("IDD_DLG_LEFTWINDOW_BASE");
// The check-for-updates button is enabled again this long after it started the checker.
constexpr UINT_PTR kEnableTimer = 1181;
constexpr UINT kEnableDelayMs = 512;
// Buttons: 165 wide, 31 pixels apart from y 17.
constexpr int kButtonLeft = 1, kButtonRight = 166, kButtonTop = 17, kButtonHeight = 31;
constexpr int kListButtons = 7;

}  // namespace

void DrawPanelBackground(CDC* pDC) {
  DrawWhole(pDC, SharedBitmap(kPanelBitmap), 0, 0);
  const UINT logo = g_nMainWindowLogoId;
  if (logo != 0 && logo != kNoLogo) DrawWhole(pDC, SharedBitmap(logo), 1, 0);
}

CDlgLeftDlgBase::CDlgLeftDlgBase(UINT nIDTemplate, CWnd* pParentWnd) : CDlgBaseWnd(nIDTemplate, pParentWnd) {}

CDlgLeftDlgBase::~CDlgLeftDlgBase() {
  // A page may stand in several slots; each object is deleted once.
  std::set<CDlgBaseWnd*> pages(std::begin(m_pPages), std::end(m_pPages));
  pages.erase(nullptr);
  for (CDlgBaseWnd* page : pages) delete page;
}

BOOL CDlgLeftDlgBase::OnInitDialog() {
  SharedBitmap(kPanelBitmap);
  CDlgBaseWnd::OnInitDialog();
  const LPCTSTR name = MAKEINTRESOURCEW(m_nTemplateId);
  m_fontScaler.Apply(AfxFindResourceHandle(name, RT_DIALOG), m_hWnd, static_cast<int>(m_nTemplateId), 96.0);
  SendFontToDescendants(m_hWnd, GetSharedDialogFont());
  BindControls();
  SetDlgItemText(kScanNowCommand, GetLangString(_T("IDC_BTN_SCAN_NOW"), kSection));
  SetDlgItemText(kCheckForUpdatesCommand, GetLangString(_T("IDC_BTN_CHECK_FOR_UPDATE"), kSection));
  return TRUE;
}

void CDlgLeftDlgBase::BindControls() {
  if (GetDlgItem(kCheckForUpdatesCommand) && !m_btnCheckForUpdates.GetSafeHwnd() &&
      m_btnCheckForUpdates.SubclassDlgItem(kCheckForUpdatesCommand, this))
    ApplyDarkTextButtonStyle(m_btnCheckForUpdates);
  // A panel that does not carry the scan-now button keeps the template's control out of sight:
  // unbound, it would show as a blank button over the panel.
  if (m_nStyle != kStyleScanNow)
    if (CWnd* scanNow = GetDlgItem(kScanNowCommand)) scanNow->ShowWindow(SW_HIDE);
  if (m_nStyle == kStyleScanNow && GetDlgItem(kScanNowCommand) && !m_btnScanNow.GetSafeHwnd() &&
      m_btnScanNow.SubclassDlgItem(kScanNowCommand, this)) {
    // The link look: see-through over the panel, always underlined.
    m_btnScanNow.SetTransparent(TRUE);
    m_btnScanNow.SetUnderlineAlways(TRUE);
  }
}

BOOL CDlgLeftDlgBase::CreateLeftButton(CLeftSideBtns& button, const CRect& rect, LPCTSTR lpszCaption, UINT nID,
                                       int nIconIndex) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
  if (nIconIndex != -1) style |= WS_DISABLED;
  if (!button.Create(lpszCaption, style, rect, this, nID)) return FALSE;
  button.SetNumberIndex(nIconIndex);
  return TRUE;
}

void CDlgLeftDlgBase::CreateButtonRow(int nCount, const CStringArray& captions, BOOL bFromList) {
  const int limit = bFromList ? kListButtons : kMaxButtons;
  int count = nCount < limit ? nCount : limit;
  if (count > captions.GetSize()) count = static_cast<int>(captions.GetSize());
  if (count <= 0) return;
  m_nButtonCount = count;
  for (int i = 0; i < count; ++i) {
    int icon = -1;
    if (bFromList && m_nStyle == kStyleIcons) icon = i == kListButtons - 1 ? 0 : i;
    const CRect rect(kButtonLeft, kButtonTop + kButtonHeight * i, kButtonRight,
                     kButtonTop + kButtonHeight + kButtonHeight * i);
    CreateLeftButton(m_buttons[i], rect, captions[i], kFirstButtonCommand + static_cast<UINT>(i), icon);
  }
  m_buttons[0].EnableWindow(TRUE);
  CLeftSideBtns& selected = m_buttons[m_nSelected - 1];
  if (selected.GetSafeHwnd()) {
    selected.m_bHighlighted = TRUE;
    selected.Invalidate(FALSE);
  }
}

void CDlgLeftDlgBase::CreateButtons(int nCount, const CStringArray& captions) {
  CreateButtonRow(nCount, captions, FALSE);
}

void CDlgLeftDlgBase::CreateButtonsFromList(int nCount, const CStringArray& captions) {
  CreateButtonRow(nCount, captions, TRUE);
}

CLeftSideBtns* CDlgLeftDlgBase::GetLeftButton(int nButton) {
  if (nButton < 1 || nButton > kMaxButtons || !m_buttons[nButton - 1].GetSafeHwnd()) return nullptr;
  return &m_buttons[nButton - 1];
}

void CDlgLeftDlgBase::SetPage(int nButton, CDlgBaseWnd* pPage) {
  if (nButton >= 1 && nButton <= kMaxButtons) m_pPages[nButton - 1] = pPage;
}

CDlgBaseWnd* CDlgLeftDlgBase::GetPage(int nButton) const {
  return nButton >= 1 && nButton <= kMaxButtons ? m_pPages[nButton - 1] : nullptr;
}

void CDlgLeftDlgBase::SelectLeftButton(int nButton, CDlgBaseWnd* pPage) {
  if (nButton < 1 || nButton > kMaxButtons) return;
  if (m_pCurrentPage == nullptr) m_pCurrentPage = m_pPages[0];
  CLeftSideBtns& button = m_buttons[nButton - 1];
  if (button.GetSafeHwnd() && !button.IsWindowEnabled()) button.EnableWindow(TRUE);
  if (nButton == m_nSelected) return;
  if (button.GetSafeHwnd()) {
    button.m_bHighlighted = TRUE;
    button.Invalidate(FALSE);
  }
  CLeftSideBtns& previous = m_buttons[m_nSelected - 1];
  if (previous.GetSafeHwnd()) {
    previous.m_bHighlighted = FALSE;
    previous.Invalidate(FALSE);
  }
  m_nSelected = nButton;
  if (pPage == nullptr || pPage == m_pCurrentPage) return;
  if (m_pCurrentPage && m_pCurrentPage->GetSafeHwnd()) {
    m_pCurrentPage->ShowWindow(SW_HIDE);
    m_pCurrentPage->EnableWindow(FALSE);
  }
  if (pPage->GetSafeHwnd()) {
    pPage->ShowWindow(SW_SHOW);
    pPage->EnableWindow(TRUE);
    pPage->SetFocus();
  }
  m_pCurrentPage = pPage;
}

void CDlgLeftDlgBase::SelectButton(int nIndex) {
  for (int i = 0; i < 6; ++i) {
    if (!m_buttons[i].GetSafeHwnd()) continue;
    m_buttons[i].m_bHighlighted = i == nIndex ? TRUE : FALSE;
    m_buttons[i].Invalidate(FALSE);
  }
}

void CDlgLeftDlgBase::SelectButtonOf8(int nIndex) {
  for (int i = 0; i < kMaxButtons; ++i) {
    if (!m_buttons[i].GetSafeHwnd()) continue;
    m_buttons[i].m_bHighlighted = i == nIndex ? TRUE : FALSE;
    m_buttons[i].Invalidate(FALSE);
  }
}

void CDlgLeftDlgBase::EnableButtons(BOOL b1, BOOL b2, BOOL b3, BOOL b4, BOOL b5, BOOL b6, BOOL b7) {
  const BOOL enable[kListButtons] = {b1, b2, b3, b4, b5, b6, b7};
  for (int i = 0; i < kListButtons; ++i)
    if (m_buttons[i].GetSafeHwnd()) m_buttons[i].EnableWindow(enable[i]);
}

void CDlgLeftDlgBase::EnableFixedButtons() {
  if (m_btnCheckForUpdates.GetSafeHwnd()) m_btnCheckForUpdates.EnableWindow(TRUE);
}

void CDlgLeftDlgBase::DisableFixedButtons() {
  if (m_btnCheckForUpdates.GetSafeHwnd()) m_btnCheckForUpdates.EnableWindow(FALSE);
}

void CDlgLeftDlgBase::TellOwner(int nCode) {
  if (m_pCallback) m_pCallback(this, nCode);
}

void CDlgLeftDlgBase::OnScanNow() { TellOwner(kCodeScanNow); }

void CDlgLeftDlgBase::OnCheckForUpdates() {
  if (m_bLaunchUpdateChecker) {
    CheckForUpdates();
    // Enabled again after a short pause, without holding up the window meanwhile.
    if (m_btnCheckForUpdates.GetSafeHwnd()) SetTimer(kEnableTimer, kEnableDelayMs, nullptr);
  }
  TellOwner(kCodeCheckForUpdates);
}

void CDlgLeftDlgBase::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kEnableTimer) return;
  KillTimer(kEnableTimer);
  if (m_btnCheckForUpdates.GetSafeHwnd()) m_btnCheckForUpdates.EnableWindow(TRUE);
}

void CDlgLeftDlgBase::OnLeftButton(UINT nID) {
  const int button = static_cast<int>(nID - kFirstButtonCommand) + 1;
  SelectLeftButton(button, m_pPages[button - 1]);
  TellOwner(kCodeFirstButton + button - 1);
}

void CDlgLeftDlgBase::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  if (PaintThroughCallback(&paint, client)) return;
  DrawPanelBackground(&paint);
}

BOOL CDlgLeftDlgBase::OnEraseBkgnd(CDC* pDC) {
  // See-through children (the scan-now link) show the panel behind them.
  DrawPanelBackground(pDC);
  return TRUE;
}

void CDlgLeftDlgBase::PaintPanel(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  CXTMemDC memory(pDC, client, kDialogBackColour);
  DrawPanelBackground(&memory);
}

void CDlgLeftDlgBase::PostCommandToParent(UINT nID) {
  if (CWnd* parent = GetParent()) parent->PostMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0);
}

void CDlgLeftDlgBase::PostCommandToSelf(UINT nID) { PostMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0); }
