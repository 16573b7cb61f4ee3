// CXTTrayIcon: the icon's animation frames and timer, the windows it takes off the taskbar,
// and the animation of a window into and out of the notification area, whose rectangle is
// found from the taskbar's windows, the taskbar's place or the work area.
#include "XTTrayIcon.h"

#include "XTPModuleHandle.h"

namespace {

// Pixels of the clock's bottom from the taskbar's bottom that still count as one row.
constexpr LONG kClockRowSlack = 5;

struct TrayWalk {
  RECT rect;
};

bool IsClass(HWND window, LPCWSTR name) {
  WCHAR className[64] = {};
  ::GetClassNameW(window, className, 64);
  return ::lstrcmpiW(className, name) == 0;
}

BOOL CALLBACK NarrowToNotifyArea(HWND child, LPARAM param) {
  auto* walk = reinterpret_cast<TrayWalk*>(param);
  if (IsClass(child, u"TrayNotifyWnd")) ::GetWindowRect(child, &walk->rect);
  if (!IsClass(child, u"TrayClockWClass")) return TRUE;
  RECT clock{};
  ::GetWindowRect(child, &clock);
  if (clock.bottom >= walk->rect.bottom - kClockRowSlack)
    walk->rect.right = clock.left;  // a horizontal taskbar: the icons lie left of the clock
  else
    walk->rect.top = clock.bottom;
  return FALSE;
}

bool MinimiseAnimationOn() {
  ANIMATIONINFO info{sizeof info, 0};
  return ::SystemParametersInfoW(SPI_GETANIMATION, sizeof info, &info, 0) && info.iMinAnimate != 0;
}

}  // namespace

BOOL CXTTrayIcon::IsNewerShell() {
  static const BOOL newer = CXTPModuleHandle(u"shell32.dll").GetModuleVersion() >= MAKELONG(0, 5);
  return newer;
}

void CXTTrayIcon::StartAnimation(UINT uElapse) {
  if (GetSafeHwnd()) SetTimer(m_nIDEvent, uElapse);
}

void CXTTrayIcon::Animate(UINT nIDEvent, UINT uElapse) {
  m_nIDEvent = nIDEvent;
  StartAnimation(uElapse);
}

void CXTTrayIcon::StopAnimation() {
  if (GetSafeHwnd()) KillTimer(m_nIDEvent);
  m_iAnimFrame = 0;
  const CString tip = m_strToolTip;
  SetTooltipText(tip);
  SetIcon(m_nIconID);
}

void CXTTrayIcon::KillAnimation() { StopAnimation(); }

BOOL CXTTrayIcon::SetAnimationIcons(const UINT* lpIDArray, int nIDCount, const CString* lpStrTipArray) {
  RemoveAnimationIcons();
  if (nIDCount < 1) return TRUE;
  if (!lpIDArray) return FALSE;
  for (int i = 0; i < nIDCount; ++i) {
    const auto icon = static_cast<HICON>(
        ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(lpIDArray[i]), IMAGE_ICON,
                     ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    if (!icon) return FALSE;
    TRAYICONDATA frame;
    frame.hIcon = icon;
    if (lpStrTipArray) frame.strToolTip = lpStrTipArray[i];
    m_arTrayIcons.push_back(frame);
  }
  return TRUE;
}

BOOL CXTTrayIcon::SetAnimationIcons(const UINT* lpIDArray, const CString* lpStrTipArray, int nIDCount) {
  return SetAnimationIcons(lpIDArray, nIDCount, lpStrTipArray);
}

void CXTTrayIcon::RemoveAnimationIcons() {
  for (const TRAYICONDATA& frame : m_arTrayIcons) {
    // The shell is not left holding a destroyed icon.
    if (frame.hIcon == m_niData.hIcon) SetIcon(static_cast<HICON>(m_hIcon));
    ::DestroyIcon(frame.hIcon);
  }
  m_arTrayIcons.clear();
  m_iAnimFrame = 0;
}

void CXTTrayIcon::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != m_nIDEvent) {
    CWnd::OnTimer(nIDEvent);
    return;
  }
  AnimationStep();
}

void CXTTrayIcon::AnimationStep() {
  if (m_arTrayIcons.empty()) return;
  const int count = static_cast<int>(m_arTrayIcons.size());
  const TRAYICONDATA& frame = m_arTrayIcons[static_cast<std::size_t>(m_iAnimFrame % count)];
  // The frame's tip is shown, the tip text kept for when the animation stops.
  const LPCTSTR tip = frame.strToolTip.IsEmpty() ? m_strToolTip.GetString() : frame.strToolTip.GetString();
  m_niData.uFlags = NIF_TIP;
  const std::size_t most = static_cast<std::size_t>(m_iMaxTipSize - 1);
  std::size_t n = 0;
  while (n < most && tip[n]) {
    m_niData.szTip[n] = tip[n];
    ++n;
  }
  m_niData.szTip[n] = u'\0';
  if (!m_bHidden) ShellNotify(NIM_MODIFY);
  if (frame.hIcon) SetIcon(frame.hIcon);
  m_iAnimFrame = (m_iAnimFrame + 1) % count;
}

BOOL CXTTrayIcon::RemoveFromTaskbar(CWnd* pWnd) {
  if (!pWnd || !::IsWindow(pWnd->GetSafeHwnd())) return FALSE;
  if (!::IsWindow(m_wndMinimize.GetSafeHwnd()) &&
      !m_wndMinimize.CreateEx(0, AfxRegisterWndClass(0), u"", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr))
    return FALSE;
  ::SetParent(pWnd->GetSafeHwnd(), m_wndMinimize.GetSafeHwnd());
  return TRUE;
}

void CXTTrayIcon::MinimizeToTray(CWnd* pWnd) {
  if (!pWnd || !::IsWindow(pWnd->GetSafeHwnd())) return;
  RECT from{}, to{};
  if (MinimiseAnimationOn() && GetTrayWindowRect(&to)) {
    pWnd->GetWindowRect(&from);
    ::DrawAnimatedRects(pWnd->GetSafeHwnd(), IDANI_CAPTION, &from, &to);
  }
  RemoveFromTaskbar(pWnd);
  pWnd->ShowWindow(SW_HIDE);
}

void CXTTrayIcon::MaximizeFromTray(CWnd* pWnd) {
  if (!pWnd || !::IsWindow(pWnd->GetSafeHwnd())) return;
  ::SetParent(pWnd->GetSafeHwnd(), nullptr);
  RECT from{}, to{};
  if (MinimiseAnimationOn() && GetTrayWindowRect(&from)) {
    pWnd->GetWindowRect(&to);
    ::DrawAnimatedRects(pWnd->GetSafeHwnd(), IDANI_CAPTION, &from, &to);
  }
  pWnd->SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  if (::IsWindow(m_wndMinimize.GetSafeHwnd())) m_wndMinimize.SetActiveWindow();
  pWnd->SetActiveWindow();
  pWnd->SetForegroundWindow();
}

RECT CXTTrayIcon::TrayRectFromTaskbar(const APPBARDATA& taskbar) {
  const RECT& bar = taskbar.rc;
  if (taskbar.uEdge == ABE_TOP || taskbar.uEdge == ABE_BOTTOM)
    return RECT{bar.right - 100, bar.top, bar.right - 16, bar.bottom};
  return RECT{bar.left, bar.bottom - 100, bar.right, bar.bottom - 16};
}

RECT CXTTrayIcon::TrayRectFromWorkArea(const RECT& work) {
  return RECT{work.right - 150, work.bottom - 30, work.right, work.bottom};
}

BOOL CXTTrayIcon::GetTrayWindowRect(RECT* pRect) {
  if (!pRect) return FALSE;
  if (const HWND tray = ::FindWindowW(u"Shell_TrayWnd", nullptr)) {
    TrayWalk walk{};
    ::GetWindowRect(tray, &walk.rect);
    ::EnumChildWindows(tray, NarrowToNotifyArea, reinterpret_cast<LPARAM>(&walk));
    *pRect = walk.rect;
    return TRUE;
  }
  APPBARDATA taskbar{};
  taskbar.cbSize = 36;
  if (::SHAppBarMessage(ABM_GETTASKBARPOS, &taskbar)) {
    *pRect = TrayRectFromTaskbar(taskbar);
    return TRUE;
  }
  RECT work{};
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return FALSE;
  *pRect = TrayRectFromWorkArea(work);
  return TRUE;
}
