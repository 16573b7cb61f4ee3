// The download manager's progress dialog.
#include "DownloadDialog.h"

#include <commctrl.h>

#include "HalvoranApp.h"
#include "WinInetBinding.h"

namespace {

constexpr UINT kAbortQuestionStyle = 292;  // yes/no, question icon, second button default

// The dialog's texts: control id and language key of the section "IDD_DOWNLOAD".
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

CString LangText(LPCTSTR key, LPCTSTR section) {
  CString text;
  auto* app = dynamic_cast<CHalvoranApp*>(AfxGetApp());
  if (app) app->GetLangText(text, key, section);
  return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDownloadDlg, CDialog)
  ON_MESSAGE(WM_DOWNLOAD_DONE, &CDownloadDlg::OnRunDone)
  ON_MESSAGE(WM_DOWNLOAD_AUTH, &CDownloadDlg::OnAuthentication)
  ON_MESSAGE(WM_DOWNLOAD_FAILED, &CDownloadDlg::OnRunFailed)
  ON_MESSAGE(WM_DOWNLOAD_TEXT, &CDownloadDlg::OnText)
  ON_MESSAGE(WM_DOWNLOAD_FILE_PROGRESS, &CDownloadDlg::OnFileProgress)
  ON_MESSAGE(WM_DOWNLOAD_RUN_PROGRESS, &CDownloadDlg::OnRunProgress)
END_MESSAGE_MAP()

CDownloadDlg::CDownloadDlg(CWnd* parent) : CDialog(IDD_DOWNLOAD, parent) {}

CDownloadDlg::~CDownloadDlg() {
  if (m_hThread) {
    m_download.Abort();
    SetEvent(m_download.m_hEvent);
    WaitForSingleObject(m_hThread, INFINITE);
    CloseHandle(m_hThread);
  }
}

BOOL CDownloadDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  for (const auto& control : kControlTexts) SetDlgItemTextW(m_hWnd, control.id, LangText(control.key, _T("IDD_DOWNLOAD")));
  SetWindowTextW(m_hWnd, LangText(_T("IDS_QVX_UPDATE_DOWNLOADER"), nullptr));
  if (g_hAppIcon) {
    SendMessage(WM_SETICON, 1, reinterpret_cast<LPARAM>(g_hAppIcon));
    SendMessage(WM_SETICON, 0, reinterpret_cast<LPARAM>(g_hAppIcon));
  }
  m_download.m_hDialog = m_hWnd;
  m_hThread = CreateThread(nullptr, 0, &CDownload::ThreadProc, &m_download, 0, nullptr);
  SetDlgItemTextW(m_hWnd, IDOK, LangText(_T("IDS_CANCEL"), nullptr));
  return TRUE;
}

void CDownloadDlg::OnCancel() {
  if (m_bDone) return;
  m_bAsking = TRUE;
  const int answer = MessageBoxW(m_hWnd, LangText(_T("IDS_ABORT"), nullptr), GetAppName(), kAbortQuestionStyle);
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

LRESULT CDownloadDlg::OnRunFailed(WPARAM, LPARAM) {
  SetEvent(m_download.m_hEvent);
  return 0;
}

LRESULT CDownloadDlg::OnText(WPARAM control, LPARAM text) {
  auto* owned = reinterpret_cast<LPTSTR>(text);
  SetDlgItemTextW(m_hWnd, static_cast<int>(control), owned);
  delete[] owned;
  return 0;
}

namespace {

// Moves a progress bar to position in 0..range (kilobytes).
void MoveBar(HWND dialog, int id, WPARAM position, LPARAM range) {
  const HWND bar = GetDlgItem(dialog, id);
  if (bar == nullptr) return;
  SendMessageW(bar, PBM_SETRANGE32, 0, range);
  SendMessageW(bar, PBM_SETPOS, position, 0);
}

}  // namespace

LRESULT CDownloadDlg::OnFileProgress(WPARAM position, LPARAM range) {
  MoveBar(m_hWnd, IDC_DOWNLOAD_FILE_BAR, position, range);
  return 0;
}

LRESULT CDownloadDlg::OnRunProgress(WPARAM position, LPARAM range) {
  MoveBar(m_hWnd, IDC_DOWNLOAD_RUN_BAR, position, range);
  return 0;
}
