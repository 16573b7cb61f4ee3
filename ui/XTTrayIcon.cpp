// CXTTrayIcon: the icon's record and its shell calls (add, change, hide, show, remove,
// balloon), the tip and the icon, the default menu item, and the mouse actions on the icon.
#include "XTTrayIcon.h"

#include <algorithm>

namespace {

// The id of "TaskbarCreated", registered when a tray icon is made (read by the message map).
UINT g_uTaskbarCreated = 0;

constexpr int kMaxTipAfterCreate = 127;
constexpr std::size_t kInfoChars = 256 - 1;
constexpr std::size_t kInfoTitleChars = 64 - 1;

// Copies at most `most` characters of the text into the field and ends it.
template <std::size_t N>
void CopyField(WCHAR (&field)[N], LPCTSTR text, std::size_t most) {
  std::size_t n = 0;
  if (text)
    while (n < most && n + 1 < N && text[n]) {
      field[n] = text[n];
      ++n;
    }
  std::fill(field + n, field + N, u'\0');
}

}  // namespace

BEGIN_MESSAGE_MAP(CXTTrayIcon, CWnd)
  ON_WM_TIMER()
  ON_WM_SETTINGCHANGE()
  ON_REGISTERED_MESSAGE(g_uTaskbarCreated, &CXTTrayIcon::OnTaskbarCreated)
END_MESSAGE_MAP()

CXTTrayIcon::CXTTrayIcon() : m_bNewerShell(IsNewerShell()) {
  m_niData.cbSize = kRecordSize;
  m_niData.uCallbackMessage = kCallbackMessage;
}

CXTTrayIcon::~CXTTrayIcon() {
  HideIcon();
  if (m_wndMinimize.GetSafeHwnd()) m_wndMinimize.DestroyWindow();
  if (GetSafeHwnd()) DestroyWindow();
  RemoveAnimationIcons();
}

BOOL CXTTrayIcon::ShellNotify(DWORD dwMessage) { return ::Shell_NotifyIconW(dwMessage, &m_niData); }

BOOL CXTTrayIcon::Create(LPCTSTR lpszCaption, CWnd* pParentWnd, UINT nIconID) {
  return Create(lpszCaption, pParentWnd, nIconID, 0, 0, true);
}

BOOL CXTTrayIcon::Create(LPCTSTR lpszCaption, CWnd* pParentWnd, UINT nIconID, UINT uMenuID,
                         UINT uDefMenuItemID, bool bDefMenuItemByPos) {
  if (!pParentWnd || !::IsWindow(pParentWnd->GetSafeHwnd())) return FALSE;
  g_uTaskbarCreated = ::RegisterWindowMessageW(u"TaskbarCreated");
  m_nIconID = nIconID;
  m_hWndNotify = pParentWnd->GetSafeHwnd();
  m_iMaxTipSize = kMaxTipAfterCreate;
  SetIcon(nIconID);
  SetTooltipText(lpszCaption);
  if (!GetSafeHwnd() &&
      !CreateEx(0, AfxRegisterWndClass(0), u"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr))
    return FALSE;
  m_niData.hWnd = GetSafeHwnd();
  m_niData.uID = uMenuID;
  m_uDefMenuItemID = uDefMenuItemID;
  m_bDefMenuItemByPos = bDefMenuItemByPos;
  m_uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  return AddIcon();
}

BOOL CXTTrayIcon::SetNotificationWnd(CWnd* pNotifyWnd) {
  if (!pNotifyWnd || !::IsWindow(pNotifyWnd->GetSafeHwnd())) return FALSE;
  m_niData.hWnd = pNotifyWnd->GetSafeHwnd();
  m_niData.uFlags = 0;
  return ShellNotify(NIM_MODIFY);
}

CWnd* CXTTrayIcon::GetNotificationWnd() const { return CWnd::FromHandle(m_niData.hWnd); }

BOOL CXTTrayIcon::SetCallbackMessage(UINT uNewCallbackMessage) {
  m_niData.uCallbackMessage = uNewCallbackMessage;
  m_niData.uFlags = NIF_MESSAGE;
  return ShellNotify(NIM_MODIFY);
}

BOOL CXTTrayIcon::SetIcon(HICON hIcon) {
  if (hIcon == m_niData.hIcon) return TRUE;
  m_niData.uFlags = NIF_ICON;
  m_niData.hIcon = hIcon;
  return m_bHidden ? TRUE : ShellNotify(NIM_MODIFY);
}

BOOL CXTTrayIcon::SetIcon(UINT nIDResource) {
  // A missing icon leaves the current one as it is.
  const auto icon = static_cast<HICON>(
      ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource), IMAGE_ICON,
                   ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  if (!icon) return FALSE;
  const BOOL set = SetIcon(icon);
  m_hIcon = icon;
  return set;
}

BOOL CXTTrayIcon::SetTooltipText(LPCTSTR lpszTipText) {
  const CString text(lpszTipText ? lpszTipText : u"");
  m_strToolTip = text.Left(m_iMaxTipSize - 1);
  m_niData.uFlags = NIF_TIP;
  CopyField(m_niData.szTip, m_strToolTip, static_cast<std::size_t>(m_iMaxTipSize - 1));
  return m_bHidden ? TRUE : ShellNotify(NIM_MODIFY);
}

BOOL CXTTrayIcon::SetTooltipText(UINT nTipText) {
  WCHAR text[512] = {};
  if (::LoadStringW(AfxGetResourceHandle(), nTipText, text, 512) <= 0) return FALSE;
  return SetTooltipText(text);
}

BOOL CXTTrayIcon::AddIcon() {
  if (!m_bRemoved) HideIcon();
  m_niData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  if (!ShellNotify(NIM_ADD)) {
    m_bAddFailed = TRUE;
    return FALSE;
  }
  m_bHidden = m_bRemoved = FALSE;
  return TRUE;
}

BOOL CXTTrayIcon::AddIconAgain() {
  // A shown icon, or one whose add failed (it is still meant to be there).
  if ((m_bHidden || m_bRemoved) && !m_bAddFailed) return FALSE;
  m_niData.uFlags = m_uFlags;
  m_bAddFailed = !ShellNotify(NIM_ADD);
  if (!m_bAddFailed) m_bHidden = m_bRemoved = FALSE;
  return !m_bAddFailed;
}

BOOL CXTTrayIcon::HideIcon() {
  m_bAddFailed = FALSE;
  if (m_bRemoved) return TRUE;
  m_niData.uFlags = 0;
  if (!ShellNotify(NIM_DELETE)) return FALSE;
  m_bHidden = m_bRemoved = TRUE;
  return TRUE;
}

BOOL CXTTrayIcon::HideInPlace() {
  if (m_bHidden || m_bRemoved) return TRUE;
  if (!m_bNewerShell) return HideIcon();
  m_niData.uFlags = NIF_STATE;
  m_niData.dwState = NIS_HIDDEN;
  m_niData.dwStateMask = NIS_HIDDEN;
  m_bHidden = ShellNotify(NIM_MODIFY);
  return m_bHidden;
}

BOOL CXTTrayIcon::ShowIcon() {
  if (m_bRemoved) return AddIcon();
  if (!m_bHidden) return TRUE;
  if (!m_bNewerShell) return AddIcon();
  // The tip and icon kept while hidden are shown with it.
  m_niData.uFlags = NIF_STATE | NIF_ICON | NIF_TIP;
  m_niData.dwState = 0;
  m_niData.dwStateMask = NIS_HIDDEN;
  // A shell restarted meanwhile forgot the hidden icon: it is added anew.
  if (!ShellNotify(NIM_MODIFY)) return AddIcon();
  m_bHidden = m_bRemoved = FALSE;
  return TRUE;
}

BOOL CXTTrayIcon::ShowBalloonTip(LPCTSTR lpszInfo, LPCTSTR lpszInfoTitle, DWORD dwInfoFlags, UINT uTimeout) {
  if (!m_bNewerShell || !lpszInfo || !*lpszInfo) return FALSE;
  m_niData.uFlags |= NIF_INFO;
  CopyField(m_niData.szInfo, lpszInfo, kInfoChars);
  CopyField(m_niData.szInfoTitle, lpszInfoTitle, kInfoTitleChars);
  m_niData.uTimeout = uTimeout * 1000;
  m_niData.dwInfoFlags = dwInfoFlags;
  const BOOL sent = ShellNotify(NIM_MODIFY);
  // Later changes must not show it again.
  m_niData.szInfo[0] = u'\0';
  return sent;
}

BOOL CXTTrayIcon::SetDefaultMenuItem(UINT uItem, bool bByPos) {
  if (m_uDefMenuItemID == uItem && static_cast<bool>(m_bDefMenuItemByPos) == bByPos) return TRUE;
  m_uDefMenuItemID = uItem;
  m_bDefMenuItemByPos = bByPos;
  CMenu menu;
  CMenu* pPopup = nullptr;
  if (!LoadTrayMenu(menu, pPopup)) return FALSE;
  return ::SetMenuDefaultItem(pPopup->GetSafeHmenu(), uItem, bByPos);
}

void CXTTrayIcon::GetDefaultMenuItem(UINT& uItem, bool& bByPos) const {
  uItem = m_uDefMenuItemID;
  bByPos = m_bDefMenuItemByPos;
}

BOOL CXTTrayIcon::LoadTrayMenu(CMenu& menu, CMenu*& pPopup) const {
  if (!menu.LoadMenu(m_niData.uID)) return FALSE;
  pPopup = menu.GetSubMenu(0);
  return pPopup != nullptr;
}

LRESULT CXTTrayIcon::OnTrayNotification(WPARAM wParam, LPARAM lParam) {
  if (wParam != m_niData.uID || !m_hWndNotify) return 0;
  if (::SendMessageW(m_hWndNotify, kCallbackMessage, wParam, lParam)) return 1;
  const auto mouse = static_cast<UINT>(lParam);
  if (mouse == WM_LBUTTONDBLCLK) {
    ::SetForegroundWindow(m_hWndNotify);
    UINT command = m_uDefMenuItemID;
    if (m_bDefMenuItemByPos) {
      CMenu menu;
      CMenu* pPopup = nullptr;
      if (!LoadTrayMenu(menu, pPopup)) return 0;
      command = pPopup->GetMenuItemID(static_cast<int>(m_uDefMenuItemID));
    }
    ::SendMessageW(m_hWndNotify, WM_COMMAND, command, 0);
    return 1;
  }
  if (mouse == WM_CONTEXTMENU || mouse == WM_RBUTTONUP || mouse == NIN_SELECT || mouse == NIN_KEYSELECT) {
    CMenu menu;
    CMenu* pPopup = nullptr;
    if (!LoadTrayMenu(menu, pPopup)) return 0;
    ::SetMenuDefaultItem(pPopup->GetSafeHmenu(), m_uDefMenuItemID, m_bDefMenuItemByPos);
    POINT at{};
    ::GetCursorPos(&at);
    ::SetForegroundWindow(m_hWndNotify);
    ::TrackPopupMenu(pPopup->GetSafeHmenu(), 0, at.x, at.y, 0, m_hWndNotify, nullptr);
    ::PostMessageW(m_hWndNotify, WM_NULL, 0, 0);
    menu.DestroyMenu();
    m_niData.uFlags = 0;
    ShellNotify(NIM_SETFOCUS);
  }
  return 1;
}

LRESULT CXTTrayIcon::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == m_niData.uCallbackMessage) return OnTrayNotification(wParam, lParam);
  return CWnd::WindowProc(message, wParam, lParam);
}

void CXTTrayIcon::OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
  CWnd::OnSettingChange(uFlags, lpszSection);
  if (uFlags == SPI_SETWORKAREA && m_bAddFailed) AddIconAgain();
}

LRESULT CXTTrayIcon::OnTaskbarCreated(WPARAM, LPARAM) {
  AddIconAgain();
  return 0;
}
