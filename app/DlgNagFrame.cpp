// CDlgNagFrame: the frame's button captions.
#include "DlgNagFrame.h"

#include "IniReader.h"

IMPLEMENT_DYNAMIC(CDlgNagFrame, CDlgResultPopupBase)

void SetOkCancelTexts(CWnd& dialog, LPCTSTR section) {
  for (const auto& [id, key] : {std::pair{IDOK, _T("IDOK")}, std::pair{IDCANCEL, _T("IDCANCEL")}})
    if (CWnd* button = dialog.GetDlgItem(id)) button->SetWindowText(GetLangString(key, section));
}

BOOL CDlgNagFrame::OnInitDialog() {
  CDlgResultPopupBase::OnInitDialog();
  SetControlTexts();
  return TRUE;
}
