// CDlgMainWnd: the main-window base's title bar, system menu, caption drag, maximising,
// frame painting and launchers.
#include "DlgMainWnd.h"

#include <afxdisp.h>
#include <afxpriv.h>
#include <algorithm>
#include <winmenu.h>
#include <winmetrics.h>

#include "CheckedFormat.h"
#include "DlgAbout.h"
#include "DlgBaseShared.h"
#include "DlgQVXFeedback.h"
#include "DlgShutDown.h"
#include "GlobalConstants.h"
#include "HalvoranApp.h"
#include "IniReader.h"
#include "OSVersionInfo.h"
#include "PathHelpers.h"
#include "ProcessControl.h"
#include "ProductValues.h"
#include "UpdateCheckerLauncher.h"
#include "WebLinks.h"
#include "XTMemDC.h"

IMPLEMENT_DYNAMIC(CDlgMainWnd, CDlgBaseWnd)

// The base has no entries of its own: the derived windows enter its handlers.
BEGIN_MESSAGE_MAP(CDlgMainWnd, CDlgBaseWnd)
END_MESSAGE_MAP()

BOOL g_bShowHelpButton = FALSE;
BOOL g_bShowDemoButton = FALSE;
CString g_strVersionText;
CString g_strSharedAppText;

namespace {

constexpr TCHAR kSection[] = _T("QVX");
constexpr UINT kApplicationTitle = 0xE000;
constexpr TCHAR kHelperLibrary[] = _T("zephrinkxhelper.dll");
constexpr TCHAR kDemoProgram[] = _T("ZEPHRINKXDemo.exe");
constexpr UINT_PTR kDemoEnableTimer = CDlgMainWnd::kDemoCommand;

// Frame pieces: top, left, bottom and right edges; top-left, top-right, bottom-left and
// bottom-right corners; the grip beside the bottom-right corner.
constexpr UINT kTopEdge = 1154, kLeftEdge = 1095, kBottomEdge = 1049, kRightEdge = 1125;
constexpr UINT kTopLeft = 1152, kTopRight = 1160, kBottomLeft = 1048, kBottomRight = 1050, kGrip = 1458;
// Title buttons.
constexpr UINT kHelpBitmap = 1061;
constexpr COLORREF kHeaderButtonCaption = 0xFFFCFC;
constexpr int kHeaderButtonFontHeight = -11;
constexpr UINT kCloseBitmap = 1038, kMinimizeBitmap = 1042, kMaximizeBitmap = 1063, kRestoreBitmap = 1062;
constexpr COLORREF kCaptionShadow = 0x6C5A51;
constexpr COLORREF kCaptionColour = 0xFCFCFC;
constexpr COLORREF kVersionColour = 0xCFCFCF;
constexpr int kCaptionBottom = 32;
constexpr DWORD kMessagePendingDelayMs = 65536;

CLaunchGuard g_demoGuard(CDlgMainWnd::kLaunchGuardMs);

CString QvxText(LPCTSTR id) { return GetLangString(id, kSection); }

// The shared library's version as the version line shows it, from the running program's
// folder.
CString ReadVersionLine() {
  CString path = GetProgramFilePath();
  const int slash = path.ReverseFind(_T('\\'));
  path = slash >= 0 ? path.Left(slash) : CString();
  AppendPathComponent(path, kHelperLibrary);
  CString line;
  FormatChecked(line, QvxText(_T("IDS_VERSION_FORMAT")), {GetProductName(), GetFileVersionText(path)});
  return line;
}

void DrawCentredCaption(CDC* pDC, const CString& text, int left, int top, int right, int bottom, COLORREF colour) {
  CRect band(left, top, right, bottom);
  pDC->SetTextColor(colour);
  pDC->DrawText(text, text.GetLength(), &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

LOGFONTW MakeMainWindowLogFont(const LOGFONTW& base, DWORD osMajorVersion) {
  LOGFONTW font = base;
  font.lfHeight = -16;
  font.lfWeight = FW_MEDIUM;
  font.lfQuality = CLEARTYPE_QUALITY;
  if (osMajorVersion < 6) {
    CString face(font.lfFaceName);
    face.MakeUpper();
    if (face.Left(3) != _T("SEG")) {
      const WCHAR arial[] = u"Arial";
      std::copy(std::begin(arial), std::end(arial), font.lfFaceName);
      font.lfWeight = FW_NORMAL;
    }
  }
  return font;
}

CDlgMainWnd::CDlgMainWnd() : CDlgMainWnd(0, nullptr) {}

CDlgMainWnd::CDlgMainWnd(UINT nIDTemplate, CWnd* pParentWnd) : CDlgBaseWnd(nIDTemplate, pParentWnd) {
  // Calls into other apartments wait quietly while a main window lives.
  if (COleMessageFilter* filter = AfxOleGetMessageFilter()) {
    filter->EnableBusyDialog(FALSE);
    filter->EnableNotRespondingDialog(FALSE);
    filter->SetMessagePendingDelay(kMessagePendingDelayMs);
  }
  m_lfMainFont = MakeMainWindowLogFont(GetSharedBaseLogFont(), GetOSMajorVersion());
  m_fontMain.CreateFontIndirect(&m_lfMainFont);
}

CDlgMainWnd::~CDlgMainWnd() = default;

const CString& CDlgMainWnd::GetMenuText(int nIndex) const {
  static const CString empty;
  return nIndex >= 0 && nIndex < kMenuTextCount ? m_strMenuTexts[nIndex] : empty;
}

BOOL CDlgMainWnd::OnInitDialog() {
  CDlgBaseWnd::OnInitDialog();
  if (g_hAppIcon) {
    SetWindowText(LoadResString(kApplicationTitle));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_hAppIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_hAppIcon));
  }
  MoveWindow(0, 0, kWidth, kHeight);
  g_strVersionText = ReadVersionLine();

  FormatChecked(m_strMenuTexts[0], QvxText(_T("IDS_COMP_WEBSITE_URL")), {GetCompanyName()});
  m_strMenuTexts[1] = QvxText(_T("IDS_ONLINE_HELP"));
  m_strMenuTexts[2] = QvxText(_T("IDS_CHECK_FOR_UPDATES"));
  m_strMenuTexts[3] = QvxText(_T("IDS_REPORT_FEEDBACK"));
  m_strMenuTexts[4] = QvxText(_T("IDS_ABOUT_STR"));
  m_strMenuTexts[5] = QvxText(_T("IDS_BQNDEMO_STR"));

  if (m_bSysMenuOn) BuildSystemMenu();
  CreateTitleButtons();
  m_bInitialised = TRUE;
  return TRUE;
}

void CDlgMainWnd::BuildSystemMenu() {
  ModifyStyle(0, WS_SYSMENU);
  const HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
  if (menu == nullptr) return;
  for (UINT command : {SC_MAXIMIZE, SC_MINIMIZE, SC_RESTORE, SC_SIZE, SC_CLOSE, SC_MOVE})
    ::RemoveMenu(menu, command, MF_BYCOMMAND);
  for (UINT position : {0u, 0u, 0u, 1u}) ::RemoveMenu(menu, position, MF_BYPOSITION);
  ::AppendMenuW(menu, MF_STRING, kAboutSysCommand, m_strSysMenuItem);
  ::AppendMenuW(menu, MF_STRING, SC_RESTORE, QvxText(_T("IDS_STR_RESTORE")));
  ::AppendMenuW(menu, MF_STRING, SC_MINIMIZE, QvxText(_T("IDS_STR_MINIMIZE")));
  ::AppendMenuW(menu, MF_STRING, SC_MOVE, QvxText(_T("IDS_STR_MOVE")));
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu, MF_STRING, SC_CLOSE, QvxText(_T("IDS_STR_CLOSE")));
  ModifyStyle(0, WS_MINIMIZEBOX);
}

void CDlgMainWnd::CreateTitleButtons() {
  CRect client;
  GetClientRect(&client);
  const int w = client.Width();
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
  struct Title {
    CHoverButton& button;
    UINT command;
    UINT bitmap;
    int left, right;
  };
  const Title titles[] = {
      {m_btnClose, kCloseCommand, kCloseBitmap, w - 22, w - 3},
      {m_btnMaximize, kMaximizeCommand, kMaximizeBitmap, w - 42, w - 23},
      {m_btnRestore, kMaximizeCommand, kRestoreBitmap, w - 42, w - 23},
      {m_btnMinimize, kMinimizeCommand, kMinimizeBitmap, w - 62, w - 43},
  };
  for (const Title& title : titles) {
    if (title.button.GetSafeHwnd() == nullptr)
      title.button.Create(_T(""), style, CRect(title.left, 5, title.right, 24), this, title.command);
    title.button.LoadBitmap(title.bitmap);
  }
  ShowMaximizeOrRestore();
}

void CDlgMainWnd::ShowMaximizeOrRestore() {
  if (m_btnMaximize.GetSafeHwnd()) m_btnMaximize.ShowWindow(m_bResizable && !m_bMaximised ? SW_SHOW : SW_HIDE);
  if (m_btnRestore.GetSafeHwnd()) m_btnRestore.ShowWindow(m_bResizable && m_bMaximised ? SW_SHOW : SW_HIDE);
}

void CDlgMainWnd::PlaceTitleButtons() {
  CRect client;
  GetClientRect(&client);
  int right = client.Width() - 7;
  if (m_btnClose.GetSafeHwnd()) {
    right -= m_btnClose.GetStateWidth();
    m_btnClose.MoveWindow(right, 2, m_btnClose.GetStateWidth(), m_btnClose.GetStateHeight());
  }
  if (m_bResizable) {
    right -= 25;
    if (m_btnMaximize.GetSafeHwnd()) m_btnMaximize.MoveWindow(right, 2, 25, 18);
    if (m_btnRestore.GetSafeHwnd()) m_btnRestore.MoveWindow(right, 2, 25, 18);
  }
  if (m_btnMinimize.GetSafeHwnd()) {
    right -= m_btnMinimize.GetStateWidth();
    m_btnMinimize.MoveWindow(right, 2, m_btnMinimize.GetStateWidth(), m_btnMinimize.GetStateHeight());
  }
}

void CDlgMainWnd::OnSysCommand(UINT nID, LPARAM) {
  m_bSysCommandSeen = TRUE;
  if ((nID & ~0xFu) == kAboutSysCommand) {
    OnAbout();
    return;
  }
  switch (nID & 0xFFF0) {
    case SC_CLOSE:
      PostMessage(WM_CLOSE);
      return;
    case SC_RESTORE:
      ShowWindow(SW_RESTORE);
      break;
    default:
      if (nID == kMinimizeSysCommand) ShowWindow(SW_MINIMIZE);
      break;
  }
  Default();
}

void CDlgMainWnd::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kShutdownTimer) {
    KillTimer(kShutdownTimer);
    if (!IsWindowVisible()) ShowWindow(SW_RESTORE);
    StartShutDownCountdown(this, QvxText(_T("IDS_SHUTDOWN_SCH")), 0, FALSE);
    return;
  }
  if (nIDEvent == kDemoEnableTimer) {
    KillTimer(kDemoEnableTimer);
    if (m_btnDemo.GetSafeHwnd()) m_btnDemo.EnableWindow(TRUE);
    return;
  }
  Default();
}

void CDlgMainWnd::OnLButtonDown(UINT, CPoint point) {
  // The logo is the caption's icon: a click on it opens the system menu, as a caption icon does.
  if (IsOnLogo(point)) {
    CPoint screen(point);
    ClientToScreen(&screen);
    SendMessage(WM_NCLBUTTONDOWN, HTSYSMENU, MAKELPARAM(screen.x, screen.y));
    return;
  }
  if (!m_bMaximised) DragByCaptionBand(this, point);
}

BOOL CDlgMainWnd::IsOnLogo(CPoint point) const {
  if (m_nLogoId == 0 || (GetStyle() & WS_SYSMENU) == 0) return FALSE;
  const CHVBitmap& logo = SharedBitmap(m_nLogoId);
  return CRect(kLogoLeft, 0, kLogoLeft + logo.GetWidth(), logo.GetHeight()).PtInRect(point);
}

void CDlgMainWnd::OnLButtonDblClk(UINT, CPoint point) {
  if (m_bResizable && IsInCaptionBand(this, point)) OnMaximizeButton();
}

void CDlgMainWnd::OnMaximizeButton() {
  m_bMaximised = m_bMaximised ? FALSE : TRUE;
  CPoint cursor;
  ::GetCursorPos(&cursor);
  PostMessage(WM_SYSCOMMAND, m_bMaximised ? SC_MAXIMIZE : SC_RESTORE, MAKELPARAM(cursor.x, cursor.y));
  ShowMaximizeOrRestore();
}

void CDlgMainWnd::OnMinimizeButton() {
  CPoint cursor;
  ::GetCursorPos(&cursor);
  PostMessage(WM_SYSCOMMAND, SC_MINIMIZE, MAKELPARAM(cursor.x, cursor.y));
}

void CDlgMainWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  lpMMI->ptMinTrackSize.x = m_nMinTrackWidth;
  lpMMI->ptMinTrackSize.y = m_nMinTrackHeight;
  lpMMI->ptMaxTrackSize.x = ::GetSystemMetrics(SM_CXMAXTRACK);
  int trayHeight = 0;
  if (const HWND tray = ::FindWindowW(_T("Shell_TrayWnd"), nullptr)) {
    RECT trayClient{};
    ::GetClientRect(tray, &trayClient);
    trayHeight = trayClient.bottom - trayClient.top;
  }
  lpMMI->ptMaxTrackSize.y = ::GetSystemMetrics(SM_CYMAXTRACK) - 5 - trayHeight;
  Default();
}

void CDlgMainWnd::OnSize(UINT, int, int) {
  Default();
  PlaceTitleButtons();
}

void CDlgMainWnd::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  if (PaintThroughCallback(&paint, client)) return;
  {
    // A main window of its own (the scheduler's) shows the frame, caption and buttons' band
    // that every main window has.
    CXTMemDC memory(&paint, client, kDialogBackColour);
    PaintFrame(&memory, client);
  }
  for (CHoverButton* button : {&m_btnClose, &m_btnMinimize, &m_btnMaximize})
    if (button->GetSafeHwnd()) button->Invalidate(FALSE);
}

LRESULT CDlgMainWnd::OnKickIdle(WPARAM, LPARAM) {
  SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
  return 0;
}

void CDlgMainWnd::PaintFrame(CDC* pDC, const CRect& rect) {
  const int W = rect.Width();
  const int H = rect.Height();
  const CHVBitmap& bottom = SharedBitmap(kBottomEdge);
  const CHVBitmap& right = SharedBitmap(kRightEdge);
  TileAcross(pDC, SharedBitmap(kTopEdge), 0, W, 0);
  TileDown(pDC, SharedBitmap(kLeftEdge), 0, 0, H);
  TileAcross(pDC, bottom, 0, W, H - bottom.GetHeight());
  TileDown(pDC, right, W - right.GetWidth(), 0, H);

  DrawWhole(pDC, SharedBitmap(kTopLeft), 0, 0);
  if (m_nLogoId != 0) DrawWhole(pDC, SharedBitmap(m_nLogoId), kLogoLeft, 0);
  const CHVBitmap& topRight = SharedBitmap(kTopRight);
  DrawWhole(pDC, topRight, W - topRight.GetWidth(), 0);
  const CHVBitmap& bottomLeft = SharedBitmap(kBottomLeft);
  DrawWhole(pDC, bottomLeft, 0, H - bottomLeft.GetHeight());
  const CHVBitmap& bottomRight = SharedBitmap(kBottomRight);
  DrawWhole(pDC, bottomRight, W - bottomRight.GetWidth(), H - bottomRight.GetHeight());
  const CHVBitmap& grip = SharedBitmap(kGrip);
  DrawWhole(pDC, grip, W - grip.GetWidth() - 6, H - grip.GetHeight());

  const CString name = GetAppName();
  const HGDIOBJ oldFont = ::SelectObject(pDC->GetSafeHdc(), m_fontMain.GetSafeHandle());
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF oldColour = pDC->GetTextColor();
  DrawCentredCaption(pDC, name, 0, 0, W, kCaptionBottom + 1, kCaptionShadow);
  DrawCentredCaption(pDC, name, 0, 0, W, kCaptionBottom, kCaptionColour);

  ::SelectObject(pDC->GetSafeHdc(), GetSharedSmallFont());
  pDC->SetTextColor(kVersionColour);
  CRect versionLine(8, H - 21, 500, H);
  pDC->DrawText(g_strVersionText, g_strVersionText.GetLength(), &versionLine, DT_SINGLELINE | DT_NOPREFIX);
  pDC->SetTextColor(oldColour);
  pDC->SetBkMode(oldMode);
  ::SelectObject(pDC->GetSafeHdc(), oldFont);
}

void CDlgMainWnd::OnCheckForUpdates() { CheckForUpdates(); }

INT_PTR CDlgMainWnd::RunDemoProgram() {
  if (!g_demoGuard.TryStart()) return 1;
  const CString folder = GetHelperFolder();
  CString program = folder;
  AppendPathComponent(program, kDemoProgram);
  return RunShellExecute(::GetDesktopWindow(), _T("open"), program, m_strDemoArguments, folder, SW_SHOWNORMAL);
}

void CDlgMainWnd::OnDemoButton() {
  if (m_btnDemo.GetSafeHwnd()) m_btnDemo.EnableWindow(FALSE);
  RunDemoProgram();
  // The button comes back after a short pause, without holding up the window meanwhile.
  if (m_btnDemo.GetSafeHwnd()) SetTimer(kDemoEnableTimer, kDemoEnableDelayMs, nullptr);
}

CWnd* CDlgMainWnd::ApplicationWindow() {
  CWnd* main = AfxGetMainWnd();
  return main ? main : this;
}

void CDlgMainWnd::OnAbout() { ShowAboutDialog(ApplicationWindow()); }

void CDlgMainWnd::OnReportFeedback() { ShowFeedbackDialog(ApplicationWindow()); }

BOOL CDlgMainWnd::CreateHelpButton() {
  if (!g_bShowHelpButton || m_btnHelp.GetSafeHwnd() != nullptr) return FALSE;
  CRect client;
  GetClientRect(&client);
  const int w = client.Width();
  if (!m_btnHelp.Create(QvxText(_T("IDS_HELP")), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                        CRect(w - 55, 35, w - 8, 58), this, kHelpCommand))
    return FALSE;
  m_btnHelp.LoadBitmap(kHelpBitmap);
  m_btnHelp.SetOwnFontHeight(kHeaderButtonFontHeight);
  m_btnHelp.SetColours(kHeaderButtonCaption, kHeaderButtonCaption, kHeaderButtonCaption);
  return TRUE;
}

void CDlgMainWnd::OnHelpButton() {
  if (m_btnHelp.GetSafeHwnd() == nullptr) return;
  // The demo is offered only where its button is.
  const int count = g_bShowDemoButton ? kMenuTextCount : kMenuTextCount - 1;
  CMenu menu;
  if (!menu.CreatePopupMenu()) return;
  for (int item = 0; item < count; ++item)
    menu.AppendMenu(MF_STRING, kFirstHelpMenuCommand + static_cast<UINT>(item), m_strMenuTexts[item]);
  CRect button;
  m_btnHelp.GetWindowRect(&button);
  const UINT chosen = static_cast<UINT>(
      menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, button.left - 181, button.top + 22, this));
  switch (chosen) {
    case kFirstHelpMenuCommand:
      OpenAboutPage();
      break;
    case kFirstHelpMenuCommand + 1:
      OpenHelpPage(_T(""));
      break;
    case kFirstHelpMenuCommand + 2:
      OnCheckForUpdates();
      break;
    case kFirstHelpMenuCommand + 3:
      OnReportFeedback();
      break;
    case kFirstHelpMenuCommand + 4:
      OnAbout();
      break;
    case kFirstHelpMenuCommand + 5:
      OnDemoButton();
      break;
    default:
      break;
  }
}
