// CDownloaderLibrary: the binding of the outside download library "Downloader.dll", which
// transfers every driver package. The library is loaded by name and driven through its
// entry points 1 (download), 2 (abort) and 3 (connection test, kept, never called); this file
// also holds the request block handed to it, the progress record it reports with, the
// partial-file naming around a transfer and the size texts of the progress line.
#pragma once
#include <afx.h>

#include <atomic>
#include <cstddef>

// One file to fetch, as the library reads it. The three texts are the caller's UTF-16
// buffers; every byte not named here is zero. In a 64-bit process the pointers take eight
// bytes each, so the block keeps its 64 bytes with the flags moved behind them.
struct tagDownloadRequest {
  LPWSTR pszAddress;
  LPWSTR pszTargetPath;
  LPWSTR pszChecksum;
  BYTE reserved1[5];
  BYTE bFlag;  // 0 for driver downloads
  BYTE reserved2[2];
  int nFlag;  // 1 for driver downloads
  BYTE reserved3[28];
};
static_assert(sizeof(tagDownloadRequest) == 64);
static_assert(offsetof(tagDownloadRequest, bFlag) == 29 && offsetof(tagDownloadRequest, nFlag) == 32);

// What the library reports with each progress call.
struct tagDownloadProgress {
  LPCWSTR pszStatus;      // what the library is doing, or null
  ULONGLONG ullReceived;  // offset 8
  ULONGLONG ullTotal;     // offset 16
  DWORD reserved2;
  int nPercent;  // offset 28: of the current file
};
static_assert(offsetof(tagDownloadProgress, ullTotal) == 16 && offsetof(tagDownloadProgress, nPercent) == 28);

// The library's entry points and the callbacks it is given.
using DownloadProgressFn = BOOL (*)(LPVOID context, const tagDownloadProgress* progress);
using DownloadNoticeFn = BOOL (*)(LPVOID context, LPVOID first, LPVOID second);
using DownloadMessageFn = int (*)(LPVOID context, LPCWSTR text, int code, LPVOID first, LPVOID second);
using DownloadEndFn = int (*)(LPVOID context, LPVOID first);
using DownloaderDownloadFn = int (*)(tagDownloadRequest* requests, int count, DownloadProgressFn progress,
                                     DownloadNoticeFn notice, DownloadMessageFn message, DownloadEndFn end);
using DownloaderAbortFn = void (*)(int reserved);
using DownloaderConnectedFn = int (*)();

// Where the progress line goes: the owner's overall percentage and the line that replaces its
// current status line. The download dialog installs it; without one nothing is shown.
using DownloadStatusSink = void (*)(int percent, const CString& line);
// Where the byte counts of each progress report go, just before its line (the speed shown
// beside the line is worked out from them).
using DownloadBytesSink = void (*)(ULONGLONG received, ULONGLONG total);

class CDownloaderLibrary {
 public:
  // The library's file name, the suffix of a file while it is being transferred, and how long
  // Stop waits for the library to finish before it aborts it.
  static constexpr LPCTSTR kLibraryName = _T("Downloader.dll");
  static constexpr LPCTSTR kPartialSuffix = _T(".unconfirmed");
  static constexpr DWORD kStopGraceMs = 1000;

  CDownloaderLibrary() = default;
  // Frees the library when it was loaded.
  ~CDownloaderLibrary();
  CDownloaderLibrary(const CDownloaderLibrary&) = delete;
  CDownloaderLibrary& operator=(const CDownloaderLibrary&) = delete;

  // Loads the library by its plain name and binds entry points 1-3. A missing library or
  // entry point leaves the binding unloaded and shows "IDS_DOWNLOAD_DLL_NOTFOUND" once.
  bool Load(LPCTSTR libraryName = kLibraryName);
  bool IsLoaded() const { return m_hModule != nullptr; }
  // Makes a fresh manual-reset event (not signalled) for the next transfer; answers whether
  // the library is loaded.
  BOOL Reset();
  // The event the transfer signals when it ends; the owner closes it after the transfer.
  HANDLE GetEvent() const { return m_hEvent; }
  void CloseEvent();
  // One transfer, under the process-wide transfer lock: the library's answer (non-zero: the
  // file was fetched), 0 without a library or without the texts it needs.
  int Download(LPCTSTR address, LPCTSTR targetPath, LPCTSTR checksum, int flag, BYTE byteFlag);
  // Asks the running transfer to stop: the abort flag is set and, when the library has not
  // finished within a second, its abort entry point is called. Never takes the transfer lock.
  void Stop();
  bool IsAbortRequested() const;

  // Where progress lines go (null: nowhere).
  static void SetStatusSink(DownloadStatusSink sink);
  static void SetBytesSink(DownloadBytesSink sink);
  // Whether a transfer is inside the library now.
  static bool IsTransferRunning();

 private:
  HMODULE m_hModule = nullptr;
  DownloaderDownloadFn m_pfnDownload = nullptr;
  DownloaderAbortFn m_pfnAbort = nullptr;
  DownloaderConnectedFn m_pfnConnected = nullptr;  // bound and kept, never called here
  std::atomic<bool> m_bAbort{false};  // set by Stop, cleared when a transfer starts
  HANDLE m_hEvent = nullptr;
  int m_nReserved = 0;
};

// Before a transfer: without keepExisting an existing target is deleted (a delete that fails
// other than for a missing file answers 0 and no transfer should run, unless a quiet mode is
// on); with it an existing target makes the answer 0. The target then names the partial file
// (suffix appended, nothing renamed). 1 when the transfer may run.
BYTE PreparePartialTarget(LPCTSTR address, CString& targetPath, LPCTSTR checksum, BYTE keepExisting,
                          bool quietMode = false);
// Appends the partial suffix to the path, or cuts it from its first occurrence on; with
// rename the file is renamed from the old path to the new one. False when the rename failed.
bool RenamePartialFile(CString& path, bool append, bool rename);
// The size text of a byte count: empty for 0 or less, "IDS_FILESIE_GB" / "_MB" / "_KB" above
// 2^30 / 2^20 / 2^10 (strictly), else the whole bytes with "IDS_BYTES".
void FormatFileSize(double bytes, CString& text);
// The progress line of a record: "IDS_DOWLOADED_OF" with the received and total size texts;
// false (nothing to show) when either count is 0.
bool FormatDownloadProgressLine(const tagDownloadProgress& progress, CString& line);
