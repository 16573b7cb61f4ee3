// CDlgQVXFeedback: the form's controls and layout, its checks, the feedback document and the
// upload worker, which reports only by posting its outcome to the form's window.
#include "DlgQVXFeedback.h"

#include <sysinfoapi.h>

#include <memory>

#include "CheckedFormat.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DlgBaseShared.h"
#include "DlgParentTransculent.h"
#include "DrawingHelpers.h"
#include "HalvoranApp.h"
#include "IniReader.h"
#include "MachineId.h"
#include "Markup.h"
#include "ProcessControl.h"
#include "SystemReport.h"
#include "WebServiceClient.h"
#include "WebServiceHelper.h"

IMPLEMENT_DYNAMIC(CDlgQVXFeedback, CDlgBaseWndPopupNagBase)

BEGIN_MESSAGE_MAP(CDlgQVXFeedback, CDlgBaseWndPopupNagBase)
  ON_BN_CLICKED(1001, &CDlgQVXFeedback::OnSubmit)
  ON_BN_CLICKED(1213, &CDlgQVXFeedback::OnPreview)
  ON_BN_CLICKED(1215, &CDlgQVXFeedback::OnAllowPublication)
  ON_COMMAND(IDCANCEL, &CDlgQVXFeedback::OnCancelButton)
  ON_WM_SHOWWINDOW()
  ON_WM_PAINT()
  ON_WM_TIMER()
  ON_MESSAGE(CDlgQVXFeedback::kUploadDoneMessage, &CDlgQVXFeedback::OnUploadDone)
END_MESSAGE_MAP()

namespace {

constexpr UINT kSubmit = 1001;
constexpr UINT kViewReport = 1213;
constexpr UINT kViewLog = 1212;
constexpr UINT kAllowPublication = 1215;
constexpr UINT kEmailLabel = 1245;
constexpr UINT kTypeLabel = 1246;
constexpr UINT kEmail = 1223;
constexpr UINT kFeedbackType = 1216;
constexpr UINT kMessage = 1241;
constexpr UINT kTools = 1229;
constexpr UINT kToolPictures = 1039;
constexpr int kToolPictureSize = 24;
constexpr COLORREF kToolPictureMask = 0xFFFFFF;
constexpr UINT_PTR kUploadTimer = 2009081802;
constexpr UINT_PTR kCloseTimer = 2009081803;
constexpr UINT kTimerMs = 64;
constexpr int kFeedbackTypes = 6;
constexpr TCHAR kProductDisplayName[] = _T("Zephrin Tunevo");
const TCHAR kSection[] = _T("QVX");

// The maker's tools the form offers, by their fixed identifiers.
struct Tool {
  int id;
  int image;
  LPCTSTR name;
};
constexpr Tool kToolTable[] = {{8, 0, _T("Quellisk")}, {21, 1, _T("Morvath")}};

CString Lang(LPCTSTR id) { return GetLangString(id, kSection); }

CString Decimal(ULONGLONG value) {
  CString text;
  text.Format(_T("%llu"), value);
  return text;
}

void Child(CMarkup& document, LPCTSTR name, const CString& value) { document.AppendElement(name, value, true); }

// The version, memory and drives of the machine under "sys_info".
void AppendSystemInfo(CMarkup& document) {
  document.AppendElement(_T("sys_info"), nullptr, true);
  document.EnterElement();
  OSVERSIONINFOEXW version{};
  version.dwOSVersionInfoSize = sizeof version;
  ::GetVersionExW(reinterpret_cast<LPOSVERSIONINFOW>(&version));
  SYSTEM_INFO system{};
  ::GetNativeSystemInfo(&system);
  Child(document, _T("os_major_version"), Decimal(version.dwMajorVersion));
  Child(document, _T("os_minor_version"), Decimal(version.dwMinorVersion));
  Child(document, _T("os_product_type"), Decimal(version.wProductType));
  Child(document, _T("os_architecture_type"), Decimal(system.wProcessorArchitecture));
  Child(document, _T("service_pack_major_version"), Decimal(version.wServicePackMajor));
  Child(document, _T("service_pack_minor_version"), Decimal(version.wServicePackMinor));

  AppendMemoryInfo(document, true);
  AppendDriveInfo(document);
  document.LeaveElement();
}

// The version of the shared library beside the running program, named by the lower-cased
// program path.
CString HelperLibraryVersion() {
  CString folder = GetProgramFilePath();
  folder.MakeLower();
  const int slash = folder.ReverseFind(_T('\\'));
  if (slash >= 0) folder = folder.Left(slash);
  return GetFileVersionText(folder + _T("\\zephrinkxhelper.dll"));
}

// What the upload worker owns: the form's window to report to and its own copy of the text.
struct UploadJob {
  HWND form;
  CString xml;
};

UINT UploadThread(LPVOID parameter) {
  std::unique_ptr<UploadJob> job(static_cast<UploadJob*>(parameter));
  int uploaded = 0;
  job->xml.Trim();
  CWebServiceHelper helper;
  CString encoded;
  if (!job->xml.IsEmpty() && helper.EncipherTextToHex(job->xml, encoded)) {
    CString name;
    helper.BuildFeedbackFileName(name);
    uploaded = QVXUploadFeedback(encoded, name);
  }
  // A form that was closed meanwhile has no window left to take the outcome.
  ::PostMessageW(job->form, CDlgQVXFeedback::kUploadDoneMessage, uploaded ? 1 : 0, 0);
  return uploaded ? 1 : 0;
}

}  // namespace

CDlgQVXFeedback::CDlgQVXFeedback(CWnd* pParentWnd) : CDlgBaseWndPopupNagBase(kTemplateId, pParentWnd) {
  SetShape(TRUE, 743, 524);
}

BOOL CDlgQVXFeedback::OnInitDialog() {
  CDlgBaseWndPopupNagBase::OnInitDialog();
  m_btnViewReport.SubclassDlgItem(kViewReport, this);
  m_btnSubmit.SubclassDlgItem(kSubmit, this);
  m_btnViewLog.SubclassDlgItem(kViewLog, this);
  m_btnCancel.SubclassDlgItem(IDCANCEL, this);
  m_chkAllowPublication.SubclassDlgItem(kAllowPublication, this);
  m_stEmail.SubclassDlgItem(kEmailLabel, this);
  m_stFeedbackType.SubclassDlgItem(kTypeLabel, this);
  m_edtEmail.SubclassDlgItem(kEmail, this);
  m_cboFeedbackType.SubclassDlgItem(kFeedbackType, this);
  m_edtMessage.SubclassDlgItem(kMessage, this);
  m_lstTools.SubclassDlgItem(kTools, this);

  const TCHAR section[] = _T("IDD_QVX_FEEDBACK");
  m_btnSubmit.SetWindowText(GetLangString(_T("ID_BTN_SUBMIT_FEEDBACK"), section));
  m_btnViewReport.SetWindowText(GetLangString(_T("IDC_BTN_VIEW_REPORT"), section));
  m_btnCancel.SetWindowText(GetLangString(_T("IDCANCEL"), section));
  m_stEmail.SetWindowText(GetLangString(_T("IDC_ST_EMAIL"), section));
  m_stFeedbackType.SetWindowText(GetLangString(_T("IDC_ST_FEEDBACK_TYPE"), section));
  m_btnViewLog.SetWindowText(GetLangString(_T("IDC_BTN_VIEW_ATTACHED_LOG"), section));

  CenterWindow(AfxGetMainWnd());
  CRect client;
  GetClientRect(&client);
  const int W = client.Width();
  const int H = client.Height();
  m_btnSubmit.MoveWindow(W - 138, H - 46, 120, 28);
  m_btnSubmit.SetWindowText(Lang(_T("IDS_SUBMIT")));
  m_btnCancel.MoveWindow(W - 265, H - 46, 120, 28);
  m_btnCancel.SetWindowText(Lang(_T("IDS_CANCEL")));
  m_btnViewReport.MoveWindow(17, H - 46, 120, 28);
  m_btnViewReport.SetWindowText(Lang(_T("IDS_PREVIW_FEEDBACK")));
  m_btnViewLog.MoveWindow(144, H - 46, 120, 28);
  m_btnViewLog.SetWindowText(Lang(_T("IDS_VIEW_ATTACH_LOG")));
  CHoverButtonWithText::SetStyle(m_btnSubmit, TRUE, TRUE, TRUE);
  for (CHoverButtonWithText* button : {&m_btnCancel, &m_btnViewReport, &m_btnViewLog})
    CHoverButtonWithText::SetStyle(*button, TRUE, FALSE, TRUE);
  m_btnViewReport.ShowWindow(SW_HIDE);
  m_btnViewReport.EnableWindow(FALSE);
  m_btnViewLog.ShowWindow(SW_HIDE);

  m_mapFeedbackTypes.RemoveAll();
  m_cboFeedbackType.ResetContent();
  for (int i = 0; i < kFeedbackTypes; ++i) {
    CString key, id;
    key.Format(_T("%d"), i);
    id.Format(_T("IDS_FEED%d"), i);
    m_mapFeedbackTypes.SetAt(key, Lang(id));
    m_cboFeedbackType.InsertString(i, Lang(id));
  }
  m_cboFeedbackType.SetCurSel(0);

  for (CWnd* label : {static_cast<CWnd*>(&m_stEmail), static_cast<CWnd*>(&m_stFeedbackType)})
    label->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetSharedDialogFont()), TRUE);
  m_stEmail.ShowWindow(SW_HIDE);
  m_stEmail.EnableWindow(FALSE);
  m_stFeedbackType.ShowWindow(SW_HIDE);
  m_stFeedbackType.EnableWindow(FALSE);
  m_edtEmail.SetLimitText(400);
  m_edtMessage.LimitText(1000);

  // The tools' pictures: 24 x 24 cells of bitmap 1039, white as their mask.
  CBitmap toolPictures;
  if (m_imgTools.GetSafeHandle() == nullptr && toolPictures.LoadBitmap(kToolPictures) &&
      m_imgTools.Create(kToolPictureSize, kToolPictureSize, ILC_COLOR32 | ILC_MASK, 4, 4))
    m_imgTools.Add(toolPictures, kToolPictureMask);
  if (m_imgTools.GetSafeHandle()) m_lstTools.SetImageList(&m_imgTools, LVSIL_SMALL);
  m_lstTools.SetExtendedStyle(m_lstTools.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
  m_lstTools.InsertCheckColumn(0, _T(""), 32);
  m_lstTools.InsertColumn(1, Lang(_T("IDS_MODULENAME")), LVCFMT_LEFT, 62);
  m_lstTools.InsertColumn(2, Lang(_T("IDS_TIPS")), LVCFMT_RIGHT, 146);
  InsertTools();

  Layout();
  m_ctlToolTip.Create(this);
  FormatChecked(m_strHeading, Lang(_T("IDS_SUBMIT_FEEDBACK")), {kProductDisplayName});
  m_strShareExperience = Lang(_T("IDS_SHARE_EXPR"));
  m_strFavouriteTools = Lang(_T("IDS_FAVO_TOOL"));
  m_strShareExperience2 = Lang(_T("IDS_SHARE_EXPR2"));
  m_strPublishReview = Lang(_T("IDS_PUBLISH_REVIEW"));
  m_rcStatus.SetRect(300, H - 40, W - 275, H - 20);
  return TRUE;
}

void CDlgQVXFeedback::InsertTools() {
  m_lstTools.DeleteAllItems();
  for (const Tool& tool : kToolTable) {
    const int row = m_lstTools.InsertItem(m_lstTools.GetItemCount(), _T(""), tool.image);
    m_lstTools.SetItemText(row, 1, tool.name);
    m_lstTools.SetItemData(row, static_cast<DWORD_PTR>(tool.id));
  }
}

void CDlgQVXFeedback::OnSizeLayout(UINT nType, int cx, int cy) {
  CDlgBaseWndPopupNagBase::OnSizeLayout(nType, cx, cy);
  if (m_edtEmail.GetSafeHwnd()) Layout();
}

void CDlgQVXFeedback::Layout() {
  CRect client;
  GetClientRect(&client);
  const int W = client.Width();
  const int H = client.Height();
  m_lstTools.MoveWindow(17, 147, 240, H - 253);
  m_edtEmail.MoveWindow(270, 149, W - 287, 20);
  m_cboFeedbackType.MoveWindow(270, 200, W - 287, 20);
  m_edtMessage.MoveWindow(270, 259, W - 287, H - 365);
  m_chkAllowPublication.MoveWindow(48, H - 89, 15, 15);
}

BOOL CDlgQVXFeedback::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN) {
    if (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_F4) pMsg->wParam = 0;
    return FALSE;
  }
  if ((pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_SYSKEYUP) && pMsg->wParam == VK_F4) {
    pMsg->wParam = 0;
    return FALSE;
  }
  if (pMsg->wParam == VK_F4) return FALSE;
  if (m_ctlToolTip.GetSafeHwnd()) m_ctlToolTip.RelayEvent(pMsg);
  return CDialog::PreTranslateMessage(pMsg);
}

void CDlgQVXFeedback::OnShowWindow(BOOL bShow, UINT) {
  Default();
  if (!bShow) return;
  m_edtEmail.SetWindowText(_T(""));
  m_cboFeedbackType.SetCurSel(0);
  m_edtMessage.SetWindowText(_T(""));
  m_chkAllowPublication.SetCheck(BST_UNCHECKED);
  m_bAllowPublication = FALSE;
  m_strStatus.Empty();
  EnableForm(TRUE);
}

void CDlgQVXFeedback::EnableForm(BOOL bEnable) {
  EnableWindow(bEnable);
  m_btnSubmit.EnableWindow(bEnable);
}

void CDlgQVXFeedback::SetStatus(const CString& text) {
  m_strStatus = text;
  InvalidateRect(&m_rcStatus, FALSE);
}

int CDlgQVXFeedback::BuildFeedback() {
  m_strXml.Empty();
  CString email;
  m_edtEmail.GetWindowText(email);
  const int at = email.Find(_T('@'));
  if (email.IsEmpty() || at <= 0 || at == email.GetLength() - 1) return -1;

  CString key, type;
  key.Format(_T("%d"), m_cboFeedbackType.GetCurSel());
  m_mapFeedbackTypes.Lookup(key, type);
  CString message;
  m_edtMessage.GetWindowText(message);
  message.Trim();
  if (message.IsEmpty()) return 0;

  CMarkup document;
  document.AppendElement(_T("sf_feedback"));
  document.AppendElement(_T("feedback"), nullptr, true);
  document.EnterElement();
  Child(document, _T("email"), email);
  Child(document, _T("feedback_type"), type);
  Child(document, _T("content"), message);
  document.LeaveElement();
  document.AppendElement(_T("SetPublishState"), nullptr, true);
  document.EnterElement();
  Child(document, _T("allowed"), m_bAllowPublication ? _T("1") : _T("0"));
  document.LeaveElement();
  document.AppendElement(_T("favorite_tools"), nullptr, true);
  document.EnterElement();
  for (int row = 0; row < m_lstTools.GetItemCount(); ++row)
    if (m_lstTools.GetCheck(row)) Child(document, _T("appid"), Decimal(m_lstTools.GetItemData(row)));
  document.LeaveElement();
  AppendSystemInfo(document);
  document.AppendElement(_T("key"), nullptr, true);
  document.EnterElement();
  Child(document, _T("mac_id"), GetMachineId());
  document.LeaveElement();
  document.AppendElement(_T("prog_info"), nullptr, true);
  document.EnterElement();
  Child(document, _T("prog_ver"), HelperLibraryVersion());
  document.LeaveElement();
  m_strXml = document.GetDocumentText();
  return 1;
}

BOOL CDlgQVXFeedback::ReportBuildResult(int nResult) {
  if (nResult == 1) return TRUE;
  AppMessageBox(Lang(nResult < 0 ? _T("IDS_FEEDBACK_MAILID") : _T("IDS_EMPTY_FEEDBACK")), MB_ICONEXCLAMATION, this);
  return FALSE;
}

void CDlgQVXFeedback::OnSubmit() {
  EnableForm(FALSE);
  m_bPreview = FALSE;
  if (!ReportBuildResult(BuildFeedback())) {
    // The user corrects what the message names.
    EnableForm(TRUE);
    return;
  }
  SetStatus(Lang(_T("IDS_FEEDBACK_UPLOAD")));
  SetTimer(kUploadTimer, kTimerMs, nullptr);
}

void CDlgQVXFeedback::OnPreview() {
  m_bPreview = TRUE;
  if (ReportBuildResult(BuildFeedback())) ::MessageBoxW(m_hWnd, m_strXml, GetAppName(), MB_ICONINFORMATION);
}

void CDlgQVXFeedback::OnAllowPublication() {
  m_bAllowPublication = m_chkAllowPublication.GetCheck() == BST_CHECKED ? TRUE : FALSE;
  InvalidateRect(&m_rcCheckMark, FALSE);
}

void CDlgQVXFeedback::OnTimer(UINT_PTR nIDEvent) {
  KillTimer(nIDEvent);
  if (nIDEvent == kUploadTimer) {
    AfxBeginThread(UploadThread, new UploadJob{m_hWnd, m_strXml});
  } else if (nIDEvent == kCloseTimer) {
    OnOK();
  } else {
    Default();
  }
}

LRESULT CDlgQVXFeedback::OnUploadDone(WPARAM wParam, LPARAM) {
  if (wParam) {
    SetStatus(Lang(_T("IDS_FDBK_SUCC")));
    AppMessageBox(Lang(_T("IDS_THX_FOR_FDBK")), MB_ICONINFORMATION, this);
    SetTimer(kCloseTimer, kTimerMs, nullptr);
  } else {
    // Nothing the user typed is lost: the form stays open to try again.
    SetStatus(Lang(_T("IDS_FEEDBACK_FAILED")));
    AppMessageBox(Lang(_T("IDS_FEEDBACK_FAILED")), MB_ICONINFORMATION, this);
    EnableForm(TRUE);
  }
  return 0;
}

void CDlgQVXFeedback::OnOK() {
  if (IsEnterIgnored()) return;
  EndWithResult(IDOK);
}

void CDlgQVXFeedback::OnCancel() {
  if (IsEscapeIgnored()) return;
  EndWithResult(IDCANCEL);
}

void CDlgQVXFeedback::OnCancelButton() { CloseParentDialog(this); }

void CDlgQVXFeedback::OnPaint() {
  PaintFramed(0x303030, [&](CDC& memory, const CRect& client) {
    const int W = client.Width();
    const int H = client.Height();
    const CHVBitmap& badge = SharedBitmap(1087);
    if (badge.GetSafeHandle())
      DrawBitmap(&memory, 23, 48, badge.GetWidth(), badge.GetHeight(), static_cast<HBITMAP>(badge.GetSafeHandle()),
                 SRCAND);
    DrawWhole(&memory, SharedBitmap(1075), 17, 109);
    memory.TextOut(83, 53, m_strHeading);
    ::SelectObject(memory.GetSafeHdc(), GetSharedDialogFont());
    memory.SetTextColor(0x5B5B5B);
    memory.TextOut(83, 80, m_strShareExperience);
    memory.SetTextColor(0x9D4F04);
    DrawWrapped(memory, m_strFavouriteTools, CRect(27, 130, W / 2, 150));
    DrawWrapped(memory, Lang(_T("IDS_EMAIL_ADDRESS")), CRect(270, 134, W - 17, 174));
    DrawWrapped(memory, Lang(_T("IDS_SELCT_FEEDBCK_TYPE")), CRect(270, 181, W - 17, 201));
    DrawWrapped(memory, m_strShareExperience2, CRect(270, 238, W - 17, 258));

    CPen pen(PS_SOLID, 1, 0xC2EAF1);
    CBrush fill(0xECFCFF);
    CPen* oldPen = memory.SelectObject(&pen);
    CBrush* oldBrush = memory.SelectObject(&fill);
    memory.Rectangle(17, H - 96, W - 17, H - 67);
    memory.SelectObject(oldBrush);
    memory.SelectObject(oldPen);
    memory.SetTextColor(0x262626);
    DrawWrapped(memory, m_strPublishReview, CRect(72, H - 89, W - 25, H - 70));
    const CHVBitmap& mark = SharedBitmap(m_bAllowPublication ? 1041 : 1046);
    DrawWhole(&memory, mark, 25, H - 91);
    m_rcCheckMark.SetRect(25, H - 91, 25 + mark.GetWidth(), H - 91 + mark.GetHeight());
    memory.SetTextColor(kDialogTextColour);
    DrawWrapped(memory, m_strStatus, m_rcStatus);
  });
}

void ShowFeedbackDialog(CWnd* pParent) {
  CDlgQVXFeedback dialog(pParent);
  RunModalWithBackdrop(pParent, &dialog, CDlgQVXFeedback::kTemplateId);
}
