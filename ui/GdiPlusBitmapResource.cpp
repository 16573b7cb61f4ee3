// CGdiPlusBitmapResource: copies a resource's bytes into a movable global block and has
// GDI+ read the image from a stream over it; the block lives as long as the bitmap.
#include "GdiPlusBitmapResource.h"

#include <objidl.h>
#include <winglobal.h>
#include <winresource.h>

#include <cstring>

CGdiPlusBitmapResource::CGdiPlusBitmapResource(LPCWSTR pName, LPCWSTR pType, HMODULE hInst) {
  Load(pName, pType, hInst);
}

CGdiPlusBitmapResource::CGdiPlusBitmapResource(UINT id, LPCWSTR pType, HMODULE hInst) {
  Load(id, pType, hInst);
}

CGdiPlusBitmapResource::CGdiPlusBitmapResource(UINT id, UINT type, HMODULE hInst) {
  Load(id, type, hInst);
}

CGdiPlusBitmapResource::~CGdiPlusBitmapResource() { CGdiPlusBitmapResource::Empty(); }

void CGdiPlusBitmapResource::Empty() {
  CGdiPlusBitmap::Empty();
  if (m_hBuffer) {
    ::GlobalUnlock(m_hBuffer);
    ::GlobalFree(m_hBuffer);
    m_hBuffer = nullptr;
  }
}

BOOL CGdiPlusBitmapResource::Load(UINT id, LPCWSTR pType, HMODULE hInst) {
  return Load(MAKEINTRESOURCEW(id), pType, hInst);
}

BOOL CGdiPlusBitmapResource::Load(UINT id, UINT type, HMODULE hInst) {
  return Load(MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type), hInst);
}

BOOL CGdiPlusBitmapResource::Load(LPCWSTR pName, LPCWSTR pType, HMODULE hInst) {
  Empty();
  const HRSRC hResource = ::FindResourceW(hInst, pName, pType);
  if (hResource == nullptr) return FALSE;
  const DWORD size = ::SizeofResource(hInst, hResource);
  if (size == 0) return FALSE;
  const HGLOBAL hLoaded = ::LoadResource(hInst, hResource);
  const void* pBytes = hLoaded ? ::LockResource(hLoaded) : nullptr;
  if (pBytes == nullptr) return FALSE;

  m_hBuffer = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (m_hBuffer == nullptr) return FALSE;
  void* pCopy = ::GlobalLock(m_hBuffer);
  if (pCopy == nullptr) {
    ::GlobalFree(m_hBuffer);
    m_hBuffer = nullptr;
    return FALSE;
  }
  std::memcpy(pCopy, pBytes, size);

  IStream* pStream = nullptr;
  if (SUCCEEDED(::CreateStreamOnHGlobal(m_hBuffer, FALSE, &pStream)) && pStream) {
    m_pBitmap = Gdiplus::Bitmap::FromStream(pStream);
    pStream->Release();
  }
  if (m_pBitmap && m_pBitmap->GetLastStatus() == Gdiplus::Ok) return TRUE;
  Empty();
  return FALSE;
}
