// Reads a whole file piece by piece for the digest classes, through the Win32 file API.
#include "DigestFileReader.h"

#include <vector>

namespace {

// Large pieces keep the number of reads of a multi-gigabyte file low.
constexpr DWORD kPieceSize = 1024 * 1024;

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (IsOpen()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

bool ReadFileToEnd(LPCTSTR path, DWORD shareMode, const std::function<void(const BYTE*, DWORD)>& sink) {
  if (path == nullptr || *path == 0) return false;
  const FileHandle file(CreateFileW(path, GENERIC_READ, shareMode, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) return false;
  std::vector<BYTE> piece(kPieceSize);
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), piece.data(), kPieceSize, &read, nullptr)) return false;
    if (read == 0) return true;
    sink(piece.data(), read);
  }
}
