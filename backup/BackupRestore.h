// CBackupRestore: the driver backup engine. It copies the files of a list of installed
// drivers into a staging folder, one subfolder per driver, and appends one record per driver
// to the folder's catalogue "index.dat". Links are never followed: a package file that is a
// link is left out and counted.
#pragma once
#include <afx.h>

#include <functional>
#include <map>
#include <set>
#include <string>

#include "DeviceRecord.h"
#include "DriverPackageFiles.h"

class CBackupRestore : public CObject {
 public:
  // Answers of BackupDriver.
  enum Result { kRefusedFirstStep = 0, kStopped = 19, kDone = 32, kFailed = 33 };
  // The progress report: the drivers and the percent; false stops the backup.
  using Progress = std::function<bool(CDeviceRecordArray* drivers, int percent)>;

  // The plain engine (the Windows folder is read when a backup needs it).
  CBackupRestore();
  // The engine of a single-driver backup, given the system's Windows folder.
  explicit CBackupRestore(LPCTSTR windowsFolder);
  ~CBackupRestore() override;

  // Backs up drivers 0 .. count-1 into the folder (with or without a trailing backslash);
  // drivers whose folder names are equal share the folder and the first one's record, and a
  // driver whose folder name is the first text of a record already there gets no new record:
  // 32 done (files that could not be copied do not change that), 19 stopped on request,
  // 0 the progress refused a driver's first step, 33 it refused a later step.
  int BackupDriver(LPCTSTR folder, CDeviceRecordArray& drivers, int count);

  // The progress report; the engine's scan progress callback unless replaced.
  void SetProgress(Progress progress) { m_progress = std::move(progress); }
  // Told each driver with a name or a driver key before its first progress step.
  void SetDriverShown(DriverShownFn shown) { m_shown = std::move(shown); }
  // The package files of the last backup left out because they were links.
  int GetSkippedLinks() const { return m_skippedLinks; }

  // The folder a driver's files go to, from its device name: the name without any character
  // a file name may not hold (not only the first kind StripFileNameChars takes out), without
  // leading blanks or trailing blanks and dots, at most 255 characters; empty when nothing is
  // left. So a name never leads out of the staging folder.
  static CString DriverFolderName(const CString& deviceName);

 private:
  // What BackupOneDriver answers when the backup goes on with the next driver.
  static constexpr int kContinue = -1;
  // One driver's folder, files and record: kContinue, or the answer that ends the backup.
  int BackupOneDriver(const CString& staging, const CString& indexPath, CDeviceRecordArray& drivers, int count, int i);
  bool Step(CDeviceRecordArray& drivers, int count);
  bool StopRequested();
  int AcknowledgeStop();
  bool CollectDriverStoreFiles(const CString& infName, const CString& infPath);
  // False when a stop request ended the search for a missing file.
  bool CopyListedFiles(const CString& driverFolder);
  // Finds a missing package file by name below the Windows folder, then below the drive root
  // outside the Windows folders: 1 found (the path is replaced), 0 not, 19 stopped. A name
  // is searched for once per backup.
  int SearchMissingFile(CString& path);
  bool AppendRecord(const CString& indexPath, const tagDeviceDriverInfo& driver, const CString& relative);

  CString m_windows;
  bool m_newerWindows = false;  // Windows 6 or later: package files come from the driver store
  bool m_driverStoreMode = false;
  DWORD m_runningCount = 0;
  int m_steps = 0;
  int m_skippedLinks = 0;
  std::set<std::u16string> m_recordedFolders;  // upper-cased folders the catalogue has records of
  std::set<std::u16string> m_recordedNames;    // the first texts of the catalogue's records
  std::map<std::u16string, CString> m_searched;  // upper-cased missing file names: found path or ""
  CStringArray m_copyList;
  CStringArray m_driverStore;
  CInfPackageFiles m_packageFiles;
  Progress m_progress;
  DriverShownFn m_shown;
};
