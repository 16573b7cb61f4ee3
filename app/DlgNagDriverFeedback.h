// CDlgNagDriverFeedback: the driver feedback form of the results page. The user gives an
// e-mail address, a feedback type and a text; the form builds the feedback document with the
// machine's information and the devices of the last scan request, and an upload worker sends
// it enciphered to the web service. The worker only posts its outcome to the form's window: on
// success the form thanks the user and closes, on failure it says so and stays open with
// everything the user typed.
#pragma once
#include <afxwin.h>

#include "DlgBaseWndPopupNagBase.h"
#include "HoverButtonWithText.h"

class CDlgNagDriverFeedback : public CDlgBaseWndPopupNagBase {
 public:
  static constexpr UINT kTemplateId = 5288;
  // Posted by the upload worker to the form: wParam 1 when the service took the document.
  static constexpr UINT kUploadDoneMessage = WM_APP + 0x113;

  // scanRequest: the last scan request's text (empty before any scan); pBusyFlag: the
  // program's busy flag, set while the form shows (may be null).
  CDlgNagDriverFeedback(CWnd* pParentWnd, const CString& scanRequest, BOOL* pBusyFlag);

  // -1 no e-mail address, -5 an address without "@" inside it, -2 no feedback type, 0 no text,
  // 1 built (GetFeedbackXml answers it).
  int BuildFeedbackDocument();
  const CString& GetFeedbackXml() const { return m_strXml; }
  const CString& GetStatusText() const { return m_strStatus; }

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void OnSizeLayout(UINT nType, int cx, int cy) override;

 protected:
  void OnOK() override;
  void OnCancel() override;

  afx_msg void OnSubmit();
  afx_msg void OnPreview();
  afx_msg void OnLeaveOutDevices();
  afx_msg void OnCancelButton();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg LRESULT OnUploadDone(WPARAM wParam, LPARAM lParam);

  void Layout();
  // Shows the check's message for a failed build; TRUE when the document was built.
  BOOL ReportBuildResult(int nResult);
  void EnableForm(BOOL bEnable);
  void SetStatus(const CString& text);

  CHoverButtonWithText m_btnSubmit;
  CHoverButtonWithText m_btnCancel;
  CHoverButtonWithText m_btnViewLog;
  CHoverButtonWithText m_btnPreview;
  CButton m_radFixed;
  CButton m_radStillProblem;
  CButton m_chkLeaveOutDevices;
  CStatic m_stInfo;
  CStatic m_stEmail;
  CStatic m_stType;
  CEdit m_edtEmail;
  CComboBox m_cboType;
  CEdit m_edtText;
  CMapStringToString m_mapTypes;
  CString m_strScanRequest;
  BOOL* m_pBusyFlag;
  BOOL m_bLeaveOutDevices = FALSE;
  CString m_strXml;
  CString m_strStatus;
  CRect m_rcStatus;

  DECLARE_MESSAGE_MAP()
};
