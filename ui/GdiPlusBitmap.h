// CGdiPlusBitmap: owner of one GDI+ bitmap, read from a file.
#pragma once
#include "HelperApi.h"
#include <gdiplus.h>

class ZXHELPER_API CGdiPlusBitmap {
 public:
  CGdiPlusBitmap() = default;
  explicit CGdiPlusBitmap(LPCWSTR pFile);
  virtual ~CGdiPlusBitmap();
  CGdiPlusBitmap(const CGdiPlusBitmap&) = delete;
  CGdiPlusBitmap& operator=(const CGdiPlusBitmap&) = delete;

  virtual void Empty();
  // Empties, then reads the image; TRUE when GDI+ answers Ok.
  BOOL Load(LPCWSTR pFile);
  Gdiplus::Bitmap* GetBitmap() const { return m_pBitmap; }
  operator Gdiplus::Bitmap*() const { return m_pBitmap; }

 protected:
  Gdiplus::Bitmap* m_pBitmap = nullptr;
};
