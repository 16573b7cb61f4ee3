// BCMenuData: the record the owner-drawn menu keeps for each of its items (its text, image
// index, flags and command id); the item's data in the window system points to it.
#pragma once
#include "HelperApi.h"
#include "afxwin.h"

class ZXHELPER_API BCMenuData {
 public:
  BCMenuData() = default;
  ~BCMenuData() { delete[] m_szMenuText; }
  BCMenuData(const BCMenuData&) = delete;
  BCMenuData& operator=(const BCMenuData&) = delete;

  // Replaces the text with a copy (null: empty).
  void SetWideString(LPCWSTR text);
  LPCWSTR GetWideString() const { return m_szMenuText ? m_szMenuText : u""; }

  WCHAR* m_szMenuText = nullptr;
  int xoffset = -1;
  int global_offset = -1;
  int menuIconNormal = -1;  // the image's index in the shared image list
  UINT nFlags = 0;          // MF_* of the item (MF_SEPARATOR, MF_POPUP, MF_CHECKED ...)
  UINT nID = 0;
  UINT syncflag = 0;
  UINT nType = 0;           // MFT_RADIOCHECK for a radio item
  DWORD_PTR pContext = 0;
};
