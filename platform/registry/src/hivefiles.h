// File helpers of the hive store: whole-file reads, durable replacement, moving a damaged
// file aside, the inter-process lock and the shared change counter.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace zx::registry {

// Which file a path named when it was looked at (files are replaced, never rewritten).
struct FileId {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileId&) const = default;
};
FileId IdOfPath(const std::string& path);
FileId IdOfDescriptor(int fd);

// Reads the whole file; false when it cannot be opened or read (a missing file is read as
// empty with *id saying it does not exist).
bool ReadWholeFile(const std::string& path, std::string& bytes, FileId& id);
// Reads from offset from to the end of the file, or at most limit bytes.
bool ReadFrom(int fd, std::size_t from, std::string& bytes, std::size_t limit = SIZE_MAX);
// Writes every byte (retrying short writes).
bool WriteAll(int fd, std::string_view bytes);
// Writes bytes to tmpPath and fsyncs it; answers the open descriptor (O_APPEND), or -1.
int WriteSyncedFile(const std::string& tmpPath, std::string_view bytes);
// Renames and makes the rename durable (fsync of the folder).
bool RenameDurably(const std::string& from, const std::string& to);
// Gives the file a second name "<path>.damaged-<local time>" that keeps its bytes once the
// path is replaced; answers that name, or "" when it could not be made.
std::string LinkAside(const std::string& path);

// A POSIX write lock on the whole of a file, held for the object's life. Locks of this kind
// belong to the process, so a forked child that inherited the descriptor still waits for
// its parent; threads of one process must exclude each other themselves.
class FileLock {
 public:
  explicit FileLock(int fd);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool held() const { return held_; }

 private:
  int fd_;
  bool held_;
};

// A 64-bit counter in a small file mapped shared by every process that opens it.
class SharedCounter {
 public:
  SharedCounter() = default;
  ~SharedCounter();
  SharedCounter(const SharedCounter&) = delete;
  SharedCounter& operator=(const SharedCounter&) = delete;
  // Opens (creating) the file and maps it; false on failure.
  bool Open(const std::string& path);
  int fd() const { return fd_; }
  std::uint64_t Load() const;
  // Adds one; answers the new value.
  std::uint64_t Bump();

 private:
  int fd_ = -1;
  std::uint64_t* value_ = nullptr;
};

}  // namespace zx::registry
