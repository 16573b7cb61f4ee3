// CDlgNagFrame: the main program's framed popup base: the shared result popup with its OK and
// Cancel buttons captioned from the language section "IDD_DLGNAGFRAME". Run over the backdrop
// it ends the backdrop's run as it closes; kept open without a modal loop (a hidden child of
// the main window) it only hides.
#pragma once
#include "DlgResultPopupBase.h"

// Captions the dialog's IDOK and IDCANCEL buttons with the keys "IDOK" and "IDCANCEL" of the
// section; a button the dialog lacks is left alone.
void SetOkCancelTexts(CWnd& dialog, LPCTSTR section);

class CDlgNagFrame : public CDlgResultPopupBase {
  DECLARE_DYNAMIC(CDlgNagFrame)

 public:
  static constexpr LPCTSTR kSection = _T("IDD_DLGNAGFRAME");

  using CDlgResultPopupBase::CDlgResultPopupBase;

  // Before creation: FALSE for a popup kept open as a child window rather than run over the
  // backdrop.
  void SetEmbedded(BOOL bEmbedded) { m_bEmbedded = bEmbedded ? TRUE : FALSE; }
  // The captions of the frame's buttons.
  void SetControlTexts() { SetOkCancelTexts(*this, kSection); }

  BOOL OnInitDialog() override;
};
