// CDlgBaseAppDlg: the main dialog's settings, header tabs, left panels, pages, frame painting
// and exit.
#include "DlgBaseAppDlg.h"

#include <winmenu.h>
#include <winmetrics.h>
#include <winresource.h>

#include "CheckedFormat.h"
#include "DlgBaseShared.h"
#include "IniReader.h"
#include "XTMemDC.h"

IMPLEMENT_DYNAMIC(CDlgBaseAppDlg, CDlgMainWnd)

BEGIN_MESSAGE_MAP(CDlgBaseAppDlg, CDlgMainWnd)
  ON_WM_CREATE()
  ON_WM_PAINT()
  ON_WM_SIZE()
  ON_COMMAND(CDlgBaseAppDlg::kFirstTabCommand, &CDlgBaseAppDlg::OnTabButton1)
  ON_COMMAND(CDlgBaseAppDlg::kFirstTabCommand + 1, &CDlgBaseAppDlg::OnTabButton2)
  ON_COMMAND(CDlgBaseAppDlg::kFirstTabCommand + 2, &CDlgBaseAppDlg::OnTabButton3)
  ON_COMMAND(CDlgBaseAppDlg::kFirstTabCommand + 3, &CDlgBaseAppDlg::OnTabButton4)
  ON_COMMAND(CDlgBaseAppDlg::kFirstTabCommand + 4, &CDlgBaseAppDlg::OnTabButton5)
  ON_COMMAND(CDlgMainWnd::kCloseCommand, &CDlgBaseAppDlg::OnCloseButton)
END_MESSAGE_MAP()

namespace {

constexpr TCHAR kSection[] = _T("QVX");
// The demo program's argument word.
constexpr TCHAR kDemoArguments[] = _T("TUN");
// Header tabs: 101 x 22 from x 165, 100 apart.
constexpr int kTabLeft = 165, kTabTop = 35, kTabWidth = 101, kTabBottom = 57, kTabStep = 100;
constexpr UINT kTabBitmap = 1070;
constexpr COLORREF kTabCaption = 0xFFFCFC;
constexpr COLORREF kTabHotCaption = 0x3F3B36;
// Header help and demo buttons.
constexpr UINT kDemoBitmap = 1057;
constexpr COLORREF kHeaderCaption = 0xFFFCFC;
// The left panels' place in the dialog.
const CRect kPanelArea(6, 77, 766, 556);
// A page's place in its host: right of the panel's buttons.
constexpr int kPageLeft = 168, kPageTop = 2;
constexpr COLORREF kDateColour = 0xFFFFFF;

CDlgBaseAppDlg* g_pAppDialog = nullptr;

void MarkSelected(CHoverButtonWithText* button, BOOL selected) {
  if (button == nullptr || button->GetSafeHwnd() == nullptr) return;
  button->m_bHighlighted = selected;
  button->Invalidate(FALSE);
}

}  // namespace

CDlgBaseAppDlg::CDlgBaseAppDlg(CWnd* pParentWnd) : CDlgMainWnd(kTemplateId, pParentWnd) {
  m_strDemoArguments = kDemoArguments;
  m_pSelectedTab = &m_btnTabs[0];
  if (g_pAppDialog == nullptr) g_pAppDialog = this;
  m_bTabsReady = TRUE;
}

CDlgBaseAppDlg::CDlgBaseAppDlg() : CDlgBaseAppDlg(nullptr) {}

CDlgBaseAppDlg::~CDlgBaseAppDlg() {
  if (g_pAppDialog == this) g_pAppDialog = nullptr;
  for (TabRecord& tab : m_tabs)
    if (tab.pPanel && tab.pPanel->GetSafeHwnd()) tab.pPanel->DestroyWindow();
}

CDlgBaseAppDlg* CDlgBaseAppDlg::GetAppDialog() { return g_pAppDialog; }

void CDlgBaseAppDlg::SetAppInfo(const tagAppDlgSettings& settings) {
  m_hIcon = settings.hIcon;
  m_nLogoId = settings.nLogoId;
  g_nMainWindowLogoId = settings.nLogoId;
  m_bResizable = settings.bResizable ? TRUE : FALSE;
  g_bShowTooltips = settings.bShowTooltips ? TRUE : FALSE;
  m_nTabCount = settings.nTabCount < 0 ? 0 : (settings.nTabCount > kMaxAppTabs ? kMaxAppTabs : settings.nTabCount);
  m_tabCaptions.Append(settings.tabCaptions);
  g_strSharedAppText = settings.strAppText;
  m_strSysMenuItem = settings.strSysMenuItem;
  m_strCaption = settings.strCaption;
  for (int i = 0; i < kMaxAppTabs; ++i) {
    m_tabs[i].nButtonCount = settings.tabs[i].nButtonCount;
    m_tabs[i].nIcons = settings.tabs[i].nIcons;
    m_tabs[i].buttonCaptions.Copy(settings.tabs[i].buttonCaptions);
  }
  m_pPageChange = settings.pPageChange;
}

void CDlgBaseAppDlg::ShapeWindow() {
  if (m_bShaped) return;
  m_bShaped = TRUE;
  MoveWindow(0, 0, kWidth + 1, kHeight + 1, FALSE);
  ApplyRoundRegion();
}

void CDlgBaseAppDlg::ApplyRoundRegion() {
  CRect client;
  GetClientRect(&client);
  const HRGN region = ::CreateRoundRectRgn(client.left, client.top, client.right, client.bottom, 9, 9);
  if (region) ::SetWindowRgn(m_hWnd, region, TRUE);
}

int CDlgBaseAppDlg::OnCreate(LPCREATESTRUCT) {
  const int result = static_cast<int>(Default());
  ShapeWindow();
  return result;
}

BOOL CDlgBaseAppDlg::OnInitDialog() {
  // Dialogs may be attached after their creation message; the shape is given here then.
  ShapeWindow();
  m_bSysMenuOn = TRUE;
  CDlgMainWnd::OnInitDialog();
  const LPCTSTR name = MAKEINTRESOURCEW(kTemplateId);
  m_fontScaler.Apply(AfxFindResourceHandle(name, RT_DIALOG), m_hWnd, static_cast<int>(kTemplateId), 96.0);
  MoveWindow(0, 0, kWidth, kHeight);
  ModifyStyle(0, WS_MINIMIZEBOX);
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  SetWindowText(m_strCaption);

  CreateTabButtons(m_nTabCount, m_tabCaptions);
  CreateLeftPanels();
  PlaceTitleButtons();

  CRect client;
  GetClientRect(&client);
  const int w = client.Width();
  const int fontHeight = -11;
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
  CreateHelpButton();
  if (g_bShowDemoButton && m_btnDemo.GetSafeHwnd() == nullptr &&
      m_btnDemo.Create(GetLangString(_T("IDS_BTN_DEMO"), kSection), style, CRect(w - 112, 37, w - 60, 54), this,
                       kDemoCommand)) {
    m_btnDemo.LoadBitmap(kDemoBitmap);
    m_btnDemo.SetWindowPos(nullptr, 0, 0, 52, 17, SWP_NOMOVE | SWP_NOZORDER);
    m_btnDemo.SetOwnFontHeight(fontHeight);
    m_btnDemo.SetColours(kHeaderCaption, kHeaderCaption, kHeaderCaption);
  }
  return TRUE;
}

BOOL CDlgBaseAppDlg::CreateTabButton(CHoverButtonWithText& button, const CRect& rect, CWnd* pParent, UINT nID,
                                     LPCTSTR lpszCaption) {
  if (!button.Create(lpszCaption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, rect, pParent, nID)) return FALSE;
  button.SetFourState(TRUE);
  button.LoadBitmap(kTabBitmap);
  button.SetColours(kTabCaption, kTabHotCaption, kTabHotCaption);
  button.SetShadow(FALSE);
  return TRUE;
}

void CDlgBaseAppDlg::CreateTabButtons(int nCount, const CStringArray& captions) {
  m_nTabCount = nCount < 0 ? 0 : (nCount > kMaxAppTabs ? kMaxAppTabs : nCount);
  for (int i = 0; i < m_nTabCount; ++i) {
    if (m_btnTabs[i].GetSafeHwnd()) continue;
    const CRect rect(kTabLeft + kTabStep * i, kTabTop, kTabLeft + kTabWidth + kTabStep * i, kTabBottom);
    const CString caption = i < captions.GetSize() ? captions[i] : CString();
    CreateTabButton(m_btnTabs[i], rect, this, kFirstTabCommand + static_cast<UINT>(i), caption);
  }
  MarkSelected(&m_btnTabs[0], TRUE);
}

void CDlgBaseAppDlg::CreateLeftPanels() {
  for (int i = 0; i < m_nTabCount; ++i) {
    TabRecord& tab = m_tabs[i];
    if (tab.pPanel) continue;
    const bool first = i == 0;
    if (!first && (tab.nButtonCount == 0 || tab.nButtonCount != tab.buttonCaptions.GetSize())) continue;
    auto panel = std::make_unique<CDlgLeftDlgBase>(CDlgLeftDlgBase::kTemplateId, this);
    panel->SetStyle(tab.nIcons ? CDlgLeftDlgBase::kStyleIcons : CDlgLeftDlgBase::kStyleNoIcons);
    panel->SetOwnerCallback(&CDlgBaseAppDlg::ForwardPanelCode);
    if (!panel->Create(CDlgLeftDlgBase::kTemplateId, this)) continue;
    panel->MoveWindow(kPanelArea);
    if (tab.nIcons)
      panel->CreateButtonsFromList(tab.nButtonCount, tab.buttonCaptions);
    else
      panel->CreateButtons(tab.nButtonCount, tab.buttonCaptions);
    if (first) {
      panel->ShowWindow(SW_SHOW);
      m_pCurrentPanel = panel.get();
    } else {
      panel->ShowWindow(SW_HIDE);
      panel->EnableWindow(FALSE);
    }
    tab.pPanel = std::move(panel);
  }
  MarkSelected(&m_btnTabs[0], TRUE);
  // The first tab takes the focus; a press sent to it without its release would leave it
  // holding the mouse and swallow the user's first click.
  if (m_btnTabs[0].GetSafeHwnd()) m_btnTabs[0].SetFocus();
}

int CDlgBaseAppDlg::ForwardPanelCode(CDlgLeftDlgBase* pPanel, int nCode) {
  auto* dialog = dynamic_cast<CDlgBaseAppDlg*>(pPanel->GetParent());
  if (dialog == nullptr || dialog->m_pPageChange == nullptr) return 0;
  return dialog->m_pPageChange(pPanel, nCode);
}

BOOL CDlgBaseAppDlg::AddPage(CWnd* pHost, CDlgBaseWnd* pPage, UINT nIDTemplate) {
  if (pHost == nullptr || pPage == nullptr || !pPage->Create(nIDTemplate, pHost)) return FALSE;
  CRect place;
  pHost->GetClientRect(&place);
  place.left += kPageLeft;
  place.top += kPageTop;
  pPage->MoveWindow(place);
  pPage->ShowWindow(SW_HIDE);
  pPage->EnableWindow(FALSE);
  return TRUE;
}

CHoverButtonWithText* CDlgBaseAppDlg::GetTabButton(int nTab) {
  if (nTab < 1 || nTab > kMaxAppTabs || m_btnTabs[nTab - 1].GetSafeHwnd() == nullptr) return nullptr;
  return &m_btnTabs[nTab - 1];
}

CDlgLeftDlgBase* CDlgBaseAppDlg::GetLeftPanel(int nTab) const {
  if (nTab < 1 || nTab > kMaxAppTabs) return nullptr;
  const TabRecord& tab = m_tabs[nTab - 1];
  return tab.pPanel ? tab.pPanel.get() : tab.pSharedPanel;
}

void CDlgBaseAppDlg::ShareLeftPanel(int nTab, int nWithTab) {
  CDlgLeftDlgBase* shared = GetLeftPanel(nWithTab);
  if (nTab < 1 || nTab > kMaxAppTabs || nTab == nWithTab || shared == nullptr) return;
  TabRecord& tab = m_tabs[nTab - 1];
  if (tab.pPanel && tab.pPanel->GetSafeHwnd()) tab.pPanel->DestroyWindow();
  tab.pPanel.reset();
  tab.pSharedPanel = shared;
}

void CDlgBaseAppDlg::OnTabButton(int nTab) {
  // Without a callback nobody holds the switch back.
  if (m_pPageChange && m_pPageChange(this, kFirstTabCode + nTab - 1) == 0) return;
  SelectTab(&m_btnTabs[nTab - 1]);
  ShowPage(GetLeftPanel(nTab));
}

void CDlgBaseAppDlg::OnTabButton1() { OnTabButton(1); }
void CDlgBaseAppDlg::OnTabButton2() { OnTabButton(2); }
void CDlgBaseAppDlg::OnTabButton3() { OnTabButton(3); }
void CDlgBaseAppDlg::OnTabButton4() { OnTabButton(4); }
void CDlgBaseAppDlg::OnTabButton5() { OnTabButton(5); }

void CDlgBaseAppDlg::SelectTab(CHoverButtonWithText* pButton) {
  if (pButton == nullptr || pButton == m_pSelectedTab) return;
  MarkSelected(pButton, TRUE);
  MarkSelected(m_pSelectedTab, FALSE);
  m_pSelectedTab = pButton;
}

void CDlgBaseAppDlg::ShowPage(CDlgLeftDlgBase* pPanel) {
  if (pPanel == nullptr || pPanel == m_pCurrentPanel) return;
  CDlgLeftDlgBase* current = m_pCurrentPanel ? m_pCurrentPanel : GetLeftPanel(2);
  if (current && current->GetSafeHwnd()) {
    current->ShowWindow(SW_HIDE);
    current->EnableWindow(FALSE);
  }
  if (pPanel->GetSafeHwnd()) {
    pPanel->ShowWindow(SW_SHOW);
    pPanel->EnableWindow(TRUE);
  }
  m_pCurrentPanel = pPanel;
}

void CDlgBaseAppDlg::EnableTabs(BOOL b1, BOOL b2, BOOL b3, BOOL b4, BOOL b5) {
  const BOOL enable[kMaxAppTabs] = {b1, b2, b3, b4, b5};
  for (int i = 0; i < kMaxAppTabs; ++i)
    if (m_btnTabs[i].GetSafeHwnd()) m_btnTabs[i].EnableWindow(enable[i]);
}

void CDlgBaseAppDlg::EnableClose() {
  if (const HMENU menu = ::GetSystemMenu(m_hWnd, FALSE)) ::EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
  if (m_btnClose.GetSafeHwnd()) m_btnClose.EnableWindow(TRUE);
}

void CDlgBaseAppDlg::DisableClose() {
  if (const HMENU menu = ::GetSystemMenu(m_hWnd, FALSE)) ::EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  if (m_btnClose.GetSafeHwnd()) m_btnClose.EnableWindow(FALSE);
}

void CDlgBaseAppDlg::ExitApp() {
  PostMessage(WM_CLOSE);
  ::PostQuitMessage(0);
}

void CDlgBaseAppDlg::OnCloseButton() { ExitApp(); }

void CDlgBaseAppDlg::OnCancel() {
  if (m_btnClose.GetSafeHwnd() && !m_btnClose.IsWindowEnabled()) return;
  CDlgBaseWnd::OnCancel();
}

void CDlgBaseAppDlg::SetDatabaseDateLine(BOOL bOn, LPCTSTR lpDate) {
  m_bDatabaseDateLine = bOn ? TRUE : FALSE;
  m_strDatabaseDate = lpDate;
}

void CDlgBaseAppDlg::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  CXTMemDC memory(&paint, client, kDialogBackColour);
  PaintFrame(&memory, client);
  if (!m_bDatabaseDateLine) return;
  CString line;
  FormatChecked(line, GetLangString(_T("IDS_DB_DATE"), kSection), {m_strDatabaseDate});
  const int h = client.Height();
  const HGDIOBJ oldFont = ::SelectObject(memory.GetSafeHdc(), GetSharedDialogFont());
  const int oldMode = memory.SetBkMode(TRANSPARENT);
  const COLORREF oldColour = memory.SetTextColor(kDateColour);
  CRect place(10, h - 23, 450, h - 5);
  const UINT format = DT_SINGLELINE | DT_NOPREFIX;
  memory.DrawText(line, line.GetLength(), &place, format | DT_CALCRECT);
  memory.DrawText(line, line.GetLength(), &place, format);
  memory.SetTextColor(oldColour);
  memory.SetBkMode(oldMode);
  ::SelectObject(memory.GetSafeHdc(), oldFont);
}

void CDlgBaseAppDlg::OnSize(UINT nType, int cx, int cy) {
  CDlgMainWnd::OnSize(nType, cx, cy);
  // The rounded shape follows the size: a region kept from the restored size would cut off
  // the title buttons of a maximised window, and no click could reach them.
  if (m_bShaped && nType != SIZE_MINIMIZED) ApplyRoundRegion();
  if (!m_bMaximised) return;
  // The screen less a strip at the bottom; the move itself sizes the window once more.
  const CRect screen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN) - 25);
  CRect window;
  GetWindowRect(&window);
  if (window != screen) MoveWindow(screen);
}
