// File helpers of the hive store (Linux side).
#include "hivefiles.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <ctime>

namespace zx::registry {
namespace {

constexpr std::size_t kCounterFileSize = 64;

FileId IdOfStat(const struct stat& st) { return FileId{true, st.st_dev, st.st_ino}; }

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

bool LockWhole(int fd, short type) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  int rc;
  do rc = ::fcntl(fd, F_SETLKW, &lock);
  while (rc != 0 && errno == EINTR);
  return rc == 0;
}

}  // namespace

FileId IdOfPath(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? IdOfStat(st) : FileId{};
}

FileId IdOfDescriptor(int fd) {
  struct stat st;
  return ::fstat(fd, &st) == 0 ? IdOfStat(st) : FileId{};
}

bool ReadFrom(int fd, std::size_t from, std::string& bytes, std::size_t limit) {
  bytes.clear();
  struct stat st;
  if (::fstat(fd, &st) != 0) return false;
  const std::size_t size = static_cast<std::size_t>(st.st_size);
  bytes.resize(size > from ? std::min(size - from, limit) : 0);
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::pread(fd, bytes.data() + got, bytes.size() - got, static_cast<off_t>(from + got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;  // shorter than fstat said
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, FileId& id) {
  bytes.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    id = FileId{};
    return errno == ENOENT;
  }
  id = IdOfDescriptor(fd);
  const bool read = ReadFrom(fd, 0, bytes);
  ::close(fd);
  return read;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t wrote = ::write(fd, bytes.data(), bytes.size());
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(wrote));
  }
  return true;
}

int WriteSyncedFile(const std::string& tmpPath, std::string_view bytes) {
  const int fd = ::open(tmpPath.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return -1;
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) {
    ::close(fd);
    ::unlink(tmpPath.c_str());
    return -1;
  }
  return fd;
}

bool RenameDurably(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) return false;
  const int folder = ::open(FolderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

std::string LinkAside(const std::string& path) {
  const std::time_t now = std::time(nullptr);
  struct tm local;
  ::localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string base = path + ".damaged-" + stamp;
  for (int attempt = 1; attempt < 1000; ++attempt) {
    const std::string aside = attempt == 1 ? base : base + "-" + std::to_string(attempt);
    if (::link(path.c_str(), aside.c_str()) == 0) return aside;
    if (errno != EEXIST) return "";
  }
  return "";
}

FileLock::FileLock(int fd) : fd_(fd), held_(LockWhole(fd, F_WRLCK)) {}

FileLock::~FileLock() {
  if (held_) LockWhole(fd_, F_UNLCK);
}

SharedCounter::~SharedCounter() {
  if (value_ != nullptr) ::munmap(value_, kCounterFileSize);
  if (fd_ >= 0) ::close(fd_);
}

bool SharedCounter::Open(const std::string& path) {
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd_ < 0) return false;
  {
    // Grown under the lock, so no process maps it while it is shorter than the counter.
    FileLock lock(fd_);
    struct stat st;
    if (!lock.held() || ::fstat(fd_, &st) != 0) return false;
    if (st.st_size < static_cast<off_t>(kCounterFileSize) && ::ftruncate(fd_, kCounterFileSize) != 0)
      return false;
  }
  void* map = ::mmap(nullptr, kCounterFileSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
  if (map == MAP_FAILED) return false;
  value_ = static_cast<std::uint64_t*>(map);
  return true;
}

std::uint64_t SharedCounter::Load() const {
  return std::atomic_ref<std::uint64_t>(*value_).load(std::memory_order_acquire);
}

std::uint64_t SharedCounter::Bump() {
  return std::atomic_ref<std::uint64_t>(*value_).fetch_add(1, std::memory_order_acq_rel) + 1;
}

}  // namespace zx::registry
