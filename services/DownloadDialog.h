// The download manager's progress dialog, a framed popup: runs the worker on its own thread
// (started 512 ms after the dialog, on the layer's clock), shows the heading, label and
// description of the run's options, the texts and progress bars the worker posts, and asks
// before its button or a close stops the run.
#pragma once
#include <afxcmn.h>

#include "DlgBaseChildPopUpWndBase.h"
#include "Downloader.h"
#include "HelperApi.h"
#include "HoverButtonWithText.h"

constexpr UINT IDD_DOWNLOAD = 1283;
// The progress bars of the current file and of the whole run.
constexpr int IDC_DOWNLOAD_FILE_BAR = 1243;
constexpr int IDC_DOWNLOAD_RUN_BAR = 1244;
// The label above the file line and the description under the heading.
constexpr int IDC_DOWNLOAD_LABEL = 1259;
constexpr int IDC_DOWNLOAD_DESCRIPTION = 1260;

class ZXHELPER_API CDownloadDlg : public CDlgBaseChildPopUpWndBase {
 public:
  explicit CDownloadDlg(CWnd* parent);
  ~CDownloadDlg() override;

  BOOL OnInitDialog() override;
  void OnCloseRequest() override;

  BOOL m_bSuccess = FALSE;
  // The heading, label and description shown (the options, else the product's texts).
  const CString& GetHeading() const { return m_strTitle; }

 protected:
  // The dialog's one button and Escape both ask before the run stops.
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnPaint();
  LRESULT OnRunDone(WPARAM, LPARAM);
  LRESULT OnAuthentication(WPARAM, LPARAM);
  LRESULT OnReleaseWorker(WPARAM, LPARAM);
  LRESULT OnText(WPARAM, LPARAM);
  LRESULT OnFileProgress(WPARAM, LPARAM);
  LRESULT OnRunProgress(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  void AskToStop();

  CDownload m_download;
  HANDLE m_hThread = nullptr;
  BOOL m_bDone = FALSE;
  BOOL m_bAsking = FALSE;
  CString m_strTitle;
  CString m_strLabel;
  CString m_strDescription;
  CHoverButtonWithText m_button;
  CProgressCtrl m_fileBar;
  CProgressCtrl m_runBar;
};
