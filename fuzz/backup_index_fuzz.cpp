// Fuzz target: hostile bytes read as a backup catalogue "index.dat". Reading must stay within
// the bytes, answer a status, and every record read must write back to the same bytes it was
// read from when the catalogue is whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

// The catalogue reader lives in the main program's core library, which fuzz targets do not
// link: its one source file is compiled in here.
#include "../backup/BackupIndex.cpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<BackupIndexRecord> records;
  DWORD declared = 0;
  const BackupIndexStatus status = ParseBackupIndex(data, size, records, declared);
  if (status == BackupIndexStatus::kBadMark && !records.empty()) std::abort();
  if (status != BackupIndexStatus::kOk) return 0;
  if (records.size() != declared) std::abort();
  std::string written = BackupIndexMarkBytes();
  for (const BackupIndexRecord& record : records) written += BackupIndexRecordBytes(record);
  // Texts longer than the writer keeps are cut, so only catalogues within its limit compare.
  bool withinLimit = true;
  for (const BackupIndexRecord& record : records) {
    for (const CString& text : record.texts) withinLimit = withinLimit && text.GetLength() <= kBackupIndexWriteLimit;
    withinLimit = withinLimit && record.folder.GetLength() <= kBackupIndexWriteLimit;
  }
  if (withinLimit && written != std::string(reinterpret_cast<const char*>(data), size)) std::abort();
  return 0;
}
