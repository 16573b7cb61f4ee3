// The compression step of a backup made from the backup pages: the free-space check of the
// backup folder's volume, the dated archive written into the backup folder and entered in the
// backup list, and the staging folder removed afterwards.
#pragma once
#include <afx.h>
#include <afxcoll.h>
#include <windows.h>

#include <functional>

// The size in bytes of the files below the folder, recursively, leaving out files named
// "desktop.ini" and "index.dat".
double GetBackupFolderSize(LPCTSTR folder);

// The language text "IDS_HYPHN_BCKUP" used as a format with the application name (a text
// whose conversions do not fit is taken as it stands), all blanks removed: the first part of
// every archive name.
CString MakeBackupNamePrefix();

// Answers of CompressBackup. A write failure is one of the zip writer while adding or closing.
enum BackupCompressResult {
  kCompressNoSpace = -1,
  kCompressNothing = 0,
  kCompressDone = 1,
  kCompressStopped = 19,
  kCompressWriteFailed = -2,
};

struct BackupCompressJob {
  CString staging;
  CString backupFolder;
  // The local time the archive is named for.
  SYSTEMTIME time{};
  // The backup list (archive name to path) the archive joins; may be null.
  CMapStringToString* backupList = nullptr;
  // The bytes free to the caller on a volume ("C:\"); GetDiskFreeSpaceExW when empty.
  std::function<bool(LPCTSTR volume, ULONGLONG& freeBytes)> freeSpace;
  // Told when the staging folder is about to be removed; may be empty.
  std::function<void()> removingStaging;
};

// Checks that the backup folder's volume has room for the staging folder's files (an unknown
// free space counts as too little), then packs them into a free archive name of the backup
// folder (made when missing) and removes the staging folder. `archivePath` receives the
// archive written. Too little room, or a backup folder or archive that cannot be created,
// answer kCompressNoSpace with the staging folder kept for a second try in another folder.
int CompressBackup(const BackupCompressJob& job, CString* archivePath = nullptr);
