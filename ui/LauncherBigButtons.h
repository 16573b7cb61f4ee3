// The launcher's big buttons (for an outside launcher program): a backdrop while hovered or
// highlighted, a 64 x 64 icon, a title and a line of description.
#pragma once
#include "GdiPlusBitmapResource.h"
#include "HyperLinkBtn.h"

class ZXHELPER_API CLauncherBigButtons : public CHyperLinkBtn {
  DECLARE_DYNAMIC(CLauncherBigButtons)

 public:
  CLauncherBigButtons();
  ~CLauncherBigButtons() override;

  // The icon, a "PNG" of the language resource library; whether it loaded.
  BOOL SetIconPng(UINT nID);
  void SetDescription(LPCTSTR lpszText) { m_strDescription = lpszText ? lpszText : u""; }

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 protected:
  // Draws the caption, then the description below it.
  void DrawTexts(CDC* pDC, const CRect& title, const CRect& description);

  CGdiPlusBitmapResource m_icon;
  CString m_strDescription;
};
