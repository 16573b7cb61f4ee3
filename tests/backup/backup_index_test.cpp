// The backup catalogue "index.dat": one record byte by byte against a hand-written vector,
// reading back, and the bounds a damaged or hostile catalogue meets.
#include <gtest/gtest.h>

#include <windows.h>

#include "BackupIndex.h"
#include "DeviceRecord.h"
#include "DriverPackageFiles.h"
#include "cstring_printer.h"
#include "machine_fixture.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

// The mark, then a record of a device "AB" with the INF "c.inf", nine empty texts, the value
// 0x01020304, the folder "AB\" and the running count 1.
const std::uint8_t kOneRecord[] = {
    0x0B, 0x00, 0x00, 0x00,                                                  // mark 11
    0x02, 0x00, 0x41, 0x00, 0x42, 0x00,                                      // "AB"
    0x05, 0x00, 0x63, 0x00, 0x2E, 0x00, 0x69, 0x00, 0x6E, 0x00, 0x66, 0x00,  // "c.inf"
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // slots 2, 3, 4, 5, 7, 8
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                                      // slots 9, 10, 11
    0x04, 0x03, 0x02, 0x01,                                                  // first integer
    0x03, 0x00, 0x41, 0x00, 0x42, 0x00, 0x5C, 0x00,                          // "AB\"
    0x01, 0x00, 0x00, 0x00,                                                  // running count
};

std::string Bytes(const std::uint8_t* data, std::size_t size) { return std::string(reinterpret_cast<const char*>(data), size); }

BackupIndexStatus Parse(const std::string& bytes, std::vector<BackupIndexRecord>& records, DWORD& declared) {
  return ParseBackupIndex(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), records, declared);
}

TEST(BackupIndexTest, WritesARecordByteForByte) {
  tagDeviceDriverInfo device;
  device.szText[kSlotDeviceName].Set(_T("AB"));
  device.szText[kSlotInfPath].Set(_T("c.inf"));
  device.szText[kSlotManufacturer].Set(_T("not in the catalogue"));
  device.nValues[0] = 0x01020304;
  const std::string written = BackupIndexMarkBytes() + BackupIndexRecordBytes(MakeBackupIndexRecord(device, _T("AB\\"), 1));
  EXPECT_EQ(written, Bytes(kOneRecord, sizeof kOneRecord));
}

TEST(BackupIndexTest, ReadsTheRecordBack) {
  std::vector<BackupIndexRecord> records;
  DWORD declared = 0;
  ASSERT_EQ(ParseBackupIndex(kOneRecord, sizeof kOneRecord, records, declared), BackupIndexStatus::kOk);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(declared, 1u);
  EXPECT_EQ(records[0].texts[0], CString(_T("AB")));
  EXPECT_EQ(records[0].texts[1], CString(_T("c.inf")));
  EXPECT_EQ(records[0].value, 0x01020304);
  EXPECT_EQ(records[0].folder, CString(_T("AB\\")));
}

TEST(BackupIndexTest, LongTextsAreCutWhenWritten) {
  BackupIndexRecord record;
  record.texts[0] = CString(_T('x'), 300);
  const std::string bytes = BackupIndexMarkBytes() + BackupIndexRecordBytes(record);
  std::vector<BackupIndexRecord> records;
  DWORD declared = 0;
  Parse(bytes, records, declared);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].texts[0].GetLength(), kBackupIndexWriteLimit);
}

TEST(BackupIndexTest, DamagedCataloguesAreReportedWithoutReadingPastTheEnd) {
  const std::string whole = Bytes(kOneRecord, sizeof kOneRecord);
  std::vector<BackupIndexRecord> records;
  DWORD declared = 0;
  // Every truncation is caught: the mark alone is an empty catalogue, anything shorter has
  // no mark, anything between is a record cut short.
  for (std::size_t keep = 0; keep < whole.size(); ++keep) {
    const BackupIndexStatus status = Parse(whole.substr(0, keep), records, declared);
    if (keep < 4) EXPECT_EQ(status, BackupIndexStatus::kBadMark) << keep;
    else if (keep == 4) EXPECT_EQ(status, BackupIndexStatus::kOk) << keep;
    else EXPECT_EQ(status, BackupIndexStatus::kDamaged) << keep;
    EXPECT_TRUE(records.empty());
  }
  EXPECT_TRUE(records.empty());
  // A mark other than 11.
  std::string other = whole;
  other[0] = 12;
  EXPECT_EQ(Parse(other, records, declared), BackupIndexStatus::kBadMark);
  // A text count far beyond the bytes there are, and one beyond the readers' limit.
  std::string huge = whole;
  huge[4] = '\xFF';
  huge[5] = '\xFF';
  EXPECT_EQ(Parse(huge, records, declared), BackupIndexStatus::kDamaged);
  std::string overLimit = BackupIndexMarkBytes();
  overLimit += std::string("\x01\x02", 2) + std::string(2 * 513, 'a');
  EXPECT_EQ(Parse(overLimit, records, declared), BackupIndexStatus::kDamaged);
  // A count at the end that disagrees with the records.
  std::string wrongCount = whole;
  wrongCount[wrongCount.size() - 4] = 7;
  EXPECT_EQ(Parse(wrongCount, records, declared), BackupIndexStatus::kDamaged);
  EXPECT_EQ(declared, 7u);
  EXPECT_EQ(records.size(), 1u);
}

TEST(BackupIndexTest, RecordsBeyondWhatAnArchiveHoldsAreRefused) {
  BackupIndexRecord record;
  std::string bytes = BackupIndexMarkBytes();
  for (DWORD count = 1; count <= kBackupIndexMaxRecords; ++count) {
    record.runningCount = count;
    bytes += BackupIndexRecordBytes(record);
  }
  std::vector<BackupIndexRecord> records;
  DWORD declared = 0;
  EXPECT_EQ(Parse(bytes, records, declared), BackupIndexStatus::kOk);
  EXPECT_EQ(records.size(), kBackupIndexMaxRecords);
  record.runningCount = kBackupIndexMaxRecords + 1;
  EXPECT_EQ(Parse(bytes + BackupIndexRecordBytes(record), records, declared), BackupIndexStatus::kDamaged);
  EXPECT_EQ(records.size(), kBackupIndexMaxRecords);
  // A count at the end beyond the bound, over the records there are.
  std::string absurd = bytes;
  absurd.replace(absurd.size() - 4, 4, "\xFF\xFF\xFF\xFF", 4);
  EXPECT_EQ(Parse(absurd, records, declared), BackupIndexStatus::kDamaged);
  EXPECT_EQ(declared, 0xFFFFFFFFu);
}

TEST(BackupIndexTest, RecordFoldersMustStayInside) {
  EXPECT_TRUE(IsSafeRelativeFolder(_T("Intel Network\\")));
  EXPECT_TRUE(IsSafeRelativeFolder(_T("a\\b\\")));
  EXPECT_TRUE(IsSafeRelativeFolder(_T("")));
  EXPECT_FALSE(IsSafeRelativeFolder(_T("..\\")));
  EXPECT_FALSE(IsSafeRelativeFolder(_T("a\\..\\..\\")));
  EXPECT_FALSE(IsSafeRelativeFolder(_T("a/../")));
  EXPECT_FALSE(IsSafeRelativeFolder(_T("\\Windows\\")));
  EXPECT_FALSE(IsSafeRelativeFolder(_T("C:\\Windows\\")));
  EXPECT_FALSE(IsSafeRelativeFolder(_T("C:x")));
}

class BackupIndexFileTest : public MachineTest {};

TEST_F(BackupIndexFileTest, LooksUpDevicesByName) {
  std::string host;
  zx::path::WindowsToHost(u"C:\\Backup\\index.dat", host);
  WriteHostFile(host, Bytes(kOneRecord, sizeof kOneRecord));
  EXPECT_TRUE(FindBackupIndexEntry(_T("C:\\Backup\\index.dat"), _T("AB")));
  EXPECT_FALSE(FindBackupIndexEntry(_T("C:\\Backup\\index.dat"), _T("ab")));
  EXPECT_FALSE(FindBackupIndexEntry(_T("C:\\Backup\\missing.dat"), _T("AB")));
  std::vector<BackupIndexRecord> records;
  DWORD declared = 0;
  EXPECT_EQ(ReadBackupIndexFile(_T("C:\\Backup\\missing.dat"), records, declared), BackupIndexStatus::kMissing);
}

}  // namespace
}  // namespace zx::test
