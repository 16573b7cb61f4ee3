// The launcher's left panel buttons (for an outside launcher program): the panel slice
// behind the button, a backdrop while hovered or highlighted and an engraved caption.
#pragma once
#include "HyperLinkBtn.h"

class ZXHELPER_API CLauncherLeftSideBtns : public CHyperLinkBtn {
  DECLARE_DYNAMIC(CLauncherLeftSideBtns)

 public:
  CLauncherLeftSideBtns();
  ~CLauncherLeftSideBtns() override;

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
};
