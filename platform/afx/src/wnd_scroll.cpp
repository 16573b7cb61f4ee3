// CWnd's scroll-bar members over the window's bars; SetScrollInfo and GetScrollInfo fill in
// the record's size (and GetScrollInfo its mask) as the class library does.
#include "afxwin.h"
#include "errhandlingapi.h"

int CWnd::GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }

void CWnd::GetScrollRange(int nBar, int* lpMinPos, int* lpMaxPos) const {
  ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
  ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) {
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  lpScrollInfo->fMask = nMask;
  return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  SetLastError(ERROR_SUCCESS);
  ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
  return GetLastError() == ERROR_SUCCESS;
}

int CWnd::GetScrollLimit(int nBar) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
  if (!::GetScrollInfo(m_hWnd, nBar, &info)) return 0;
  return info.nPage > 1 ? info.nMax - static_cast<int>(info.nPage) + 1 : info.nMax;
}

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) { ::ShowScrollBar(m_hWnd, static_cast<int>(nBar), bShow); }

BOOL CWnd::EnableScrollBar(int nSBFlags, UINT nArrowFlags) {
  return ::EnableScrollBar(m_hWnd, static_cast<UINT>(nSBFlags), nArrowFlags);
}
