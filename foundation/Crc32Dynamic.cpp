// CCrc32Dynamic over the shared CRC-32 step.
#include "Crc32Dynamic.h"

#include <algorithm>
#include <memory>

#include "Crc32Kernel.h"

namespace {

constexpr DWORD kInitial = 0xFFFFFFFFu;
constexpr DWORD kReadBlock = 4096;
constexpr ULONGLONG kViewBytes = 0xA00000;  // 10 MiB, a multiple of the mapping granularity
constexpr std::size_t kTableSize = kCrc32SliceTables * kCrc32TableEntries;

// Owns an open handle for one call.
struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using ScopedHandle = std::unique_ptr<void, HandleCloser>;

HANDLE OpenForCrc(LPCTSTR path) {
  return CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                     FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_SYSTEM |
                         FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY,
                     nullptr);
}

}  // namespace

CCrc32Dynamic::CCrc32Dynamic() : m_pdwCrc32Table(nullptr) {}

CCrc32Dynamic::CCrc32Dynamic(const CCrc32Dynamic& other) : m_pdwCrc32Table(nullptr) { *this = other; }

CCrc32Dynamic& CCrc32Dynamic::operator=(const CCrc32Dynamic& other) {
  if (&other == this) return *this;
  FreeTable();
  if (other.m_pdwCrc32Table != nullptr) {
    m_pdwCrc32Table = new DWORD[kTableSize];
    std::copy(other.m_pdwCrc32Table, other.m_pdwCrc32Table + kTableSize, m_pdwCrc32Table);
  }
  return *this;
}

CCrc32Dynamic::~CCrc32Dynamic() { FreeTable(); }

void CCrc32Dynamic::BuildTable() {
  FreeTable();
  m_pdwCrc32Table = new DWORD[kTableSize];
  BuildCrc32Tables(m_pdwCrc32Table);
}

void CCrc32Dynamic::FreeTable() {
  delete[] m_pdwCrc32Table;
  m_pdwCrc32Table = nullptr;
}

void CCrc32Dynamic::UpdateByte(BYTE byte, DWORD& crc) const {
  if (m_pdwCrc32Table != nullptr) crc = (crc >> 8) ^ m_pdwCrc32Table[(crc & 0xFF) ^ byte];
}

BOOL CCrc32Dynamic::GetFileSize64(HANDLE file, ULONGLONG& size) {
  DWORD high = 0;
  SetLastError(ERROR_SUCCESS);
  const DWORD low = GetFileSize(file, &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS) {
    size = 0;
    return FALSE;
  }
  size = (static_cast<ULONGLONG>(high) << 32) | low;
  return TRUE;
}

DWORD CCrc32Dynamic::CrcOfString(LPCTSTR text, DWORD& crc) const {
  crc = 0;
  if (m_pdwCrc32Table == nullptr) return ERROR_CRC;
  if (text == nullptr) return ERROR_INVALID_PARAMETER;
  DWORD value = kInitial;
  for (LPCTSTR at = text; *at != 0; ++at) UpdateByte(static_cast<BYTE>(*at & 0xFF), value);
  crc = ~value;
  return ERROR_SUCCESS;
}

template <class Feed>
DWORD CCrc32Dynamic::CrcOfFile(LPCTSTR path, DWORD& crc, Feed feed) const {
  crc = 0;
  if (m_pdwCrc32Table == nullptr) return ERROR_CRC;
  ScopedHandle file(OpenForCrc(path));
  if (file.get() == INVALID_HANDLE_VALUE) {
    file.release();
    return GetLastError();
  }
  DWORD value = kInitial;
  BYTE block[kReadBlock];
  for (DWORD read = 0;; value = feed(value, block, read)) {
    // A read that fails is an error, not the end of the file.
    if (!ReadFile(file.get(), block, kReadBlock, &read, nullptr)) return GetLastError();
    if (read == 0) break;
  }
  crc = ~value;
  return ERROR_SUCCESS;
}

DWORD CCrc32Dynamic::CrcOfFileByRead(LPCTSTR path, DWORD& crc) const {
  return CrcOfFile(path, crc, [this](DWORD value, const BYTE* bytes, DWORD count) {
    for (DWORD i = 0; i < count; ++i) UpdateByte(bytes[i], value);
    return value;
  });
}

DWORD CCrc32Dynamic::CrcOfFileByReadFast(LPCTSTR path, DWORD& crc) const {
  return CrcOfFile(path, crc, [this](DWORD value, const BYTE* bytes, DWORD count) {
    return AdvanceCrc32(m_pdwCrc32Table, value, bytes, count);
  });
}

DWORD CCrc32Dynamic::CrcOfFileByMapping(LPCTSTR path, DWORD& crc) const {
  crc = 0;
  if (m_pdwCrc32Table == nullptr) return ERROR_CRC;
  ScopedHandle file(OpenForCrc(path));
  if (file.get() == INVALID_HANDLE_VALUE) {
    file.release();
    return GetLastError();
  }
  ULONGLONG size = 0;
  if (!GetFileSize64(file.get(), size)) return ERROR_BAD_LENGTH;
  DWORD value = kInitial;
  if (size != 0) {
    const ScopedHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (mapping == nullptr) return GetLastError();
    for (ULONGLONG offset = 0; offset < size; offset += kViewBytes) {
      const SIZE_T length = static_cast<SIZE_T>(std::min(kViewBytes, size - offset));
      const void* view = MapViewOfFile(mapping.get(), FILE_MAP_READ, static_cast<DWORD>(offset >> 32),
                                       static_cast<DWORD>(offset), length);
      if (view == nullptr) return GetLastError();
      value = AdvanceCrc32(m_pdwCrc32Table, value, static_cast<const BYTE*>(view), length);
      UnmapViewOfFile(view);
    }
  }
  crc = ~value;
  return ERROR_SUCCESS;
}
