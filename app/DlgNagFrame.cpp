// CDlgNagFrame: the frame's defaults, button captions and its two ways of closing.
#include "DlgNagFrame.h"

#include "DlgParentTransculent.h"
#include "IniReader.h"

IMPLEMENT_DYNAMIC(CDlgNagFrame, CDlgBaseChildPopUpWndBase)

BEGIN_MESSAGE_MAP(CDlgNagFrame, CDlgBaseChildPopUpWndBase)
  ON_COMMAND(IDOK, &CDlgNagFrame::OnOK)
  ON_COMMAND(IDCANCEL, &CDlgNagFrame::OnCancel)
END_MESSAGE_MAP()

void SetOkCancelTexts(CWnd& dialog, LPCTSTR section) {
  for (const auto& [id, key] : {std::pair{IDOK, _T("IDOK")}, std::pair{IDCANCEL, _T("IDCANCEL")}})
    if (CWnd* button = dialog.GetDlgItem(id)) button->SetWindowText(GetLangString(key, section));
}

CDlgNagFrame::CDlgNagFrame(UINT nIDTemplate, CWnd* pParentWnd) : CDlgBaseChildPopUpWndBase(nIDTemplate, pParentWnd) {
  // The popup brings its own buttons; it is run over the backdrop unless told otherwise.
  m_bHasCloseButton = FALSE;
  m_bResizable = FALSE;
  m_bEmbedded = TRUE;
  m_bFrameBottomStrip = TRUE;
}

BOOL CDlgNagFrame::OnInitDialog() {
  CDlgBaseChildPopUpWndBase::OnInitDialog();
  SetControlTexts();
  return TRUE;
}

void CDlgNagFrame::OnSizeLayout(UINT nType, int cx, int cy) {
  CDlgBaseChildPopUpWndBase::OnSizeLayout(nType, cx, cy);
  if (GetSafeHwnd()) CenterWindow(AfxGetMainWnd());
}

void CDlgNagFrame::OnOK() {
  m_nResult = IDOK;
  if (m_bEmbedded)
    CloseParentDialog(this);
  else
    CDlgBaseChildPopUpWndBase::OnOK();
}

void CDlgNagFrame::OnCancel() {
  m_nResult = IDCANCEL;
  if (m_bEmbedded)
    CloseParentDialog(this);
  else
    CDlgBaseChildPopUpWndBase::OnCancel();
}
