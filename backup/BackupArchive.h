// Packing a backup's staging folder into the backup zip archive, and the archive's name.
#pragma once
#include <afx.h>
#include <windows.h>

// What a packing met: the files packed, the links left out (never followed) and the zip
// writer's result of the step that failed (0 when none did).
struct BackupPackReport {
  int files = 0;
  int skippedLinks = 0;
  DWORD zipResult = 0;
};

// Answers of CompressBackupFolder.
enum BackupPackResult { kPackNotCreated = -2, kPackFailed = -1, kPackNothing = 0, kPacked = 1, kPackStopped = 19 };

// Packs every file below the folder (names relative to it) into the zip file through the zip
// writer. The archive is written under "<zipPath>.part" and renamed when whole, so nothing is
// left at zipPath unless it was packed: -2 the archive could not be created at all, -1 a file
// could not be added or the archive could not be written (a full disk, an entry the format
// cannot hold), 0 no file to pack, 1 packed, 19
// the engine's stop request was seen before a file and acknowledged.
int CompressBackupFolder(LPCTSTR folder, LPCTSTR zipPath, BackupPackReport* report = nullptr);

// The archive's file name: the prefix (the language text "IDS_HYPHN_BCKUP"), the time
// written "%A,%d-%b-%Y_H%H-M%M-S%S", and ".zip".
CString MakeBackupArchiveName(const CString& prefix, const SYSTEMTIME& time);

// CDriverScanUpdate::MakeBackupName reads such a name back to its date and time.

// The path in the folder of the archive of a backup made at that time. When a file of that
// name is there already (a second backup within the same second) the name gets "_2", "_3"...
// before ".zip", so no backup overwrites another.
CString MakeFreeBackupArchivePath(const CString& folder, const CString& prefix, const SYSTEMTIME& time);
