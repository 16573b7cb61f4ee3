// CDlgWizardFinishPage: what the backup and restore wizards' last pages share: counts shown to
// the right of their labels and coloured by the outcome, and Back to the wizard's first page.
#pragma once
#include <span>

#include "DlgLeftSideChild.h"
#include "HoverButtonWithText.h"
#include "WizardOwner.h"

class CDlgWizardFinishPage : public CDlgLeftSideChild {
  DECLARE_DYNAMIC(CDlgWizardFinishPage)

 public:
  // One count of the page: where its label is drawn and the control that shows the number.
  struct CountField {
    RECT label;
    UINT id;
  };

  // Reads the outcome from the main window's values into the page (also each time it is shown).
  virtual void ShowOutcome() = 0;

 protected:
  CDlgWizardFinishPage(UINT nTemplateId, CWizardOwner& owner, CWnd* pParent);

  // Enter, Escape, Space and F4 do nothing on the page.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void OnOK() override {}
  void OnCancel() override {}

  // Places the Back button (caption `backKey` of `section`) and each count right of its label.
  void PlaceControls(UINT backId, LPCTSTR section, LPCTSTR backKey, std::span<const CountField> fields);
  // The text of that id filled with the number (a negative one shown as 0).
  static CString CountText(LPCTSTR id, int count);
  // The colour of a count's text, or CLR_INVALID to leave it as the page draws it.
  virtual COLORREF CountColour(UINT id) const = 0;
  // Shows the wizard's first page.
  virtual void ShowFirstPage() = 0;

  afx_msg void OnBack();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

  CHoverButtonWithText m_btnBack;

  DECLARE_MESSAGE_MAP()

 private:
  CWizardOwner& m_wizardOwner;
};
