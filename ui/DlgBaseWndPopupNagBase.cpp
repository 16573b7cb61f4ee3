// CDlgBaseWndPopupNagBase: results and the end of the backdrop run.
#include "DlgBaseWndPopupNagBase.h"

#include "DlgParentTransculent.h"

IMPLEMENT_DYNAMIC(CDlgBaseWndPopupNagBase, CDlgBaseChildPopUpWndBase)

BEGIN_MESSAGE_MAP(CDlgBaseWndPopupNagBase, CDlgBaseChildPopUpWndBase)
  ON_COMMAND(IDOK, &CDlgBaseWndPopupNagBase::OnOK)
  ON_COMMAND(IDCANCEL, &CDlgBaseWndPopupNagBase::OnCancel)
END_MESSAGE_MAP()

CDlgBaseWndPopupNagBase::CDlgBaseWndPopupNagBase() { ApplyNagDefaults(); }

CDlgBaseWndPopupNagBase::CDlgBaseWndPopupNagBase(UINT nIDTemplate, CWnd* pParentWnd)
    : CDlgBaseChildPopUpWndBase(nIDTemplate, pParentWnd) {
  ApplyNagDefaults();
}

void CDlgBaseWndPopupNagBase::ApplyNagDefaults() {
  m_bHasCloseButton = FALSE;
  m_bResizable = FALSE;
  m_nBackdropKind = 0;
  m_bEmbedded = TRUE;
  m_bFrameBottomStrip = TRUE;
}

BOOL CDlgBaseWndPopupNagBase::OnInitDialog() {
  const BOOL result = CDlgBaseChildPopUpWndBase::OnInitDialog();
  // The layout the size message brings comes after the popup is shown; it is shown where that
  // layout puts it, over the middle of the main window, not first at the corner its shape
  // was given at.
  CenterWindow(AfxGetMainWnd());
  return result;
}

void CDlgBaseWndPopupNagBase::OnSizeLayout(UINT nType, int cx, int cy) {
  CDlgBaseChildPopUpWndBase::OnSizeLayout(nType, cx, cy);
  if (GetSafeHwnd()) CenterWindow(AfxGetMainWnd());
}

void CDlgBaseWndPopupNagBase::EndWithResult(int nResult) {
  m_nResult = nResult;
  CloseParentDialog(this);
}

void CDlgBaseWndPopupNagBase::OnOK() { EndWithResult(IDOK); }

void CDlgBaseWndPopupNagBase::OnCancel() { EndWithResult(IDCANCEL); }
