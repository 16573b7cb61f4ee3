// The launcher's program buttons (for an outside launcher program): a backdrop for each
// state, the program's icon and its engraved name.
#pragma once
#include "GdiPlusBitmapResource.h"
#include "HyperLinkBtn.h"

class ZXHELPER_API CLauncherProgBtns : public CHyperLinkBtn {
  DECLARE_DYNAMIC(CLauncherProgBtns)

 public:
  CLauncherProgBtns();
  ~CLauncherProgBtns() override;

  // The icon, a "PNG" of the language resource library; whether it loaded.
  BOOL SetIconPng(UINT nID);

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 private:
  CGdiPlusBitmapResource m_icon;
};
