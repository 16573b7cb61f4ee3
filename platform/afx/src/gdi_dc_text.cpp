// CDC's text output beyond TextOut and DrawText: DrawTextEx, TabbedTextOut and GrayString.
#include <string>

#include "afxwin.h"

int CDC::DrawTextEx(LPTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat,
                    LPDRAWTEXTPARAMS lpDTParams) {
  return ::DrawTextExW(m_hDC, lpszString, nCount, lpRect, nFormat, lpDTParams);
}

int CDC::DrawTextEx(const CString& str, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams) {
  // DrawTextExW takes writable text: it gets a copy, never the CString's buffer.
  std::u16string copy(str.GetString(), static_cast<std::size_t>(str.GetLength()));
  return DrawTextEx(copy.data(), static_cast<int>(copy.size()), lpRect, nFormat, lpDTParams);
}

CSize CDC::TabbedTextOut(int x, int y, LPCTSTR lpszString, int nCount, int nTabPositions,
                         const int* lpnTabStopPositions, int nTabOrigin) {
  const LONG size = ::TabbedTextOutW(m_hDC, x, y, lpszString, nCount, nTabPositions,
                                     lpnTabStopPositions, nTabOrigin);
  return CSize(LOWORD(size), HIWORD(size));
}

CSize CDC::TabbedTextOut(int x, int y, const CString& str, int nTabPositions,
                         const int* lpnTabStopPositions, int nTabOrigin) {
  return TabbedTextOut(x, y, str.GetString(), str.GetLength(), nTabPositions,
                       lpnTabStopPositions, nTabOrigin);
}

BOOL CDC::GrayString(CBrush* pBrush, GRAYSTRINGPROC lpfnOutput, LPARAM lpData, int nCount,
                     int x, int y, int nWidth, int nHeight) {
  return ::GrayStringW(m_hDC, pBrush ? static_cast<HBRUSH>(pBrush->GetSafeHandle()) : nullptr,
                       lpfnOutput, lpData, nCount, x, y, nWidth, nHeight);
}
