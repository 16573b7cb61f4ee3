// The backup catalogue "index.dat": the 32-bit mark 11, then one record per backed-up
// driver (eleven texts of its device record, its first integer, the folder its files were
// stored in relative to the backup folder, and the running count of records), so that the
// last four bytes hold the number of records. Numbers are little-endian; each text is a
// 16-bit character count and that many UTF-16LE characters.
#pragma once
#include <afx.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>


struct tagDeviceDriverInfo;

constexpr DWORD kBackupIndexMark = 11;
constexpr int kBackupIndexTexts = 11;
// The device record's slots that the record's texts come from, in file order.
constexpr int kBackupIndexSlots[kBackupIndexTexts] = {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11};
// The writer keeps at most this many characters of a text; readers take up to the longer
// limit (what older catalogues may hold) and call a file with a longer text damaged.
constexpr int kBackupIndexWriteLimit = 259;
constexpr int kBackupIndexReadLimit = 512;
// The most records a catalogue holds: every record has a folder of its own with at least its
// INF, and a backup archive holds at most 65535 entries.
constexpr DWORD kBackupIndexMaxRecords = 65535;

struct BackupIndexRecord {
  CString texts[kBackupIndexTexts];
  int value = 0;        // the device record's first integer
  CString folder;       // where the files lie, relative to the backup folder
  DWORD runningCount = 0;
};

enum class BackupIndexStatus {
  kOk,
  kMissing,   // no file, or it cannot be read
  kBadMark,   // it does not start with the mark 11
  kDamaged,   // a record runs past the end, a text is too long, too many records, or the
              // count disagrees
};

// The bytes of a new catalogue's mark.
std::string BackupIndexMarkBytes();
// The bytes of one record with its running count.
std::string BackupIndexRecordBytes(const BackupIndexRecord& record);
// A record filled from a device record, its folder and its running count
// (BackupIndexRecord.cpp).
BackupIndexRecord MakeBackupIndexRecord(const tagDeviceDriverInfo& device, const CString& folder, DWORD runningCount);

// Reads a whole catalogue from memory. Every count and length is checked against the bytes
// there are; records read before damage is found are kept in `records`. `declaredCount` is
// the number in the last four bytes (0 when the file is shorter than the mark and a count).
BackupIndexStatus ParseBackupIndex(const std::uint8_t* data, std::size_t size,
                                   std::vector<BackupIndexRecord>& records, DWORD& declaredCount);
// Reads the catalogue file (a Windows path).
BackupIndexStatus ReadBackupIndexFile(LPCTSTR path, std::vector<BackupIndexRecord>& records,
                                      DWORD& declaredCount);

// Whether a folder text of a record is a plain relative path: no drive, no leading slash, no
// ".." step; so a restore never reads outside the backup folder.
bool IsSafeRelativeFolder(const CString& folder);
