// CHVBitmap: a bitmap of the resource chain by id, with its size.
#pragma once
#include "HelperApi.h"
#include <afxwin.h>

class ZXHELPER_API CHVBitmap : public CBitmap {
 public:
  CHVBitmap() = default;
  explicit CHVBitmap(UINT nID);

  // Loads the bitmap into an object that holds none yet; whether it was attached.
  BOOL Load(UINT nID);
  int GetHeight() const { return m_nHeight; }
  int GetWidth() const { return m_nWidth; }

 private:
  int m_nHeight = 0;
  int m_nWidth = 0;
};
