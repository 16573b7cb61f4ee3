// The download manager's progress dialog.
#include "DownloadDialog.h"

#include "DlgBaseMessageBoxWndBase.h"
#include "DlgBaseShared.h"
#include "HalvoranApp.h"
#include "IniReader.h"
#include "WinInetBinding.h"
#include "XTMemDC.h"

namespace {

constexpr UINT kAbortQuestionStyle = 292;  // yes/no, question icon, second button default
// The pause between the dialog's start and its worker's, on the layer's clock.
constexpr DWORD kStartPauseMs = 512;
const TCHAR kSection[] = _T("IDD_DOWNLOAD");
const TCHAR kProductSection[] = _T("QVX");
constexpr COLORREF kHeadingColour = 0x303030;
// Where the heading is painted, below the caption band.
const CRect kHeadingRect(16, 34, 600, 52);

// The dialog's texts: control id and language key of its section.
constexpr struct {
  int id;
  LPCTSTR key;
} kControlTexts[] = {{IDOK, _T("IDOK")},
                     {1200, _T("IDC_STATIC_FILE_LIC")},
                     {1201, _T("IDC_STATIC_SPEED_LIC")},
                     {1202, _T("IDC_STATIC_STATUS_LIC")},
                     {1203, _T("IDC_STATIC_ELAPSED_LIC")},
                     {1204, _T("IDC_STATIC_REMAINING_LIC")},
                     {1205, _T("IDC_STATIC_PROGRESSFILE_LIC")},
                     {1206, _T("IDC_STATIC_PROGRESSALL_LIC")},
                     {1207, _T("IDC_STATIC_FILE2_LIC")}};

// The option's text, else the product's text of the key.
CString OptionOr(LPCTSTR option, LPCTSTR key) {
  const CString text = GetDownloadOptionText(option);
  return text.IsEmpty() ? GetLangString(key, kProductSection) : text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDownloadDlg, CDlgBaseChildPopUpWndBase)
  ON_WM_PAINT()
  ON_MESSAGE(WM_DOWNLOAD_DONE, &CDownloadDlg::OnRunDone)
  ON_MESSAGE(WM_DOWNLOAD_AUTH, &CDownloadDlg::OnAuthentication)
  ON_MESSAGE(WM_DOWNLOAD_FAILED, &CDownloadDlg::OnReleaseWorker)
  ON_MESSAGE(WM_DOWNLOAD_FTP_LOGIN, &CDownloadDlg::OnReleaseWorker)
  ON_MESSAGE(WM_DOWNLOAD_TEXT, &CDownloadDlg::OnText)
  ON_MESSAGE(WM_DOWNLOAD_FILE_PROGRESS, &CDownloadDlg::OnFileProgress)
  ON_MESSAGE(WM_DOWNLOAD_RUN_PROGRESS, &CDownloadDlg::OnRunProgress)
END_MESSAGE_MAP()

CDownloadDlg::CDownloadDlg(CWnd* parent)
    : CDlgBaseChildPopUpWndBase(IDD_DOWNLOAD, parent),
      m_strTitle(OptionOr(_T("title"), _T("IDS_TITLE"))),
      m_strLabel(OptionOr(_T("label"), _T("IDS_LABEL"))),
      m_strDescription(OptionOr(_T("description"), _T("IDS_DESCRIPTION"))) {}

CDownloadDlg::~CDownloadDlg() {
  if (m_hThread) {
    m_download.Abort();
    SetEvent(m_download.m_hEvent);
    WaitForSingleObject(m_hThread, INFINITE);
    CloseHandle(m_hThread);
  }
}

BOOL CDownloadDlg::OnInitDialog() {
  CDlgBaseChildPopUpWndBase::OnInitDialog();
  for (const auto& control : kControlTexts) SetDlgItemTextW(m_hWnd, control.id, GetLangString(control.key, kSection));
  SetDlgItemTextW(m_hWnd, IDC_DOWNLOAD_LABEL, m_strLabel);
  SetDlgItemTextW(m_hWnd, IDC_DOWNLOAD_DESCRIPTION, m_strDescription);
  SetWindowTextW(m_hWnd, GetLangString(_T("IDS_QVX_UPDATE_DOWNLOADER"), kProductSection));
  if (g_hAppIcon) {
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_hAppIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_hAppIcon));
  }
  m_fileBar.SubclassDlgItem(IDC_DOWNLOAD_FILE_BAR, this);
  m_runBar.SubclassDlgItem(IDC_DOWNLOAD_RUN_BAR, this);
  m_button.SubclassDlgItem(IDOK, this);
  CHoverButtonWithText::SetStyle(m_button, TRUE, TRUE, TRUE);
  m_download.m_hDialog = m_hWnd;
  Sleep(kStartPauseMs);
  m_hThread = CreateThread(nullptr, 0, &CDownload::ThreadProc, &m_download, 0, nullptr);
  m_button.SetWindowText(GetLangString(_T("IDS_CANCEL"), kProductSection));
  return TRUE;
}

void CDownloadDlg::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  CXTMemDC memory(&paint, client, kDialogBackColour);
  PaintFrame(&memory, client);
  CRect heading = kHeadingRect;
  heading.right = client.right - 16;
  PaintHeading(&memory, m_strTitle, heading, kHeadingColour);
}

void CDownloadDlg::OnOK() { AskToStop(); }

void CDownloadDlg::OnCancel() { AskToStop(); }

void CDownloadDlg::OnCloseRequest() { AskToStop(); }

void CDownloadDlg::AskToStop() {
  if (m_bDone) {
    EndDialog(1);
    return;
  }
  m_bAsking = TRUE;
  const int answer = AppMessageBox(GetLangString(_T("IDS_ABORT"), kProductSection), kAbortQuestionStyle, this);
  m_bAsking = FALSE;
  if (m_bDone) {
    EndDialog(1);
  } else if (answer != IDNO) {
    m_download.Abort();
  }
}

LRESULT CDownloadDlg::OnRunDone(WPARAM, LPARAM) {
  m_bDone = TRUE;
  m_bSuccess = m_download.m_bResult;
  if (!m_bAsking) EndDialog(1);
  return 0;
}

LRESULT CDownloadDlg::OnAuthentication(WPARAM request, LPARAM) {
  CWinInet& inet = GetWinInet();
  if (inet.IsBound() &&
      inet.pInternetErrorDlg(m_hWnd, reinterpret_cast<HINTERNET>(request), ERROR_INTERNET_INCORRECT_PASSWORD, 7,
                             nullptr) == static_cast<DWORD>(ERROR_INTERNET_FORCE_RETRY))
    m_download.m_bRetry = true;
  SetEvent(m_download.m_hEvent);
  return 0;
}

// A failed run and a refused FTP login are not asked about: the worker goes on to its end.
LRESULT CDownloadDlg::OnReleaseWorker(WPARAM, LPARAM) {
  SetEvent(m_download.m_hEvent);
  return 0;
}

LRESULT CDownloadDlg::OnText(WPARAM control, LPARAM text) {
  auto* owned = reinterpret_cast<LPTSTR>(text);
  SetDlgItemTextW(m_hWnd, static_cast<int>(control), owned);
  delete[] owned;
  return 0;
}

LRESULT CDownloadDlg::OnFileProgress(WPARAM position, LPARAM range) {
  if (m_fileBar.GetSafeHwnd()) {
    m_fileBar.SetRange32(0, static_cast<int>(range));
    m_fileBar.SetPos(static_cast<int>(position));
  }
  return 0;
}

LRESULT CDownloadDlg::OnRunProgress(WPARAM position, LPARAM range) {
  if (m_runBar.GetSafeHwnd()) {
    m_runBar.SetRange32(0, static_cast<int>(range));
    m_runBar.SetPos(static_cast<int>(position));
  }
  return 0;
}
