// Restore and backup of drivers: the backup catalogue read for the restore page, the restore
// of the ticked drivers of a backup folder, the driver restore program "Ravolt.exe", and the
// backup of one driver with file-system redirection off.
#pragma once
#include <afx.h>

#include <functional>
#include <memory>

#include "DeviceRecord.h"

struct BackupIndexRecord;

// How long the restore program is given: a first wait and, when it runs on, a second one.
constexpr DWORD kRestoreFirstWaitMs = 120000;
constexpr DWORD kRestoreSecondWaitMs = 1800000;

// The records of the folder's "index.dat" (folder with or without a trailing backslash), one
// more than were read, the last one empty; null (count 0) when there is no catalogue or it
// does not start with the mark. A damaged catalogue gives the records read before the damage.
std::unique_ptr<CDeviceRecordArray> ReadBackupIndex(LPCTSTR backupFolder, int& count);

// The INF of a catalogue record: the backup folder + the folder of the record's folder text +
// the file name of its INF path; empty when either part would lead outside the backup folder.
CString InfLocation(const CString& backupFolder, const BackupIndexRecord& record);

// Restores the drivers of the backup folder whose device names match the ticked records
// 0 .. lastIndex: each INF is copied into the driver store (or pre-installed) and handed to
// the restore program in the tool folder. Answers 34 when there is no catalogue, 33 when it
// does not start with the mark or is damaged (then nothing is restored), 20 when a cancel
// request stopped it, else the last record's result value. `failures` counts the ticked
// records whose value was 0; a record whose folder or INF name would lead outside the backup
// folder is not restored and counts as a failure. `progress` gets each percent, `shown` the
// name and class of each record restored.
int RestoreDriversFromIndex(LPCTSTR backupFolder, LPCTSTR toolFolder, CDeviceRecordArray& ticked, int lastIndex,
                            int& failures, const std::function<void(int percent)>& progress = {},
                            const DriverShownFn& shown = {});

// Runs "<folder>\Ravolt.exe update "<INF>" "<hardware id>"" hidden; true when it ended within
// the waits with exit code 0 (installed). A run past both waits is ended.
bool RunRestoreProgram(LPCTSTR hardwareId, LPCTSTR infPath, LPCTSTR folder);

// Backs up the driver at index into the backup folder with file-system redirection off; the
// backup engine's answer, 33 when it failed unexpectedly.
int BackupDriverAt(LPCTSTR backupFolder, CDeviceRecordArray& records, int index);
