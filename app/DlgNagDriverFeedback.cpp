// CDlgNagDriverFeedback: the form's controls and layout, its checks in the order the user is
// told about them, and the upload worker, which reports only by posting to the form's window.
#include "DlgNagDriverFeedback.h"

#include <iterator>
#include <memory>

#include "DlgBaseMessageBoxWndBase.h"
#include "DlgBaseShared.h"
#include "DlgParentTransculent.h"
#include "DriverFeedbackReport.h"
#include "ExchangeEncoding.h"
#include "IniReader.h"

BEGIN_MESSAGE_MAP(CDlgNagDriverFeedback, CDlgBaseWndPopupNagBase)
  ON_BN_CLICKED(IDOK, &CDlgNagDriverFeedback::OnSubmit)
  ON_BN_CLICKED(5300, &CDlgNagDriverFeedback::OnPreview)
  ON_BN_CLICKED(5301, &CDlgNagDriverFeedback::OnLeaveOutDevices)
  ON_COMMAND(IDCANCEL, &CDlgNagDriverFeedback::OnCancelButton)
  ON_WM_SHOWWINDOW()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_TIMER()
  ON_MESSAGE(CDlgNagDriverFeedback::kUploadDoneMessage, &CDlgNagDriverFeedback::OnUploadDone)
END_MESSAGE_MAP()

namespace {

constexpr UINT kPreview = 5300;
constexpr UINT kLeaveOutDevices = 5301;
constexpr UINT kViewLog = 5302;
constexpr UINT kRadioFixed = 5303;
constexpr UINT kRadioStillProblem = 5304;
constexpr UINT kEmail = 5305;
constexpr UINT kType = 5306;
constexpr UINT kText = 5307;
constexpr UINT kInfoLabel = 5308;
constexpr UINT kEmailLabel = 5309;
constexpr UINT kTypeLabel = 5310;
constexpr UINT_PTR kUploadTimer = 201085;
constexpr UINT_PTR kCloseTimer = 208083;
constexpr UINT kTimerMs = 64;
constexpr LPCTSTR kTypeIds[] = {_T("IDS_SELECPRB_TYPE"),  _T("IDS_PRB_DOWNLOAD"),        _T("IDS_PRB_INSTALLING"),
                                _T("IDS_UNDERSTAND_PRB"), _T("IDS_DRIVERUPDATE_SUCCES"), _T("IDS_GENERAL_FEEDBACK")};

CString Lang(LPCTSTR id) { return GetLangString(id, _T("Tunevo")); }
CString Caption(LPCTSTR id) { return GetLangString(id, _T("IDD_NAG_FEEDBACK")); }

// What the upload worker owns: the form's window to report to and its own copy of the text.
struct UploadJob {
  HWND form;
  CString xml;
};

UINT FeedbackUploadThread(LPVOID parameter) {
  std::unique_ptr<UploadJob> job(static_cast<UploadJob*>(parameter));
  int uploaded = 0;
  job->xml.Trim();
  CString encoded;
  if (!job->xml.IsEmpty() && getInputHexFromStr(job->xml, encoded)) uploaded = UploadFeedbackDocument(encoded, TRUE, 0);
  // A form closed meanwhile has no window left to take the outcome.
  ::PostMessageW(job->form, CDlgNagDriverFeedback::kUploadDoneMessage, uploaded ? 1 : 0, 0);
  return uploaded ? 1 : 0;
}

}  // namespace

CDlgNagDriverFeedback::CDlgNagDriverFeedback(CWnd* pParentWnd, const CString& scanRequest, BOOL* pBusyFlag)
    : CDlgBaseWndPopupNagBase(kTemplateId, pParentWnd), m_strScanRequest(scanRequest), m_pBusyFlag(pBusyFlag) {
  SetShape(TRUE, 560, 430);
}

BOOL CDlgNagDriverFeedback::OnInitDialog() {
  CDlgBaseWndPopupNagBase::OnInitDialog();
  m_btnSubmit.SubclassDlgItem(IDOK, this);
  m_btnCancel.SubclassDlgItem(IDCANCEL, this);
  m_btnViewLog.SubclassDlgItem(kViewLog, this);
  m_btnPreview.SubclassDlgItem(kPreview, this);
  m_radFixed.SubclassDlgItem(kRadioFixed, this);
  m_radStillProblem.SubclassDlgItem(kRadioStillProblem, this);
  m_chkLeaveOutDevices.SubclassDlgItem(kLeaveOutDevices, this);
  m_stInfo.SubclassDlgItem(kInfoLabel, this);
  m_stEmail.SubclassDlgItem(kEmailLabel, this);
  m_stType.SubclassDlgItem(kTypeLabel, this);
  m_edtEmail.SubclassDlgItem(kEmail, this);
  m_cboType.SubclassDlgItem(kType, this);
  m_edtText.SubclassDlgItem(kText, this);

  m_btnSubmit.SetWindowText(Lang(_T("IDS_SUBMIT")));
  m_btnCancel.SetWindowText(Lang(_T("IDS_CANCLE")));
  m_btnViewLog.SetWindowText(Lang(_T("IDS_VIEWATTACH_LOG")));
  m_btnPreview.SetWindowText(Lang(_T("IDS_PREVIEW_FEEDBACK")));
  m_radFixed.SetWindowText(Lang(_T("IDS_YES")));
  m_radStillProblem.SetWindowText(Lang(_T("IDS_NO")));
  m_stInfo.SetWindowText(Caption(_T("IDC_ST_FEEDBACK_INFO__KX")));
  m_stEmail.SetWindowText(Caption(_T("IDC_ST_EMAIL_KX")));
  m_stType.SetWindowText(Caption(_T("IDC_ST_FEEDBACK_TYPE_KX")));
  CHoverButtonWithText::SetStyle(m_btnSubmit, TRUE, TRUE, TRUE);
  for (CHoverButtonWithText* button : {&m_btnCancel, &m_btnPreview, &m_btnViewLog})
    CHoverButtonWithText::SetStyle(*button, TRUE, FALSE, TRUE);
  // What the attached log would show is not decided; the button stays out of sight.
  m_btnViewLog.ShowWindow(SW_HIDE);

  m_mapTypes.RemoveAll();
  m_cboType.ResetContent();
  for (int i = 0; i < static_cast<int>(std::size(kTypeIds)); ++i) {
    CString key;
    key.Format(_T("%d"), i);
    m_mapTypes.SetAt(key, Lang(kTypeIds[i]));
    m_cboType.InsertString(i, Lang(kTypeIds[i]));
  }
  m_cboType.SetCurSel(0);
  m_edtEmail.SetLimitText(400);
  m_edtText.SetLimitText(1000);

  if (m_toolTip.GetSafeHwnd()) {
    m_toolTip.AddTool(&m_edtEmail, Lang(_T("IDS_FEEDBACK_TOOLTIP1")));
    m_toolTip.AddTool(&m_cboType, Lang(_T("IDS_FEEDBACK_TOOLTIP2")));
    m_toolTip.AddTool(&m_edtText, Lang(_T("IDS_FEEDBACK_TOOLTIP3")));
  }

  CenterWindow(AfxGetMainWnd());
  Layout();
  return TRUE;
}

void CDlgNagDriverFeedback::OnSizeLayout(UINT nType, int cx, int cy) {
  CDlgBaseWndPopupNagBase::OnSizeLayout(nType, cx, cy);
  if (m_edtEmail.GetSafeHwnd()) Layout();
}

void CDlgNagDriverFeedback::Layout() {
  CRect client;
  GetClientRect(&client);
  const int W = client.Width();
  const int H = client.Height();
  m_edtEmail.MoveWindow(187, 159, W - 290, 20);
  m_cboType.MoveWindow(187, 191, W - 290, 20);
  m_edtText.MoveWindow(22, 260, W - 44, 71);
  m_stEmail.MoveWindow(22, 162, 160, 16);
  m_stType.MoveWindow(22, 194, 160, 16);
  m_stInfo.MoveWindow(22, 222, 250, 16);
  m_radFixed.MoveWindow(280, 222, 70, 16);
  m_radStillProblem.MoveWindow(360, 222, 70, 16);
  m_chkLeaveOutDevices.MoveWindow(22, 340, 15, 15);
  m_btnSubmit.MoveWindow(W - 138, H - 46, 120, 28);
  m_btnCancel.MoveWindow(W - 265, H - 46, 120, 28);
  m_btnPreview.MoveWindow(17, H - 46, 120, 28);
  m_btnViewLog.MoveWindow(144, H - 46, 120, 28);
  m_rcStatus.SetRect(150, H - 40, W - 275, H - 20);
}

BOOL CDlgNagDriverFeedback::PreTranslateMessage(MSG* pMsg) {
  if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) && pMsg->wParam == VK_F4) return TRUE;
  return CDlgBaseWndPopupNagBase::PreTranslateMessage(pMsg);
}

void CDlgNagDriverFeedback::OnShowWindow(BOOL bShow, UINT) {
  Default();
  if (m_pBusyFlag) *m_pBusyFlag = bShow;
  if (!bShow) return;
  m_radFixed.SetCheck(BST_CHECKED);
  m_radStillProblem.SetCheck(BST_UNCHECKED);
  m_edtEmail.SetWindowText(_T(""));
  m_edtText.SetWindowText(_T(""));
  m_cboType.SetCurSel(0);
  m_strXml.Empty();
  m_strStatus.Empty();
  EnableForm(TRUE);
}

void CDlgNagDriverFeedback::OnDestroy() {
  // A form that ends without being hidden first no longer keeps the program busy.
  if (m_pBusyFlag) *m_pBusyFlag = FALSE;
  CDlgBaseWndPopupNagBase::OnDestroy();
}

void CDlgNagDriverFeedback::EnableForm(BOOL bEnable) {
  EnableWindow(bEnable);
  for (CWnd* button : {static_cast<CWnd*>(&m_btnSubmit), static_cast<CWnd*>(&m_btnCancel),
                       static_cast<CWnd*>(&m_btnPreview)})
    button->EnableWindow(bEnable);
}

void CDlgNagDriverFeedback::SetStatus(const CString& text) {
  m_strStatus = text;
  InvalidateRect(&m_rcStatus, FALSE);
}

int CDlgNagDriverFeedback::BuildFeedbackDocument() {
  m_strXml.Empty();
  tagDriverFeedback feedback;
  m_edtEmail.GetWindowText(feedback.strEmail);
  if (feedback.strEmail.IsEmpty()) return -1;
  const int at = feedback.strEmail.Find(_T('@'), 1);
  if (at < 0 || feedback.strEmail.Right(1) == _T("@")) return -5;
  const int type = m_cboType.GetCurSel();
  if (type <= 0) return -2;
  CString key;
  key.Format(_T("%d"), type);
  m_mapTypes.Lookup(key, feedback.strType);
  m_edtText.GetWindowText(feedback.strContent);
  feedback.strContent.Trim();
  if (feedback.strContent.IsEmpty()) return 0;
  m_strXml = BuildDriverFeedbackXml(feedback, m_strScanRequest, m_bLeaveOutDevices);
  return 1;
}

BOOL CDlgNagDriverFeedback::ReportBuildResult(int nResult) {
  LPCTSTR message = nullptr;
  switch (nResult) {
    case 1: return TRUE;
    case -1: message = _T("IDS_IDEMAIL_NOTEMPTY"); break;
    case -5: message = _T("IDS_IDEMAIL_NOTEMPTY_VALID"); break;
    case -2: message = _T("IDS_FEEDBACK_TYPE"); break;
    default: message = _T("IDS_FEEDBACK_NOEMPTY"); break;
  }
  AppMessageBox(Lang(message), MB_ICONWARNING, this);
  return FALSE;
}

void CDlgNagDriverFeedback::OnSubmit() {
  if (!ReportBuildResult(BuildFeedbackDocument())) return;
  EnableForm(FALSE);
  SetStatus(Lang(_T("IDS_FEEBACK_UPLOAD_STATUS")));
  SetTimer(kUploadTimer, kTimerMs, nullptr);
}

void CDlgNagDriverFeedback::OnPreview() {
  if (ReportBuildResult(BuildFeedbackDocument())) AppMessageBox(m_strXml, MB_ICONINFORMATION, this);
}

void CDlgNagDriverFeedback::OnLeaveOutDevices() { m_bLeaveOutDevices = TRUE; }

void CDlgNagDriverFeedback::OnTimer(UINT_PTR nIDEvent) {
  KillTimer(nIDEvent);
  if (nIDEvent == kUploadTimer) {
    AfxBeginThread(FeedbackUploadThread, new UploadJob{m_hWnd, m_strXml});
  } else if (nIDEvent == kCloseTimer) {
    EndWithResult(IDOK);
  } else {
    Default();
  }
}

LRESULT CDlgNagDriverFeedback::OnUploadDone(WPARAM wParam, LPARAM) {
  if (wParam) {
    SetStatus(Lang(_T("IDS_FEEBACK_UPLOAD_SUCCESS")));
    AppMessageBox(Lang(_T("IDS_THANK_FEEDBACK")), MB_ICONINFORMATION, this);
    SetTimer(kCloseTimer, kTimerMs, nullptr);
  } else {
    // Told by the status text alone; nothing the user typed is lost: the form stays open to
    // try again.
    SetStatus(Lang(_T("IDS_FEBAK_UPLOADFAIL_CHKINTERNET")));
    EnableForm(TRUE);
  }
  return 0;
}

void CDlgNagDriverFeedback::OnOK() {
  if (IsEnterIgnored()) return;
  OnSubmit();
}

void CDlgNagDriverFeedback::OnCancel() {
  if (IsEscapeIgnored()) return;
  EndWithResult(IDCANCEL);
}

void CDlgNagDriverFeedback::OnCancelButton() { CloseParentDialog(this); }

void CDlgNagDriverFeedback::OnPaint() {
  PaintFramed(0x303030, [&](CDC& memory, const CRect& client) {
    const int W = client.Width();
    DrawWrapped(memory, Lang(_T("IDS_FEEDBAKNAG_DESC")), CRect(22, 48, W - 22, 72));
    ::SelectObject(memory.GetSafeHdc(), GetSharedDialogFont());
    memory.SetTextColor(0x5B5B5B);
    DrawWrapped(memory, Lang(_T("IDS_FEEDBACKNAG_DESC2")), CRect(22, 80, W - 22, 150));
    memory.SetTextColor(kDialogTextColour);
    DrawWrapped(memory, Lang(_T("IDS_BRIEF_EXPRE")), CRect(22, 242, W - 22, 258));
    DrawWrapped(memory, m_strStatus, m_rcStatus);
  });
}
