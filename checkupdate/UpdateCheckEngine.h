// CUpdateCheckEngine: the work of the update checker. It asks the update service whether a
// newer program (and, for the sibling program, a newer database) exists, reads the answer
// files, downloads the new setup program as "<key>.unconfirmed", confirms it by SHA-1, gives
// it its name in one rename and starts it with "/verysilent" once the user agrees; a chosen
// database archive is fetched and confirmed the same way and replaces the one in use. Everything
// it shows or asks goes through the window (IUpdateCheckView).
#pragma once
#include <afx.h>

#include <atomic>
#include <functional>

#include "CheckUpdateSwitches.h"
#include "DownloadInfo.h"
#include "UpdateCheckView.h"
#include "UpdateDownloader.h"

class CUpdateCheckEngine : public IUpdateDownloadSink {
 public:
  enum QueryKind { kQueryProgram, kQueryDatabase };
  static constexpr LPCTSTR kUnconfirmedSuffix = _T(".unconfirmed");
  static constexpr LPCTSTR kSetupSwitches = _T("/verysilent");

  CUpdateCheckEngine(IUpdateCheckView& view, const tagCheckUpdateSwitches& switches);

  // Binds the download library; when it cannot, says so ("IDS_DOWNLOAD_DLL_NOTFOUND") and
  // answers FALSE (the window then ends the program).
  BOOL LoadDownloaderLibrary(LPCTSTR libraryName = CUpdateDownloader::kLibraryName);
  // 0 nothing found or failed, 1 or more found, 3 no connection.
  int CheckForUpdates(BOOL programOnly);
  // The query address of the kind; its length (0: no query can be made).
  int BuildQueryUrl(QueryKind kind, CString& url);
  // 1 done or nothing to do, 0 failed.
  int DownloadAppUpdate();
  // Fetches the database archive of the answer as "<name>.unconfirmed" beside the archive in
  // use, confirms it by SHA-1 and gives it that archive's place in one rename; an archive in use
  // that already matches is kept. 1 done, 0 failed (also for an answer without a digest).
  int DownloadDbUpdate();
  // Asks when the main program runs, then starts the confirmed setup program silently.
  void AskAndInstall();
  // The worker: check, results, the user's choice, download, then the install timer. One run
  // at a time in the process. Outside stage 0 (started from the list) the check is skipped.
  void RunWorker();
  static UINT UpdateThreadProc(LPVOID engine);

  void StopDownload() { m_downloader.StopDownload(); }
  BOOL WaitForDownloadEnd() { return m_downloader.WaitForDownloadEnd(); }

  // The folder of the answer files and the setup program (created when missing).
  CString GetUpdateFolder();
  const CDownloadInfo& GetDownloadInfo() const { return m_info; }
  const CString& GetSetupPath() const { return m_strSetupPath; }
  BOOL IsProgramDone() const { return m_bProgramDone; }
  // The installed version the last query was built with (empty before one).
  const CString& GetInstalledVersion() const { return m_strInstalledVersion; }
  BOOL IsDatabaseDone() const { return m_bDatabaseDone; }
  int GetItemsToFetch() const { return m_nItemsToFetch; }
  int GetItemsFetched() const { return m_nItemsFetched; }
  // What is being fetched (1 the program, 2 the database) and whether the database answer is
  // being asked for, for the window's progress display.
  int GetFetchStage() const { return m_nFetchStage; }
  BOOL IsDatabaseQuery() const { return m_bDbQuery.load() ? TRUE : FALSE; }
  // Replaces the pauses between steps (tests); null restores Sleep.
  void SetPause(std::function<void(DWORD)> pause);
  // The program's pauses, the window's too, all go through here.
  void Pause(DWORD ms);

  // IUpdateDownloadSink.
  void OnDownloadProgress(const CString& status, int percent, ULONGLONG received, ULONGLONG total) override;
  int OnDownloadQuestion(LPCWSTR text, int kind) override;

 private:
  CString Formatted(LPCTSTR stringId);
  BOOL FetchAnswer(LPCTSTR url, LPCTSTR file);
  // Downloads to the partial file, confirms its digest (when given) and renames it to the
  // target; anything that fails deletes the partial file.
  BOOL FetchConfirmed(LPCTSTR url, const CString& partial, LPCTSTR hash, int mode, LPCTSTR target);
  void CountFetched();
  BOOL OpenInBrowser(LPCTSTR url);
  void RunSetupSilently();
  BOOL IsQuiet() const;

  IUpdateCheckView& m_view;
  const tagCheckUpdateSwitches& m_switches;
  CUpdateDownloader m_downloader;
  CDownloadInfo m_info;
  CString m_strInstalledVersion;
  CString m_strSetupPath;  // the downloaded setup program; empty until downloaded
  BOOL m_bSetupReady = FALSE;  // downloaded whole in this run (and confirmed when a digest came)
  BOOL m_bProgramDone = FALSE;
  BOOL m_bDatabaseDone = FALSE;
  BOOL m_bDeclined = FALSE;
  std::atomic<bool> m_bDbQuery{false};  // read by the window while the worker runs
  int m_nCheckResult = 0;
  int m_nItemsToFetch = 0;
  int m_nItemsFetched = 0;
  std::atomic<int> m_nFetchStage{0};
  std::function<void(DWORD)> m_pause;
};

// True for an address the browser may be given: http:// or https:// followed by a host.
BOOL IsBrowserAddress(LPCTSTR url);
