// The root of the owner-drawn push buttons: hover tracking, the hand cursor and the parent's
// background.
#include "BaseGUIButton.h"

#include <winresource.h>

#include "DrawingHelpers.h"
#include "HalvoranApp.h"

namespace {
constexpr WORD kHandCursorId = 1228;
constexpr DWORD kHoverTimeMs = 2;
}  // namespace

IMPLEMENT_DYNAMIC(CBaseGUIButton, CButton)

BEGIN_MESSAGE_MAP(CBaseGUIButton, CButton)
  ON_WM_SETCURSOR()
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSEHOVER()
  ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

CBaseGUIButton::CBaseGUIButton() {
  if (HMODULE module = GetResourceModule())
    m_hHandCursor = ::LoadCursorW(module, MAKEINTRESOURCEW(kHandCursorId));
}

CBaseGUIButton::~CBaseGUIButton() = default;

void CBaseGUIButton::PreSubclassWindow() {
  ModifyStyle(0, BS_OWNERDRAW);
  CButton::PreSubclassWindow();
}

BOOL CBaseGUIButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_bUseHandCursor && m_hCurrentCursor) {
    ::SetCursor(m_hCurrentCursor);
    return TRUE;
  }
  return CButton::OnSetCursor(pWnd, nHitTest, message);
}

void CBaseGUIButton::OnMouseMove(UINT nFlags, CPoint point) {
  if (!m_bTracking) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = m_hWnd;
    track.dwHoverTime = kHoverTimeMs;
    m_bTracking = ::TrackMouseEvent(&track) > 0 ? TRUE : FALSE;
  }
  m_hCurrentCursor = m_hHandCursor;
  CButton::OnMouseMove(nFlags, point);
}

void CBaseGUIButton::OnMouseHover(UINT, CPoint) {
  m_bHovered = TRUE;
  Invalidate(FALSE);
  m_hCurrentCursor = m_hHandCursor;
}

void CBaseGUIButton::OnMouseLeave() {
  m_bTracking = FALSE;
  m_bHovered = FALSE;
  Invalidate(FALSE);
  m_hCurrentCursor = nullptr;
}

BOOL CBaseGUIButton::DrawParentBackground(CWnd* window, CDC* dc, LPCRECT rect) {
  return ::DrawParentBackground(window, dc, rect);
}
