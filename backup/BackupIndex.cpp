// Writing and reading the records of the backup catalogue "index.dat".
#include "BackupIndex.h"

#include <windows.h>

#include <algorithm>

namespace {

void PutDword(std::string& bytes, DWORD value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutText(std::string& bytes, const CString& text) {
  const int length = std::min(text.GetLength(), kBackupIndexWriteLimit);
  bytes.push_back(static_cast<char>(length & 0xFF));
  bytes.push_back(static_cast<char>(length >> 8));
  for (int i = 0; i < length; ++i) {
    const auto ch = static_cast<std::uint16_t>(text[i]);
    bytes.push_back(static_cast<char>(ch & 0xFF));
    bytes.push_back(static_cast<char>(ch >> 8));
  }
}

// A bounded cursor over the catalogue's bytes.
class Cursor {
 public:
  Cursor(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  bool AtEnd() const { return m_offset >= m_size; }
  std::size_t Left() const { return m_size - m_offset; }
  bool Dword(DWORD& value) {
    if (Left() < 4) return false;
    value = static_cast<DWORD>(m_data[m_offset]) | static_cast<DWORD>(m_data[m_offset + 1]) << 8 |
            static_cast<DWORD>(m_data[m_offset + 2]) << 16 | static_cast<DWORD>(m_data[m_offset + 3]) << 24;
    m_offset += 4;
    return true;
  }
  bool Text(CString& text) {
    if (Left() < 2) return false;
    const std::size_t count = m_data[m_offset] | m_data[m_offset + 1] << 8;
    if (count > static_cast<std::size_t>(kBackupIndexReadLimit) || Left() - 2 < count * 2) return false;
    m_offset += 2;
    std::u16string characters(count, u'\0');
    for (std::size_t i = 0; i < count; ++i) {
      characters[i] = static_cast<char16_t>(m_data[m_offset + 2 * i] | m_data[m_offset + 2 * i + 1] << 8);
    }
    m_offset += count * 2;
    text = CString(characters.data(), static_cast<int>(count));
    return true;
  }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_offset = 0;
};

}  // namespace

std::string BackupIndexMarkBytes() {
  std::string bytes;
  PutDword(bytes, kBackupIndexMark);
  return bytes;
}

std::string BackupIndexRecordBytes(const BackupIndexRecord& record) {
  std::string bytes;
  for (const CString& text : record.texts) PutText(bytes, text);
  PutDword(bytes, static_cast<DWORD>(record.value));
  PutText(bytes, record.folder);
  PutDword(bytes, record.runningCount);
  return bytes;
}

BackupIndexStatus ParseBackupIndex(const std::uint8_t* data, std::size_t size,
                                   std::vector<BackupIndexRecord>& records, DWORD& declaredCount) {
  records.clear();
  declaredCount = 0;
  Cursor cursor(data, size);
  DWORD mark = 0;
  if (!cursor.Dword(mark) || mark != kBackupIndexMark) return BackupIndexStatus::kBadMark;
  if (size >= 8) Cursor(data + size - 4, 4).Dword(declaredCount);
  while (!cursor.AtEnd()) {
    if (records.size() == kBackupIndexMaxRecords) return BackupIndexStatus::kDamaged;
    BackupIndexRecord record;
    bool whole = true;
    for (CString& text : record.texts) whole = whole && cursor.Text(text);
    DWORD value = 0;
    whole = whole && cursor.Dword(value) && cursor.Text(record.folder) && cursor.Dword(record.runningCount);
    if (!whole) return BackupIndexStatus::kDamaged;
    record.value = static_cast<int>(value);
    records.push_back(std::move(record));
  }
  return records.size() == declaredCount ? BackupIndexStatus::kOk : BackupIndexStatus::kDamaged;
}

BackupIndexStatus ReadBackupIndexFile(LPCTSTR path, std::vector<BackupIndexRecord>& records, DWORD& declaredCount) {
  records.clear();
  declaredCount = 0;
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return BackupIndexStatus::kMissing;
  LARGE_INTEGER size{};
  std::vector<std::uint8_t> bytes;
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart >= 0 && size.QuadPart < (64LL << 20);
  if (ok) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    ok = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size());
  }
  CloseHandle(file);
  if (!ok) return BackupIndexStatus::kMissing;
  return ParseBackupIndex(bytes.data(), bytes.size(), records, declaredCount);
}

bool IsSafeRelativeFolder(const CString& folder) {
  if (folder.IsEmpty()) return true;
  if (folder[0] == _T('\\') || folder[0] == _T('/') || folder.Find(_T(':')) >= 0) return false;
  int start = 0;
  for (int i = 0; i <= folder.GetLength(); ++i) {
    if (i < folder.GetLength() && folder[i] != _T('\\') && folder[i] != _T('/')) continue;
    CString step = folder.Mid(start, i - start);
    step.TrimRight(_T(" ."));
    if (step.IsEmpty() && i > start) return false;  // "..", "." and the like
    start = i + 1;
  }
  return true;
}
