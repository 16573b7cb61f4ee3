// The download manager's progress dialog: runs the worker on its own thread, shows the texts
// and moves the progress bars the worker posts, and asks before a cancel stops the run.
#pragma once
#include <afxdlg.h>

#include "Downloader.h"
#include "HelperApi.h"

constexpr UINT IDD_DOWNLOAD = 1283;
// The progress bars of the current file and of the whole run.
constexpr int IDC_DOWNLOAD_FILE_BAR = 1243;
constexpr int IDC_DOWNLOAD_RUN_BAR = 1244;

class ZXHELPER_API CDownloadDlg : public CDialog {
 public:
  explicit CDownloadDlg(CWnd* parent);
  ~CDownloadDlg() override;

  BOOL OnInitDialog() override;

  BOOL m_bSuccess = FALSE;

 protected:
  void OnCancel() override;
  LRESULT OnRunDone(WPARAM, LPARAM);
  LRESULT OnAuthentication(WPARAM, LPARAM);
  LRESULT OnRunFailed(WPARAM, LPARAM);
  LRESULT OnText(WPARAM, LPARAM);
  LRESULT OnFileProgress(WPARAM, LPARAM);
  LRESULT OnRunProgress(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  CDownload m_download;
  HANDLE m_hThread = nullptr;
  BOOL m_bDone = FALSE;
  BOOL m_bAsking = FALSE;
};
