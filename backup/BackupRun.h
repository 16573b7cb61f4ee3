// A whole driver backup without its windows: the staging folder made empty, the drivers
// backed up into it, the folder packed into the backup archive and removed again.
#pragma once
#include <afx.h>

#include "BackupArchive.h"
#include "BackupRestore.h"

// The answer of RunDriverBackup when the backup engine's progress refused a step; its other
// answers are the packer's (BackupPackResult).
constexpr int kBackupRefused = 33;

// Runs as the engine's operation (a stop request waits for its answer): sets the step code
// to 35, empties and recreates the staging folder, backs drivers 0 .. count-1 up into it with
// the progress given, packs it into the archive (its folder made when missing) and removes
// the staging folder whatever
// happened. A stop request (step code 19) seen while copying or packing is acknowledged and
// answers 19; then, as after any failure, no archive is left. `report` gets the packing's
// figures, its skipped links counting the engine's as well.
int RunDriverBackup(LPCTSTR staging, LPCTSTR archivePath, CDeviceRecordArray& drivers, int count,
                    const CBackupRestore::Progress& progress, BackupPackReport* report = nullptr);
