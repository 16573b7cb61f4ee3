// The shared drawing helpers: blits through short-lived compatible DCs, the layered-window
// opacity, the parent's background under a child, HTML text, and the foreground switch.
#include "DrawingHelpers.h"

#include <libloaderapi.h>
#include <qhtm.h>
#include <wininput.h>

#include <mutex>

namespace {

// Selects the bitmap into a DC compatible with the destination for one blit; a missing
// bitmap draws nothing.
template <typename Blit>
void WithBitmapDC(CDC* pDC, HBITMAP hBitmap, Blit blit) {
  if (pDC == nullptr || hBitmap == nullptr) return;
  CDC memDC;
  if (!memDC.CreateCompatibleDC(pDC)) return;
  const HGDIOBJ hOld = memDC.SelectObject(hBitmap);
  if (hOld) {
    blit(memDC);
    memDC.SelectObject(hOld);
  }
  memDC.DeleteDC();
}

using SetLayeredFn = BOOL (*)(HWND, COLORREF, BYTE, DWORD);

SetLayeredFn LayeredWindowFunction() {
  static SetLayeredFn fn = nullptr;
  static std::once_flag looked;
  std::call_once(looked, [] {
    if (HMODULE user = LoadLibraryW(u"user32.dll"))
      fn = reinterpret_cast<SetLayeredFn>(GetProcAddress(user, "SetLayeredWindowAttributes"));
  });
  return fn;
}

}  // namespace

void DrawBitmap(CDC* pDC, int x, int y, int nWidth, int nHeight, HBITMAP hBitmap, DWORD dwRop) {
  DrawBitmapPart(pDC, x, y, 0, 0, nWidth, nHeight, hBitmap, dwRop);
}

void DrawBitmapPart(CDC* pDC, int x, int y, int xSrc, int ySrc, int nWidth, int nHeight,
                    HBITMAP hBitmap, DWORD dwRop) {
  WithBitmapDC(pDC, hBitmap, [&](CDC& memDC) {
    pDC->BitBlt(x, y, nWidth, nHeight, &memDC, xSrc, ySrc, dwRop);
  });
}

void StretchBitmap(CDC* pDC, int x, int y, int nWidth, int nHeight, int xSrc, int ySrc,
                   int nSrcWidth, int nSrcHeight, HBITMAP hBitmap, DWORD dwRop) {
  WithBitmapDC(pDC, hBitmap, [&](CDC& memDC) {
    pDC->StretchBlt(x, y, nWidth, nHeight, &memDC, xSrc, ySrc, nSrcWidth, nSrcHeight, dwRop);
  });
}

BOOL GetBitmapSize(UINT nID, CBitmap& bitmap, int& nWidth, int& nHeight) {
  nWidth = 0;
  nHeight = 0;
  const LPCTSTR name = MAKEINTRESOURCEW(nID);
  const HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP);
  const HBITMAP hBitmap = module ? LoadBitmapW(module, name) : nullptr;
  if (hBitmap == nullptr) return FALSE;
  bitmap.DeleteObject();
  bitmap.Attach(hBitmap);
  BITMAP info{};
  if (bitmap.GetBitmap(&info) == 0) return FALSE;
  nWidth = info.bmWidth;
  nHeight = info.bmHeight;
  return TRUE;
}

HINSTANCE FindProgramResourceHandle(UINT nID, LPCTSTR lpszType) {
  const HINSTANCE own = AfxGetInstanceHandle();
  const LPCTSTR name = MAKEINTRESOURCEW(nID);
  return ::FindResourceW(own, name, lpszType) ? own : AfxFindResourceHandle(name, lpszType);
}

BOOL SetWindowAlpha(HWND hWnd, BYTE nAlpha) {
  const SetLayeredFn fn = LayeredWindowFunction();
  if (fn == nullptr) return FALSE;
  SetLastError(ERROR_SUCCESS);
  SetWindowLongW(hWnd, GWL_EXSTYLE, GetWindowLongW(hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  if (GetLastError() != ERROR_SUCCESS) return FALSE;
  return fn(hWnd, 0xFFFFFF, nAlpha, LWA_ALPHA);
}

BOOL DrawParentBackground(CWnd* pWnd, CDC* pDC, LPCRECT lpRect) {
  if (pWnd == nullptr || pDC == nullptr) return FALSE;
  const HWND hParent = ::GetParent(pWnd->GetSafeHwnd());
  if (hParent == nullptr) return FALSE;
  CRgn clip;
  if (lpRect) {
    clip.CreateRectRgnIndirect(lpRect);
    pDC->SelectClipRgn(&clip);
  }
  POINT origin{0, 0};
  ::MapWindowPoints(pWnd->GetSafeHwnd(), hParent, &origin, 1);
  const CPoint old = pDC->SetWindowOrg(origin.x, origin.y);
  const LRESULT answer = ::SendMessageW(hParent, WM_ERASEBKGND,
                                        reinterpret_cast<WPARAM>(pDC->GetSafeHdc()), 0);
  pDC->SetWindowOrg(old);
  pDC->SelectClipRgn(nullptr);
  return answer != 0;
}

CRect GetWndClientRect(CWnd* pWnd) {
  CRect rect;
  if (pWnd) pWnd->GetClientRect(&rect);
  return rect;
}

BOOL ForceForegroundWindow(HWND hWnd) {
  const HWND hForeground = ::GetForegroundWindow();
  if (hForeground == hWnd) return TRUE;
  const DWORD foregroundThread = ::GetWindowThreadProcessId(hForeground, nullptr);
  const DWORD ownThread = ::GetWindowThreadProcessId(hWnd, nullptr);
  BOOL done;
  if (hForeground && foregroundThread != ownThread) {
    ::AttachThreadInput(foregroundThread, ownThread, TRUE);
    done = ::SetForegroundWindow(hWnd);
    ::AttachThreadInput(foregroundThread, ownThread, FALSE);
  } else {
    done = ::SetForegroundWindow(hWnd);
  }
  ::ShowWindow(hWnd, ::IsIconic(hWnd) ? SW_RESTORE : SW_SHOW);
  return done;
}

BOOL RenderHTML(CWnd*, CDC* pDC, LPCRECT lpRect, LPCTSTR lpszHtml, BOOL bTransparent) {
  if (pDC == nullptr) return FALSE;
  const UINT flags = QHTM_SOURCE_TEXT | (bTransparent ? QHTM_RENDER_TRANSPARENT : 0u);
  return QHTM_RenderHTMLRect(pDC->GetSafeHdc(), lpszHtml, AfxGetInstanceHandle(), flags, lpRect);
}
