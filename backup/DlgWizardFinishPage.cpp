// The wizards' last pages: their counts, their colours and Back.
#include "DlgWizardFinishPage.h"

#include "CheckedFormat.h"
#include "SettingsPageLayout.h"
#include "WizardKeys.h"

IMPLEMENT_DYNAMIC(CDlgWizardFinishPage, CDlgLeftSideChild)

BEGIN_MESSAGE_MAP(CDlgWizardFinishPage, CDlgLeftSideChild)
  ON_WM_SHOWWINDOW()
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CDlgWizardFinishPage::CDlgWizardFinishPage(UINT nTemplateId, CWizardOwner& owner, CWnd* pParent)
    : CDlgLeftSideChild(nTemplateId, pParent), m_wizardOwner(owner) {}

void CDlgWizardFinishPage::PlaceControls(UINT backId, LPCTSTR section, LPCTSTR backKey,
                                         std::span<const CountField> fields) {
  PlaceActionButton(*this, m_btnBack, backId, section, backKey, 141);
  for (const CountField& field : fields)
    GetDlgItem(field.id)->MoveWindow(field.label.right + 10, field.label.top, 250, 18);
}

CString CDlgWizardFinishPage::CountText(LPCTSTR id, int count) {
  CString text;
  FormatChecked(text, SettingsText(id), {count < 0 ? 0 : count});
  return text;
}

void CDlgWizardFinishPage::OnBack() {
  m_wizardOwner.EnableOnlyLeftButton(0);
  ShowFirstPage();
}

void CDlgWizardFinishPage::OnShowWindow(BOOL bShow, UINT nStatus) {
  CDlgLeftSideChild::OnShowWindow(bShow, nStatus);
  if (bShow) ShowOutcome();
}

HBRUSH CDlgWizardFinishPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH brush = CDlgLeftSideChild::OnCtlColor(pDC, pWnd, nCtlColor);
  const COLORREF colour = pWnd != nullptr ? CountColour(static_cast<UINT>(pWnd->GetDlgCtrlID())) : CLR_INVALID;
  if (colour != CLR_INVALID) pDC->SetTextColor(colour);
  return brush;
}

BOOL CDlgWizardFinishPage::PreTranslateMessage(MSG* pMsg) {
  return DispatchWizardKeyUnhandled(pMsg) ? FALSE : CDlgLeftSideChild::PreTranslateMessage(pMsg);
}
