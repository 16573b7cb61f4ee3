// CDC over the GDI: the per-thread maps of attached and temporary DC objects, selection of
// the drawing objects, drawing, blits and text; the window DCs CPaintDC, CClientDC and
// CWindowDC.
#include <algorithm>
#include <map>
#include <memory>

#include "afxwin.h"

namespace {

constexpr std::size_t kPruneAt = 64;

struct DcMaps {
  DcMaps() = default;
  DcMaps(const DcMaps&) = delete;
  DcMaps& operator=(const DcMaps&) = delete;
  ~DcMaps() { Forget(); }
  void Forget() {
    for (auto& [dc, object] : temporary) object->m_hDC = object->m_hAttribDC = nullptr;
    temporary.clear();
  }
  // Temporary objects of DCs that are gone are forgotten as new ones come, so that a long
  // modal loop (which has no idle time to clear them) keeps few.
  void Prune() {
    if (temporary.size() < pruneAt) return;
    const DWORD lastError = ::GetLastError();  // asking about a dead handle sets it
    std::erase_if(temporary, [](const auto& entry) {
      if (::GetObjectType(entry.first)) return false;
      entry.second->m_hDC = entry.second->m_hAttribDC = nullptr;
      return true;
    });
    ::SetLastError(lastError);
    pruneAt = std::max(kPruneAt, temporary.size() * 2);
  }
  std::map<HDC, CDC*> permanent;
  std::map<HDC, std::unique_ptr<CDC>> temporary;
  std::size_t pruneAt = kPruneAt;
};

DcMaps& Maps() {
  thread_local DcMaps maps;
  return maps;
}

HDC HandleOf(const CDC* dc) { return dc ? dc->GetSafeHdc() : nullptr; }

}  // namespace

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CDC::~CDC() {
  if (m_hDC && !m_hWndOwner) ::DeleteDC(Detach());
  else Detach();
}

CDC* CDC::FromHandle(HDC hDC) {
  if (!hDC) return nullptr;
  DcMaps& maps = Maps();
  if (const auto found = maps.permanent.find(hDC); found != maps.permanent.end()) return found->second;
  if (const auto found = maps.temporary.find(hDC); found != maps.temporary.end()) return found->second.get();
  maps.Prune();
  auto& slot = maps.temporary[hDC];
  slot = std::make_unique<CDC>();
  slot->m_hDC = slot->m_hAttribDC = hDC;
  return slot.get();
}

void CDC::DeleteTempMap() { Maps().Forget(); }

BOOL CDC::Attach(HDC hDC) {
  if (!hDC) return FALSE;
  if (m_hDC) Detach();
  m_hDC = m_hAttribDC = hDC;
  Maps().permanent[hDC] = this;
  return TRUE;
}

HDC CDC::Detach() {
  const HDC handle = m_hDC;
  if (handle) {
    auto& permanent = Maps().permanent;
    const auto found = permanent.find(handle);
    if (found != permanent.end() && found->second == this) permanent.erase(found);
  }
  m_hDC = m_hAttribDC = nullptr;
  return handle;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(HandleOf(pDC))); }

BOOL CDC::CreateDC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput,
                   const void* lpInitData) {
  return Attach(::CreateDCW(lpszDriverName, lpszDeviceName, lpszOutput, lpInitData));
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }
int CDC::GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hDC, nIndex); }

CPen* CDC::SelectObject(CPen* pPen) {
  return CPen::FromHandle(static_cast<HPEN>(SelectObject(pPen ? pPen->GetSafeHandle() : nullptr)));
}
CBrush* CDC::SelectObject(CBrush* pBrush) {
  return CBrush::FromHandle(static_cast<HBRUSH>(SelectObject(pBrush ? pBrush->GetSafeHandle() : nullptr)));
}
CFont* CDC::SelectObject(CFont* pFont) {
  return CFont::FromHandle(static_cast<HFONT>(SelectObject(pFont ? pFont->GetSafeHandle() : nullptr)));
}
CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
  return CBitmap::FromHandle(
      static_cast<HBITMAP>(SelectObject(pBitmap ? pBitmap->GetSafeHandle() : nullptr)));
}
int CDC::SelectObject(CRgn* pRgn) { return SelectClipRgn(pRgn); }
CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
  return CGdiObject::FromHandle(SelectObject(pObject ? pObject->GetSafeHandle() : nullptr));
}
HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) { return hObject ? ::SelectObject(m_hDC, hObject) : nullptr; }
CGdiObject* CDC::SelectStockObject(int nIndex) {
  return CGdiObject::FromHandle(SelectObject(::GetStockObject(nIndex)));
}
CFont* CDC::GetCurrentFont() const {
  return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}
CBitmap* CDC::GetCurrentBitmap() const {
  return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

COLORREF CDC::SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hDC); }
COLORREF CDC::SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hDC); }
int CDC::SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
int CDC::GetBkMode() const { return ::GetBkMode(m_hDC); }
int CDC::SetMapMode(int nMapMode) { return ::SetMapMode(m_hDC, nMapMode); }
int CDC::GetMapMode() const { return ::GetMapMode(m_hDC); }

CPoint CDC::SetWindowOrg(int x, int y) {
  POINT old{};
  ::SetWindowOrgEx(m_hDC, x, y, &old);
  return old;
}
CPoint CDC::GetWindowOrg() const {
  POINT origin{};
  ::GetWindowOrgEx(m_hDC, &origin);
  return origin;
}
CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight) {
  POINT old{};
  ::OffsetWindowOrgEx(m_hDC, nWidth, nHeight, &old);
  return old;
}
CPoint CDC::SetViewportOrg(int x, int y) {
  POINT old{};
  ::SetViewportOrgEx(m_hDC, x, y, &old);
  return old;
}
CPoint CDC::GetViewportOrg() const {
  POINT origin{};
  ::GetViewportOrgEx(m_hDC, &origin);
  return origin;
}
CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
  POINT old{};
  ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &old);
  return old;
}

int CDC::GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }
int CDC::SelectClipRgn(CRgn* pRgn) {
  return ::SelectClipRgn(m_hDC, pRgn ? static_cast<HRGN>(*pRgn) : nullptr);
}
int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) { return ::IntersectClipRect(m_hDC, x1, y1, x2, y2); }
int CDC::IntersectClipRect(LPCRECT r) { return IntersectClipRect(r->left, r->top, r->right, r->bottom); }
int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) { return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2); }
int CDC::ExcludeClipRect(LPCRECT r) { return ExcludeClipRect(r->left, r->top, r->right, r->bottom); }
BOOL CDC::PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
BOOL CDC::RectVisible(LPCRECT lpRect) const { return ::RectVisible(m_hDC, lpRect); }

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
  ::FillRect(m_hDC, lpRect, pBrush ? static_cast<HBRUSH>(*pBrush) : nullptr);
}
void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) {
  ::FrameRect(m_hDC, lpRect, pBrush ? static_cast<HBRUSH>(*pBrush) : nullptr);
}
void CDC::InvertRect(LPCRECT lpRect) { ::InvertRect(m_hDC, lpRect); }

// A solid fill that leaves no brush behind: the background colour with an opaque ExtTextOut,
// as the class library does it.
void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
  const COLORREF old = ::SetBkColor(m_hDC, clr);
  ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
  ::SetBkColor(m_hDC, old);
}
void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
  const RECT rect{x, y, x + cx, y + cy};
  FillSolidRect(&rect, clr);
}
void CDC::Draw3dRect(LPCRECT r, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, clrTopLeft, clrBottomRight);
}
void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
  FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
  FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
  FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}
BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) { return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags); }
void CDC::DrawFocusRect(LPCRECT lpRect) { ::DrawFocusRect(m_hDC, lpRect); }
BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush) {
  return pRgn && pBrush && ::FillRgn(m_hDC, *pRgn, *pBrush);
}
CPoint CDC::MoveTo(int x, int y) {
  POINT old{};
  ::MoveToEx(m_hDC, x, y, &old);
  return old;
}
BOOL CDC::LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
BOOL CDC::Polyline(const POINT* lpPoints, int nCount) { return ::Polyline(m_hDC, lpPoints, nCount); }
BOOL CDC::Polygon(const POINT* lpPoints, int nCount) { return ::Polygon(m_hDC, lpPoints, nCount); }
BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
BOOL CDC::Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
  return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
}
BOOL CDC::RoundRect(LPCRECT r, POINT point) {
  return RoundRect(r->left, r->top, r->right, r->bottom, point.x, point.y);
}
BOOL CDC::Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
BOOL CDC::Ellipse(LPCRECT r) { return Ellipse(r->left, r->top, r->right, r->bottom); }
COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }
BOOL CDC::DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) {
  return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
}
BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
  return ::BitBlt(m_hDC, x, y, nWidth, nHeight, HandleOf(pSrcDC), xSrc, ySrc, dwRop);
}
BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, DWORD dwRop) {
  return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, HandleOf(pSrcDC), xSrc, ySrc, nSrcWidth,
                      nSrcHeight, dwRop);
}
BOOL CDC::TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC,
                         int xSrc, int ySrc, int nSrcWidth, int nSrcHeight, UINT clrTransparent) {
  return ::TransparentBlt(m_hDC, xDest, yDest, nDestWidth, nDestHeight, HandleOf(pSrcDC), xSrc,
                          ySrc, nSrcWidth, nSrcHeight, clrTransparent);
}
BOOL CDC::AlphaBlend(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc,
                     int ySrc, int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend) {
  return ::AlphaBlend(m_hDC, xDest, yDest, nDestWidth, nDestHeight, HandleOf(pSrcDC), xSrc, ySrc,
                      nSrcWidth, nSrcHeight, blend);
}

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount) {
  return ::TextOutW(m_hDC, x, y, lpszString, nCount);
}
BOOL CDC::TextOut(int x, int y, const CString& str) {
  return TextOut(x, y, str.GetString(), str.GetLength());
}
int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
  return ::DrawTextW(m_hDC, lpszString, nCount, lpRect, nFormat);
}
int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
  return DrawText(str.GetString(), str.GetLength(), lpRect, nFormat);
}
CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
  SIZE size{};
  ::GetTextExtentPoint32W(m_hDC, lpszString, nCount, &size);
  return size;
}
CSize CDC::GetTextExtent(const CString& str) const { return GetTextExtent(str.GetString(), str.GetLength()); }
BOOL CDC::GetTextMetrics(LPTEXTMETRICW lpMetrics) const { return ::GetTextMetricsW(m_hDC, lpMetrics); }
UINT CDC::SetTextAlign(UINT nFlags) { return ::SetTextAlign(m_hDC, nFlags); }

// ---- The window DCs ------------------------------------------------------------------------

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->GetSafeHwnd() : nullptr) {
  m_hWndOwner = m_hWnd;
  Attach(::BeginPaint(m_hWnd, &m_ps));
}
CPaintDC::~CPaintDC() {
  Detach();
  ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->GetSafeHwnd() : nullptr) {
  m_hWndOwner = m_hWnd ? m_hWnd : ::GetDesktopWindow();
  Attach(::GetDC(m_hWnd));
}
CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->GetSafeHwnd() : nullptr) {
  m_hWndOwner = m_hWnd ? m_hWnd : ::GetDesktopWindow();
  Attach(::GetWindowDC(m_hWnd));
}
CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
