// CHttpDownloader: a single-file HTTP(S) download engine over WinINet with resume, a second
// try with credentials after 401/407, a transfer-rate limit and cancel. It reports through
// its own virtual operations, which a window class overrides to show texts. CDownloader owns
// the open WinINet handles.
//
// The file is written under the target path with ".part" appended and takes the target name
// only once it is complete, so a cut transfer never leaves a file under the final name; the
// partial file stays for a later transfer that resumes it.
#pragma once
#include <afx.h>
#include <afxfile.h>
#include <wininet.h>

// The open handles of one transfer; each is closed once, under one process-wide lock, so a
// cancel from another thread and the transfer's own end never close a handle twice.
class CDownloader {
 public:
  CDownloader() = default;
  ~CDownloader() { CloseHandles(); }
  CDownloader(const CDownloader&) = delete;
  CDownloader& operator=(const CDownloader&) = delete;

  void CloseHandles();

  HINTERNET m_hSession = nullptr;
  HINTERNET m_hConnection = nullptr;
  HINTERNET m_hRequest = nullptr;
};

class CHttpDownloader {
 public:
  // Outcomes of a transfer.
  enum Result { kDone = 1, kFailed = 0, kAborted = -1, kWriteFailed = -10 };
  static constexpr LPCTSTR kPartialSuffix = _T(".part");
  // Request flags for HTTP; HTTPS adds INTERNET_FLAG_SECURE and keeps certificate checks on.
  static constexpr DWORD kHttpFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_RAW_DATA | INTERNET_FLAG_NO_CACHE_WRITE |
                                      INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_PRAGMA_NOCACHE;
  // How often a 401 or 407 answer is tried again with credentials before the transfer fails.
  static constexpr int kMaxAuthenticationRetries = 3;

  CHttpDownloader() = default;
  virtual ~CHttpDownloader() = default;
  CHttpDownloader(const CHttpDownloader&) = delete;
  CHttpDownloader& operator=(const CHttpDownloader&) = delete;

  // Fetches m_strUrl into m_strTargetPath (see the class comment); closes the handles and the
  // file afterwards. A partial file that did not exist before and received nothing is removed.
  int StartHttpDownload();
  // From any thread: the abort flag is set and the handles closed, which ends a blocked read.
  void Cancel();

  CString m_strUrl;
  CString m_strTargetPath;
  CString m_strUserName;
  CString m_strPassword;
  CString m_strProxyUserName;
  CString m_strProxyPassword;
  CString m_strProxyServers;  // empty: no named proxy
  CString m_strAgent = _T("HttpDownloader");
  double m_dRateLimit = 0;  // bytes per millisecond; 0 = no limit
  BOOL m_bPromptServerCredentials = TRUE;
  BOOL m_bPromptProxyCredentials = TRUE;
  BOOL m_bUsePreconfiguredProxy = TRUE;
  BOOL m_bSendClientCertificate = TRUE;
  ULONGLONG m_ullResumeOffset = 0;
  BOOL m_bNoAutoRedirect = FALSE;
  int m_nReadBufferSize = 8192;
  BOOL m_bUseProxyCredentials = TRUE;
  BOOL m_bUseServerCredentials = TRUE;
  CString m_strAcceptType = _T("*/*");

  // The last failure reported: text key, error number, the error's own text, and the
  // message of the key as the language texts give it.
  const CString& GetLastErrorKey() const { return m_strLastErrorKey; }
  const CString& GetLastErrorMessage() const { return m_strLastErrorMessage; }
  DWORD GetLastErrorNumber() const { return m_dwLastError; }
  const CString& GetLastErrorText() const { return m_strLastErrorText; }

 protected:
  virtual BOOL OpenSession();
  virtual BOOL Connect();
  virtual BOOL OpenRequest();
  virtual BOOL SetServerCredentials();
  virtual BOOL SetProxyCredentials();
  // The server asked for a client certificate; TRUE to send the request again.
  virtual BOOL OnClientCertificateNeeded();
  virtual void OnStatusCallback(DWORD status, LPVOID info, DWORD infoLength);
  // Every failure goes here once: the text key of the message and the WinINet or Win32 error;
  // the key is looked up in the language texts.
  virtual void ReportError(LPCTSTR textKey, DWORD error);
  // A number as the reports show it ("%u").
  virtual CString ReportNumber(DWORD number) const;
  virtual DWORD GetRequestFlags() const;
  virtual CString GetExtraHeaders() const;
  virtual DWORD ShowInetErrorDialog(DWORD error);
  virtual BOOL IsAborted() const;
  virtual void OnFileSize(ULONGLONG size);
  virtual void OnProgress(ULONGLONG soFar, ULONGLONG total, BOOL sizeKnown);
  virtual BOOL WriteBlock(const BYTE* buffer, DWORD length);
  virtual void SetBackoff(DWORD unused);
  // The receive time-out of every later session of the process: 7200000 ms.
  virtual void SetReceiveTimeout();
  // A status line of the transfer (a text key); nothing by default.
  virtual void OnStatusText(LPCTSTR textKey);

  // The text of a WinINet or system error.
  static CString ErrorText(DWORD error);

  // URL parts.
  INTERNET_SCHEME m_nScheme = INTERNET_SCHEME_HTTP;
  CString m_strServer;
  CString m_strObject;
  INTERNET_PORT m_nPort = 0;

 private:
  int Transfer();
  bool ParseUrl();
  bool OpenTargetFile();
  int SendAndAnswer(DWORD& status);
  int ReadBody(ULONGLONG length, BOOL sizeKnown);
  bool StartOver();
  void DrainBody();
  static void CALLBACK StatusRouter(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID info,
                                    DWORD infoLength);

  CDownloader m_handles;
  volatile LONG m_lAbort = 0;
  CFile m_file;
  CString m_strPartialPath;
  CString m_strLastErrorKey;
  DWORD m_dwLastError = 0;
  CString m_strLastErrorText;
  CString m_strLastErrorMessage;
};
