// CDlgSetting1General: the settings group's first page, with the automatic-scan and
// start-at-log-on boxes. Nothing is stored until Apply or Defaults is pressed.
#pragma once
#include "CTransparentCheckRadio.h"
#include "DlgLeftSideChild.h"
#include "HoverButtonWithText.h"

class CDlgSetting1General : public CDlgLeftSideChild {
  DECLARE_DYNAMIC(CDlgSetting1General)

 public:
  static constexpr UINT kTemplateId = 5180;
  static constexpr UINT kAutoScanId = 5256;
  static constexpr UINT kApplyId = 5257;
  static constexpr UINT kRunAtStartUpId = 5259;
  static constexpr UINT kDefaultsId = 5261;

  explicit CDlgSetting1General(CWnd* pParent = nullptr);
  ~CDlgSetting1General() override;

  // Apply is enabled while a box differs from its stored value; Defaults is disabled exactly
  // when the stored values and the boxes all are the defaults. The main window calls it when
  // it shows the settings group.
  void UpdateApplyButton();

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void OnOK() override {}
  void OnCancel() override {}
  void PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) override;

  afx_msg void OnApply();
  afx_msg void OnDefaults();
  afx_msg void OnBoxClicked();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);

 private:
  void ReadStored();
  BOOL BoxChecked(const CTransparentCheckRadio& box) const;

  CTransparentCheckRadio m_chkAutoScan;
  CTransparentCheckRadio m_chkRunAtStartUp;
  CHoverButtonWithText m_btnApply;
  CHoverButtonWithText m_btnDefaults;
  int m_nStoredAutoScan = 0;
  int m_nStoredRunAtStartUp = 1;

  DECLARE_MESSAGE_MAP()
};
