// CDriverPackageFetch: the per-driver steps of the download-and-install run. For one chosen
// update it asks the update web service where the package lies and what its MD5 is, reuses a
// package already on disk with that MD5, otherwise fetches it through the download library
// into a partial file, checks the MD5 (one more try), and records where the package lies.
#pragma once
#include <afx.h>

#include <atomic>
#include <functional>

class CDownloaderLibrary;
class CDriverScanUpdate;
class CUpdateServiceHelper;

// The extension of a package address: the part after the last "." of its last path segment
// (query and fragment left out), when it is letters and digits only; empty otherwise.
CString PackageExtensionOf(const CString& address);

// The file name a driver key gives its package: every character a file name cannot hold (the
// separators, ":*?\"<>|" and control characters) becomes "_", so the package stays in the
// download folder whatever the key holds.
CString PackageFileBaseName(const CString& driverKey);

class CDriverPackageFetch {
 public:
  // Answers of FetchAndDownloadDriver.
  enum Result { kHandled = 1, kStopped = 0, kNoAnswer = -2, kUnusable = -5 };
  // Last error codes.
  static constexpr int kErrorNoAnswer = -2;
  static constexpr int kErrorCannotSave = -10;

  using StatusLineFn = std::function<void(const CString& line)>;
  using ProgressFn = std::function<void(int itemPercent)>;
  using MessageFn = std::function<void(const CString& text, UINT icon)>;

  CDriverPackageFetch(CDriverScanUpdate& engine, CUpdateServiceHelper& helper, CDownloaderLibrary* library);

  // The folder packages are downloaded into (created when missing).
  void SetDownloadFolder(const CString& folder) { m_downloadFolder = folder; }
  // The main window's two other work folders, created with the download folder.
  void SetWorkFolders(const CString& first, const CString& second);
  // Where the list of downloaded packages is kept ("Download.dat"); saved whenever it changes.
  void SetFileListPath(const CString& path) { m_fileListPath = path; }
  void SetOsIdText(const CString& osId) { m_osId = osId; }
  // Whether the link answer comes back enciphered (as the service helper's exchange flag says).
  void SetLinkAnswerEnciphered(BOOL enciphered) { m_answerEnciphered = enciphered; }
  // Where status lines go (the run's status list).
  void SetStatusLine(StatusLineFn sink) { m_statusLine = std::move(sink); }
  // Where the item's percentage goes (the run's progress bar).
  void SetProgress(ProgressFn sink) { m_progress = std::move(sink); }
  // Where messages for the user go; none are shown in progress-notify mode.
  void SetMessageBox(MessageFn sink) { m_messageBox = std::move(sink); }
  void SetProgressNotify(BOOL notify) { m_progressNotify = notify; }
  // Where a fetched driver's result row is marked downloaded; the engine's rows by default. A
  // window that runs fetches on another thread marks its rows itself and sets an empty one.
  using RowStateFn = std::function<void(int row, int state)>;
  void SetRowStateSink(RowStateFn sink) {
    m_rowState = std::move(sink);
    m_ownRowState = true;
  }
  // The connection flag: a failed transfer is blamed on the connection.
  void SetConnectionFlag(BOOL flag) { m_connection = flag; }

  // Asks the running transfer to stop; the request holds until cleared for the next run.
  void RequestStop();
  void ClearStopRequest() { m_stop.store(false); }
  bool IsStopRequested() const { return m_stop.load(); }

  // Fetches the package of the driver at index (its result row is row): 1 handled (look at
  // IsDownloaded), 0 stopped or nothing to fetch, -2 no answer from the service, -5 request or
  // answer unusable.
  int FetchAndDownloadDriver(int driverIndex, int row);
  // One transfer and the MD5 check, one more transfer when it differs; false leaves no file.
  bool DownloadAndVerify(const CString& file, const CString& address);
  // One transfer through the library into the partial file, renamed to file when it worked.
  int DownloadThroughLibrary(const CString& address, const CString& file, bool deleteFirst);

  static bool BuildLinkRequestXml(const CString& hardwareId, const CString& osId, CString& document);
  // Reads "url" and a non-empty "hashstring"; the answer is emptied. False when an
  // enciphered answer does not decode.
  static bool ParseLinkAnswerXml(CString& answer, BOOL enciphered, CString& address, CString& checksum);

  // Driver key (stripped, lower-cased matched id) to package path of every package on disk.
  CMapStringToString& GetDownloadedPackages() { return m_packages; }
  // The driver key of a driver's update (its matched id without file-name characters, in
  // lower case); empty without an update record.
  CString DriverKeyOf(int driverIndex) const;
  // Whether the package list holds the driver's key.
  bool HasPackageFor(int driverIndex) const;
  // Stores the package list at the file list path; false when it could not be written.
  bool SaveFileList();
  bool IsDownloaded() const { return m_downloadedOk; }
  int GetDownloadCount() const { return m_downloadCount; }
  int GetLastErrorCode() const { return m_lastError; }
  int GetItemPercent() const { return m_itemPercent; }
  const CString& GetAddress() const { return m_address; }
  const CString& GetChecksum() const { return m_checksum; }

 private:
  void Status(LPCTSTR textId, const CString& name);
  void CreateWorkFolders() const;

  CDriverScanUpdate& m_engine;
  CUpdateServiceHelper& m_helper;
  CDownloaderLibrary* m_library;
  CString m_downloadFolder;
  CString m_workFolders[2];
  CString m_fileListPath;
  CString m_osId;
  BOOL m_answerEnciphered = TRUE;
  StatusLineFn m_statusLine;
  ProgressFn m_progress;
  MessageFn m_messageBox;
  RowStateFn m_rowState;
  bool m_ownRowState = false;
  BOOL m_progressNotify = FALSE;
  std::atomic<bool> m_stop{false};
  bool m_downloadedOk = false;
  BOOL m_connection = FALSE;
  int m_lastError = 0;
  int m_downloadCount = 0;
  int m_itemPercent = 0;
  CString m_address;
  CString m_checksum;
  CMapStringToString m_runFiles;  // address -> file fetched in this run
  CMapStringToString m_packages;
};
