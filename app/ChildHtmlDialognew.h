// CChildHtmlDialognew: the main program's HTML dialog base. It behaves as the shared HTML
// dialog base: a fixed page surface without browser keys, selection, dragging, context menu or
// drops, on white, closed by its "ButtonOK" and "ButtonCancel" elements.
#pragma once
#include "ChildHtmlDialog.h"

class CChildHtmlDialognew : public CChildHtmlDialog {
 public:
  CChildHtmlDialognew(UINT nIDTemplate, UINT nHtmlResID, CWnd* pParentWnd);
  ~CChildHtmlDialognew() override;
};
