// CDlgResultPopupBase: the popup's defaults, its place over the main window and its close.
#include "DlgResultPopupBase.h"

#include "DlgParentTransculent.h"

IMPLEMENT_DYNAMIC(CDlgResultPopupBase, CDlgBaseChildPopUpWndBase)

BEGIN_MESSAGE_MAP(CDlgResultPopupBase, CDlgBaseChildPopUpWndBase)
  ON_COMMAND(IDOK, &CDlgResultPopupBase::OnOK)
  ON_COMMAND(IDCANCEL, &CDlgResultPopupBase::OnCancel)
END_MESSAGE_MAP()

CDlgResultPopupBase::CDlgResultPopupBase() { ApplyPopupDefaults(); }

CDlgResultPopupBase::CDlgResultPopupBase(UINT nIDTemplate, CWnd* pParentWnd)
    : CDlgBaseChildPopUpWndBase(nIDTemplate, pParentWnd) {
  ApplyPopupDefaults();
}

void CDlgResultPopupBase::ApplyPopupDefaults() {
  // The popup brings its own buttons; it is run over the backdrop unless told otherwise.
  m_bHasCloseButton = FALSE;
  m_bResizable = FALSE;
  m_nBackdropKind = 0;
  m_bEmbedded = TRUE;
  m_bFrameBottomStrip = TRUE;
}

BOOL CDlgResultPopupBase::OnInitDialog() {
  const BOOL result = CDlgBaseChildPopUpWndBase::OnInitDialog();
  // The layout the size message brings comes after the popup is shown; it is shown where that
  // layout puts it, over the middle of the main window, not first at the corner its shape
  // was given at.
  CenterWindow(AfxGetMainWnd());
  return result;
}

void CDlgResultPopupBase::OnSizeLayout(UINT nType, int cx, int cy) {
  CDlgBaseChildPopUpWndBase::OnSizeLayout(nType, cx, cy);
  if (GetSafeHwnd()) CenterWindow(AfxGetMainWnd());
}

void CDlgResultPopupBase::Close(int nResult) {
  m_nResult = nResult;
  if (m_bEmbedded)
    CloseParentDialog(this);
  else if (nResult == IDOK)
    CDlgBaseChildPopUpWndBase::OnOK();
  else
    CDlgBaseChildPopUpWndBase::OnCancel();
}
