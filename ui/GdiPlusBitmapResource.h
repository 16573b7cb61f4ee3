// CGdiPlusBitmapResource: a GDI+ bitmap read from a module's resource (a "PNG" as a rule)
// through a copy of its bytes that lives as long as the bitmap.
#pragma once
#include <winglobal.h>

#include "GdiPlusBitmap.h"

class ZXHELPER_API CGdiPlusBitmapResource : public CGdiPlusBitmap {
 public:
  CGdiPlusBitmapResource() = default;
  CGdiPlusBitmapResource(LPCWSTR pName, LPCWSTR pType, HMODULE hInst);
  CGdiPlusBitmapResource(UINT id, LPCWSTR pType, HMODULE hInst);
  CGdiPlusBitmapResource(UINT id, UINT type, HMODULE hInst);
  ~CGdiPlusBitmapResource() override;

  void Empty() override;
  BOOL Load(LPCWSTR pName, LPCWSTR pType, HMODULE hInst);
  BOOL Load(UINT id, LPCWSTR pType, HMODULE hInst);
  BOOL Load(UINT id, UINT type, HMODULE hInst);

 protected:
  HGLOBAL m_hBuffer = nullptr;
};
