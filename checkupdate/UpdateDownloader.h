// CUpdateDownloader: the update checker's binding of the download library "Downloader.dll":
// entry points 1 (download), 2 (abort), 3 (connection test) and 4 (session switch around each
// download), the abort flag, the event signalled when a download ends and the process-wide
// download-running flag. The library's callbacks are handed to the owner's sink.
#pragma once
#include <afx.h>

#include <atomic>

#include "DownloaderLibrary.h"

// What the owner does with the library's callbacks.
class IUpdateDownloadSink {
 public:
  virtual ~IUpdateDownloadSink() = default;
  // Progress of the running download: the library's status text (may be empty), percent of
  // the file, received and total bytes.
  virtual void OnDownloadProgress(const CString& status, int percent, ULONGLONG received, ULONGLONG total) = 0;
  // A question of the library: its text and kind (0 OK, 2 Yes/No, 3 Yes/No/Cancel, other
  // OK/Cancel); the button answered.
  virtual int OnDownloadQuestion(LPCWSTR text, int kind) = 0;
};

using DownloaderSessionFn = void (*)(int on);

class CUpdateDownloader {
 public:
  static constexpr LPCTSTR kLibraryName = _T("Downloader.dll");
  static constexpr DWORD kStopGraceMs = 1000;

  CUpdateDownloader() = default;
  ~CUpdateDownloader();
  CUpdateDownloader(const CUpdateDownloader&) = delete;
  CUpdateDownloader& operator=(const CUpdateDownloader&) = delete;

  // Creates the event and binds entry points 1 to 4; FALSE (nothing bound) when the library
  // or one of them is missing.
  BOOL Load(LPCTSTR libraryName = kLibraryName);
  BOOL IsLoaded() const { return m_hModule != nullptr; }
  void SetSink(IUpdateDownloadSink* sink) { m_pSink = sink; }

  // One download: the library's result (0 failure). Runs only with a hash, or with an address,
  // a target and the byte flag off; not at all when cancelled.
  int DownloadFile(LPCTSTR url, LPCTSTR file, LPCTSTR hash, int mode, BYTE flag, BOOL cancelled);
  // Sets the abort flag; a running download that has not ended within a second is aborted
  // through the library.
  void StopDownload();
  // Waits for the running download to end (at once when none runs); TRUE.
  BOOL WaitForDownloadEnd();
  BOOL IsAbortRequested() const { return m_bAbort.load(); }
  // The library's connection test; FALSE without the library.
  BOOL IsConnected() const;
  void ResetEvent();
  static BOOL IsDownloadRunning();

 private:
  static BOOL ProgressCallback(LPVOID context, const tagDownloadProgress* progress);
  static int QuestionCallback(LPVOID context, LPCWSTR text, int kind, LPVOID first, LPVOID second);

  HMODULE m_hModule = nullptr;
  DownloaderDownloadFn m_pfnDownload = nullptr;
  DownloaderAbortFn m_pfnAbort = nullptr;
  DownloaderConnectedFn m_pfnConnected = nullptr;
  DownloaderSessionFn m_pfnSession = nullptr;
  HANDLE m_hEvent = nullptr;
  std::atomic<bool> m_bAbort{false};
  IUpdateDownloadSink* m_pSink = nullptr;
};
