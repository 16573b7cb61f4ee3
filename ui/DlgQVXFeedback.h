// CDlgQVXFeedback: the feedback form of the shared library. The user gives an e-mail address,
// a feedback type and a message, may tick the maker's tools they use and allow publication;
// the form builds an XML document with system, memory, drive and version information, and an
// upload worker sends it enciphered to the web service. The worker only posts its outcome: on
// success the form thanks the user and closes, on failure it says so and stays open with
// everything the user typed. ShowFeedbackDialog runs it over the translucent backdrop.
#pragma once
#include <afxcmn.h>

#include "DlgBaseWndPopupNagBase.h"
#include "FancyListCtrl.h"
#include "HoverButtonWithText.h"

class ZXHELPER_API CDlgQVXFeedback : public CDlgBaseWndPopupNagBase {
  DECLARE_DYNAMIC(CDlgQVXFeedback)

 public:
  static constexpr UINT kTemplateId = 1265;
  // Posted by the upload worker to the form: wParam 1 when the service took the document.
  static constexpr UINT kUploadDoneMessage = WM_APP + 0x114;

  explicit CDlgQVXFeedback(CWnd* pParentWnd);

  // Builds the document from what the form holds: -1 the address is not valid, 0 the message
  // is empty, 1 built (GetFeedbackXml answers it).
  int BuildFeedback();
  const CString& GetFeedbackXml() const { return m_strXml; }
  const CString& GetStatusText() const { return m_strStatus; }
  const CString& GetHeadingText() const { return m_strHeading; }

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void OnSizeLayout(UINT nType, int cx, int cy) override;

 protected:
  void OnOK() override;
  void OnCancel() override;

  afx_msg void OnSubmit();
  afx_msg void OnPreview();
  afx_msg void OnAllowPublication();
  afx_msg void OnCancelButton();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg LRESULT OnUploadDone(WPARAM wParam, LPARAM lParam);

  void Layout();
  void InsertTools();
  // Shows the validation message of a build's result; TRUE when the build succeeded.
  BOOL ReportBuildResult(int nResult);
  void EnableForm(BOOL bEnable);
  void SetStatus(const CString& text);

  CHoverButtonWithText m_btnViewReport;
  CHoverButtonWithText m_btnSubmit;
  CHoverButtonWithText m_btnViewLog;
  CHoverButtonWithText m_btnCancel;
  CButton m_chkAllowPublication;
  CStatic m_stEmail;
  CStatic m_stFeedbackType;
  CEdit m_edtEmail;
  CComboBox m_cboFeedbackType;
  CRichEditCtrl m_edtMessage;
  CFancyListCtrl m_lstTools;
  CImageList m_imgTools;
  // Its own tooltips, relayed every message the form does not keep for itself.
  CToolTipCtrl m_ctlToolTip;
  BYTE m_bPreview = FALSE;
  CString m_strStatus;
  CRect m_rcStatus;
  CString m_strXml;
  CMapStringToString m_mapFeedbackTypes;
  BYTE m_bAllowPublication = FALSE;
  CRect m_rcCheckMark;
  CString m_strHeading;
  CString m_strShareExperience;
  CString m_strFavouriteTools;
  CString m_strShareExperience2;
  CString m_strPublishReview;

  DECLARE_MESSAGE_MAP()
};

// Runs the feedback form over the parent window.
ZXHELPER_API void ShowFeedbackDialog(CWnd* pParent);
