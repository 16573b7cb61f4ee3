// The download manager's progress dialog: runs the worker on its own thread, shows the texts
// the worker posts, and asks before a cancel stops the run.
#pragma once
#include <afxdlg.h>

#include "Downloader.h"
#include "HelperApi.h"

constexpr UINT IDD_DOWNLOAD = 1283;

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
  DECLARE_MESSAGE_MAP()

 private:
  CDownload m_download;
  HANDLE m_hThread = nullptr;
  BOOL m_bDone = FALSE;
  BOOL m_bAsking = FALSE;
};
