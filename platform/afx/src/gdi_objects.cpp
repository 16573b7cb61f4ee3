// CGdiObject and its kinds: owned handles, the per-thread maps of attached and temporary
// objects, and the Create... members over the GDI.
#include <algorithm>
#include <map>
#include <memory>
#include <utility>

#include "afxwin.h"

namespace {

constexpr std::size_t kPruneAt = 64;

// Set once the thread's maps are gone: objects that outlive them (statics of the main thread,
// destroyed after its thread-local maps) still delete their handles, without the maps.
thread_local bool t_mapsGone = false;

struct GdiMaps {
  GdiMaps() = default;
  GdiMaps(const GdiMaps&) = delete;
  GdiMaps& operator=(const GdiMaps&) = delete;
  ~GdiMaps() {
    Forget();
    t_mapsGone = true;
  }
  void Forget() {
    for (auto& [key, object] : temporary) object->m_hObject = nullptr;  // the handles stay
    temporary.clear();
  }
  // Temporary objects of handles that were deleted are forgotten as new ones come.
  void Prune() {
    if (temporary.size() < pruneAt) return;
    const DWORD lastError = ::GetLastError();  // asking about a dead handle sets it
    std::erase_if(temporary, [](const auto& entry) {
      if (::GetObjectType(entry.first.first)) return false;
      entry.second->m_hObject = nullptr;
      return true;
    });
    ::SetLastError(lastError);
    pruneAt = std::max(kPruneAt, temporary.size() * 2);
  }
  std::map<HGDIOBJ, CGdiObject*> permanent;
  std::map<std::pair<HGDIOBJ, const void*>, std::unique_ptr<CGdiObject>> temporary;  // by kind
  std::size_t pruneAt = kPruneAt;
};

GdiMaps& Maps() {
  thread_local GdiMaps maps;
  return maps;
}

// One address per kind of object, so that a handle asked for as two kinds gets two objects.
template <class Kind>
const void* KindTag() {
  static const char tag = 0;
  return &tag;
}

template <class Kind>
Kind* ObjectOf(HGDIOBJ handle) {
  if (!handle) return nullptr;
  GdiMaps& maps = Maps();
  if (const auto found = maps.permanent.find(handle); found != maps.permanent.end())
    return static_cast<Kind*>(found->second);
  const std::pair<HGDIOBJ, const void*> key{handle, KindTag<Kind>()};
  if (const auto found = maps.temporary.find(key); found != maps.temporary.end())
    return static_cast<Kind*>(found->second.get());
  maps.Prune();
  auto& slot = maps.temporary[key];
  slot = std::make_unique<Kind>();
  slot->m_hObject = handle;
  return static_cast<Kind*>(slot.get());
}

}  // namespace

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) { return ObjectOf<CGdiObject>(hObject); }
void CGdiObject::DeleteTempMap() { Maps().Forget(); }

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (!hObject) return FALSE;
  if (m_hObject) Detach();
  m_hObject = hObject;
  Maps().permanent[hObject] = this;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  const HGDIOBJ handle = m_hObject;
  if (handle && !t_mapsGone) {
    auto& permanent = Maps().permanent;
    const auto found = permanent.find(handle);
    if (found != permanent.end() && found->second == this) permanent.erase(found);
  }
  m_hObject = nullptr;
  return handle;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
  return ::GetObjectW(m_hObject, nCount, lpObject);
}

BOOL CGdiObject::CreateStockObject(int nIndex) { return Attach(::GetStockObject(nIndex)); }

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
  return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}
CPen* CPen::FromHandle(HPEN hPen) { return ObjectOf<CPen>(hPen); }

BOOL CBrush::CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
BOOL CBrush::CreateSysColorBrush(int nIndex) { return Attach(::CreateSolidBrush(::GetSysColor(nIndex))); }
CBrush* CBrush::FromHandle(HBRUSH hBrush) { return ObjectOf<CBrush>(hBrush); }

BOOL CFont::CreateFontIndirect(const LOGFONTW* lpLogFont) {
  return Attach(::CreateFontIndirectW(lpLogFont));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                       BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                       BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
                       BYTE nPitchAndFamily, LPCTSTR lpszFacename) {
  return Attach(::CreateFontW(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic,
                              bUnderline, cStrikeOut, nCharSet, nOutPrecision, nClipPrecision,
                              nQuality, nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC) {
  const int perInch = pDC ? pDC->GetDeviceCaps(LOGPIXELSY) : 96;
  LOGFONTW font{};
  font.lfHeight = -((nPointSize * perInch + 360) / 720);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  if (lpszFaceName) {
    for (int i = 0; i < LF_FACESIZE - 1 && lpszFaceName[i]; ++i) font.lfFaceName[i] = lpszFaceName[i];
  }
  return CreateFontIndirect(&font);
}

int CFont::GetLogFont(LOGFONTW* pLogFont) const {
  return ::GetObjectW(m_hObject, sizeof(LOGFONTW), pLogFont);
}
CFont* CFont::FromHandle(HFONT hFont) { return ObjectOf<CFont>(hFont); }

BOOL CBitmap::LoadBitmap(UINT nIDResource) {
  return Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource)));
}
BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName) {
  return Attach(::LoadBitmapW(AfxGetResourceHandle(), lpszResourceName));
}
BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
  return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}
BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
  return Attach(::CreateCompatibleBitmap(pDC ? pDC->GetSafeHdc() : nullptr, nWidth, nHeight));
}
int CBitmap::GetBitmap(BITMAP* pBitMap) const { return ::GetObjectW(m_hObject, sizeof(BITMAP), pBitMap); }
CSize CBitmap::GetBitmapDimension() const {
  BITMAP info{};
  return GetBitmap(&info) ? CSize(info.bmWidth, info.bmHeight) : CSize();
}
CBitmap* CBitmap::FromHandle(HBITMAP hBitmap) { return ObjectOf<CBitmap>(hBitmap); }

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }
BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) { return Attach(::CreateRectRgnIndirect(lpRect)); }
BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
  return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}
BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2) {
  return Attach(::CreateEllipticRgn(x1, y1, x2, y2));
}
int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) {
  return ::CombineRgn(*this, pRgn1 ? static_cast<HRGN>(*pRgn1) : nullptr,
                      pRgn2 ? static_cast<HRGN>(*pRgn2) : nullptr, nCombineMode);
}
int CRgn::CopyRgn(const CRgn* pRgnSrc) { return CombineRgn(pRgnSrc, nullptr, RGN_COPY); }
BOOL CRgn::PtInRegion(int x, int y) const { return ::PtInRegion(*this, x, y); }
int CRgn::GetRgnBox(LPRECT lpRect) const { return ::GetRgnBox(*this, lpRect); }
int CRgn::OffsetRgn(int x, int y) { return ::OffsetRgn(*this, x, y); }
CRgn* CRgn::FromHandle(HRGN hRgn) { return ObjectOf<CRgn>(hRgn); }
