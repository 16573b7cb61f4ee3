// Packing a backup's staging folder into the backup zip archive, and the archive's name.
#pragma once
#include <afx.h>
#include <windows.h>

// Packs every file below the folder (names relative to it, folders with "/") into the zip
// file: 1 packed, 0 no file to pack, -1 the archive could not be written (nothing is left at
// zipPath then: the archive is written under a temporary name and renamed when whole).
int CompressBackupFolder(LPCTSTR folder, LPCTSTR zipPath);

// The archive's file name: the prefix (the language text "IDS_HYPHN_BCKUP"), the time
// written "%A,%d-%b-%Y_H%H-M%M-S%S", and ".zip".
CString MakeBackupArchiveName(const CString& prefix, const SYSTEMTIME& time);
