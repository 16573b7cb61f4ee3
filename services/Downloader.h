// The shared library's own download manager: a process-wide list of files (address and
// target), the options of a run, and the worker that fetches the files one after another over
// HTTP (with resume and redirects) or FTP (passive, always the whole file), reporting to its
// dialog by posted messages; a server asking for credentials or refusing an FTP login is
// answered through the dialog. A file is written under "<target>.part" and takes its own name
// only when complete, so a failed or cancelled transfer never leaves a partial file under the
// target's name.
#pragma once
#include <afx.h>
#include <windows.h>

#include <atomic>

#include "HelperApi.h"

// Longest address and target path a file entry holds, in characters; longer ones are refused.
constexpr int kDownloadUrlLimit = 499;
constexpr int kDownloadPathLimit = 519;
// Redirect hops followed for one file before the run fails.
constexpr int kDownloadRedirectLimit = 8;

// Messages from the worker to its dialog.
constexpr UINT WM_DOWNLOAD_DONE = 0x500;
constexpr UINT WM_DOWNLOAD_AUTH = 0x501;  // wParam: the request; the dialog answers by the event
constexpr UINT WM_DOWNLOAD_FAILED = 0x502;
constexpr UINT WM_DOWNLOAD_FILE_PROGRESS = 0x503;
constexpr UINT WM_DOWNLOAD_RUN_PROGRESS = 0x504;
constexpr UINT WM_DOWNLOAD_TEXT = 0x505;  // lParam: new[] text the dialog frees
// wParam: the tagDownloadLogin an FTP server refused; the dialog may change it and set the
// retry flag, and answers by the event.
constexpr UINT WM_DOWNLOAD_FTP_LOGIN = 0x506;

// The user name and password an FTP server is logged in to with (empty: anonymous).
struct tagDownloadLogin {
  CString strUser;
  CString strPassword;
};

// Control ids the texts go to.
constexpr int IDC_DOWNLOAD_STATUS = 1256;
constexpr int IDC_DOWNLOAD_SPEED = 1242;
constexpr int IDC_DOWNLOAD_FILE_BYTES = 1257;
constexpr int IDC_DOWNLOAD_RUN_BYTES = 1258;
constexpr int IDC_DOWNLOAD_ELAPSED = 1226;
constexpr int IDC_DOWNLOAD_REMAINING = 1240;

// Adds a file; FALSE (nothing added) for an empty or over-long address or target.
ZXHELPER_API BOOL AddDownloadFile(LPCTSTR address, LPCTSTR target);
ZXHELPER_API void ClearDownloadFiles();
ZXHELPER_API int GetDownloadFileCount();
// Sets an option by name ("title", "label", "description", "language", "hidden", "debug",
// "noftpsize", "simple", "resume"); FALSE for an unknown name.
ZXHELPER_API BOOL ParseDownloadOptions(LPCTSTR name, LPCTSTR value);
// The text of a text option ("title", "label", "description", "language"); empty when unset.
ZXHELPER_API CString GetDownloadOptionText(LPCTSTR name);
// Puts every option back to its default.
ZXHELPER_API void ResetDownloadOptions();
// Runs the list: TRUE at once when it is empty or every file is done; otherwise the download
// dialog (never visible with "hidden") and its success.
ZXHELPER_API BOOL RunDownloadDialog();
// Asks the run under way, from any thread, to stop; its blocked transfer returns at once.
ZXHELPER_API void CancelDownloadRun();

// One run of the worker over the list.
class ZXHELPER_API CDownload {
 public:
  CDownload();
  ~CDownload();
  CDownload(const CDownload&) = delete;
  CDownload& operator=(const CDownload&) = delete;

  // The worker thread's body: the run, the report of a failed run, then WM_DOWNLOAD_DONE.
  static DWORD WINAPI ThreadProc(LPVOID self);
  // One run over the files not yet done; TRUE when all are done at its end.
  BOOL Run();
  // From any thread: sets the abort flag and closes the open handles.
  void Abort();

  HWND m_hDialog = nullptr;
  int m_nFilesDone = 0;
  int m_nFilesInRun = 0;
  DWORD m_dwStart = 0;
  HANDLE m_hEvent = nullptr;
  std::atomic<bool> m_bAbort{false};
  // Set by the dialog when the user asks to send a refused request again.
  std::atomic<bool> m_bRetry{false};
  // Set when the run failed in a way a later run may resume (a transfer cut in the middle).
  bool m_bResumable = false;
  BOOL m_bResult = FALSE;
  // The text of the last failure (also shown in the status line).
  CString m_strError;
};
