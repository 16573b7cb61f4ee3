// Host-file helpers of the file functions: error codes, FILETIME, the attribute word and
// whole-file copies and replacements through a temporary file renamed into place.
#include "hostfiles.h"

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <vector>

namespace zx::file {
namespace {

// 100 ns units from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kEpochDelta = 116444736000000000LL;
constexpr std::int64_t kUnitsPerSecond = 10000000LL;

// Attribute bits kept in the extended attribute (folders keep READONLY there too: their
// permission bits stay as they are, as a read-only folder on Windows still takes new files).
constexpr char kAttributeName[] = "user.zx.attributes";
constexpr DWORD kKeptBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY |
                            FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

DWORD DefaultKept(mode_t mode) { return S_ISDIR(mode) ? 0 : FILE_ATTRIBUTE_ARCHIVE; }

bool ReadKept(const std::string& hostPath, DWORD& kept) {
  unsigned char bytes[4];
  if (::getxattr(hostPath.c_str(), kAttributeName, bytes, sizeof bytes) != sizeof bytes) return false;
  kept = static_cast<DWORD>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<DWORD>(bytes[3]) << 24);
  return true;
}

bool Unsupported(int error) { return error == ENOTSUP || error == EOPNOTSUPP; }

// Carries the attribute word of one entry over to a descriptor (copies, rewrites).
void CopyAttributeWord(const std::string& from, int toFd) {
  unsigned char bytes[4];
  if (::getxattr(from.c_str(), kAttributeName, bytes, sizeof bytes) == sizeof bytes)
    ::fsetxattr(toFd, kAttributeName, bytes, sizeof bytes, 0);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// A new temporary file beside target; -1 with errno set on failure.
int MakeTempBeside(const std::string& target, std::string& tempPath) {
  tempPath = FolderOf(target) + "/.zx-XXXXXX";
  return ::mkostemp(tempPath.data(), O_CLOEXEC);
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool CopyBytes(int in, int out) {
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!WriteAll(out, buffer.data(), static_cast<std::size_t>(n))) return false;
  }
}

// Finishes a temporary file: closes it and renames it onto target, or removes it.
bool Commit(int fd, const std::string& tempPath, const std::string& target, bool replace,
            int failure, DWORD* error) {
  if (::close(fd) != 0 && failure == 0) failure = errno;
  if (failure == 0) {
    if (replace)
      failure = ::rename(tempPath.c_str(), target.c_str()) == 0 ? 0 : errno;
    else
      failure = RenameNoReplace(tempPath, target);
  }
  if (failure == 0) return true;
  ::unlink(tempPath.c_str());
  if (error != nullptr) *error = failure == EEXIST ? ERROR_FILE_EXISTS : ErrorFromErrno(failure);
  return false;
}

constexpr unsigned kStatxWanted = STATX_BASIC_STATS | STATX_BTIME;

FILETIME FromStatx(const struct statx_timestamp& time) {
  return ToFileTime(timespec{static_cast<time_t>(time.tv_sec), static_cast<long>(time.tv_nsec)});
}

void TimesFrom(const struct statx& sx, FILETIME& creation, FILETIME& lastAccess, FILETIME& lastWrite) {
  creation = FromStatx((sx.stx_mask & STATX_BTIME) != 0 ? sx.stx_btime : sx.stx_mtime);
  lastAccess = FromStatx(sx.stx_atime);
  lastWrite = FromStatx(sx.stx_mtime);
}

}  // namespace

int RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // Filesystems without RENAME_NOREPLACE: a hard link fails the same way on an existing target.
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  ::unlink(from.c_str());
  return 0;
}

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case ELOOP: return ERROR_INVALID_NAME;
    case EROFS: return ERROR_WRITE_PROTECT;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EBADF: return ERROR_INVALID_HANDLE;
    case EINVAL:
    case ESPIPE: return ERROR_INVALID_PARAMETER;
    case EBUSY: return ERROR_BUSY;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EPIPE: return ERROR_BROKEN_PIPE;
    case EAGAIN: return ERROR_LOCK_VIOLATION;
    default: return ERROR_GEN_FAILURE;
  }
}

DWORD MissingError(const std::string& hostPath) {
  struct stat st {};
  const std::string folder = FolderOf(hostPath);
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? ERROR_FILE_NOT_FOUND
                                                                   : ERROR_PATH_NOT_FOUND;
}

bool ChangeSettled(const struct timespec& modified) {
  constexpr long long kSettledNanoseconds = 20'000'000;
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  const long long age =
      (static_cast<long long>(now.tv_sec) - modified.tv_sec) * 1'000'000'000LL + (now.tv_nsec - modified.tv_nsec);
  return age > kSettledNanoseconds;
}

FILETIME ToFileTime(const struct timespec& time) {
  const std::int64_t units = static_cast<std::int64_t>(time.tv_sec) * kUnitsPerSecond +
                             time.tv_nsec / 100 + kEpochDelta;
  const auto value = static_cast<std::uint64_t>(units < 0 ? 0 : units);
  return FILETIME{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

struct timespec FromFileTime(const FILETIME& time) {
  const std::uint64_t value = (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  const std::int64_t units = static_cast<std::int64_t>(value & 0x7FFFFFFFFFFFFFFFULL) - kEpochDelta;
  std::int64_t seconds = units / kUnitsPerSecond;
  std::int64_t rest = units % kUnitsPerSecond;
  if (rest < 0) {
    rest += kUnitsPerSecond;
    --seconds;
  }
  struct timespec out {};
  out.tv_sec = static_cast<time_t>(seconds);
  out.tv_nsec = static_cast<long>(rest * 100);
  return out;
}

bool IsReadOnly(mode_t mode) { return !S_ISDIR(mode) && (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

DWORD AttributesOf(const std::string& hostPath, mode_t mode) {
  DWORD kept = 0;
  if (!ReadKept(hostPath, kept)) kept = DefaultKept(mode);
  DWORD attributes;
  if (S_ISDIR(mode)) {
    attributes = FILE_ATTRIBUTE_DIRECTORY | (kept & kKeptBits);
  } else {
    attributes = (kept & kKeptBits & ~FILE_ATTRIBUTE_READONLY) | (IsReadOnly(mode) ? FILE_ATTRIBUTE_READONLY : 0);
  }
  return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

namespace {

// The permission bits a file of this mode takes for READONLY set or clear.
mode_t PermissionsFor(mode_t mode, DWORD wanted) {
  const mode_t bits = mode & 07777;
  return (wanted & FILE_ATTRIBUTE_READONLY) != 0 ? (bits & ~(S_IWUSR | S_IWGRP | S_IWOTH))
         : IsReadOnly(mode)                     ? (bits | S_IWUSR)
                                                : bits;
}

struct AttributeWord {
  unsigned char bytes[4];
};

AttributeWord WordOf(DWORD kept) {
  return {{static_cast<unsigned char>(kept), static_cast<unsigned char>(kept >> 8),
           static_cast<unsigned char>(kept >> 16), static_cast<unsigned char>(kept >> 24)}};
}

bool Report(bool ok, DWORD* error) {
  if (!ok && error != nullptr) *error = ErrorFromErrno(errno);
  return ok;
}

}  // namespace

bool ApplyAttributes(const std::string& hostPath, mode_t mode, DWORD attributes, DWORD* error) {
  // FILE_ATTRIBUTE_NORMAL counts only alone; bits Windows does not let callers set are ignored.
  DWORD wanted = attributes & kKeptBits;
  if (!S_ISDIR(mode)) {
    const mode_t next = PermissionsFor(mode, wanted);
    if (next != (mode & 07777) && ::chmod(hostPath.c_str(), next) != 0) return Report(false, error);
    wanted &= ~FILE_ATTRIBUTE_READONLY;
  }
  int result;
  if (wanted == DefaultKept(mode)) {
    result = ::removexattr(hostPath.c_str(), kAttributeName);
    if (result != 0 && errno == ENODATA) result = 0;
  } else {
    const AttributeWord word = WordOf(wanted);
    result = ::setxattr(hostPath.c_str(), kAttributeName, word.bytes, sizeof word.bytes, 0);
  }
  return Report(result == 0 || Unsupported(errno), error);
}

bool ApplyNewFileAttributes(int fd, DWORD attributes, DWORD* error) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return Report(false, error);
  const DWORD wanted = attributes & kKeptBits & ~FILE_ATTRIBUTE_READONLY;
  const mode_t next = PermissionsFor(st.st_mode, attributes & kKeptBits);
  if (next != (st.st_mode & 07777) && ::fchmod(fd, next) != 0) return Report(false, error);
  // A new file has no attribute word, which stands for the default.
  if (wanted == DefaultKept(st.st_mode)) return true;
  const AttributeWord word = WordOf(wanted);
  return Report(::fsetxattr(fd, kAttributeName, word.bytes, sizeof word.bytes, 0) == 0 || Unsupported(errno), error);
}

bool DescribeHostEntry(const std::string& hostPath, WIN32_FILE_ATTRIBUTE_DATA& data) {
  struct statx sx {};
  if (::statx(AT_FDCWD, hostPath.c_str(), AT_SYMLINK_NOFOLLOW, STATX_TYPE, &sx) != 0) return false;
  const bool link = S_ISLNK(sx.stx_mode);
  // A link whose target is gone is described by itself, as Windows lists such a link.
  if (::statx(AT_FDCWD, hostPath.c_str(), 0, kStatxWanted, &sx) != 0 &&
      (!link || ::statx(AT_FDCWD, hostPath.c_str(), AT_SYMLINK_NOFOLLOW, kStatxWanted, &sx) != 0))
    return false;
  data.dwFileAttributes = AttributesOf(hostPath, sx.stx_mode);
  if (link) data.dwFileAttributes = (data.dwFileAttributes & ~FILE_ATTRIBUTE_NORMAL) | FILE_ATTRIBUTE_REPARSE_POINT;
  TimesFrom(sx, data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime);
  const std::uint64_t size = S_ISDIR(sx.stx_mode) ? 0 : sx.stx_size;
  data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
  data.nFileSizeLow = static_cast<DWORD>(size);
  return true;
}

bool DescribeOpenFile(int fd, const std::string& hostPath, BY_HANDLE_FILE_INFORMATION& info) {
  struct statx sx {};
  if (::statx(fd, "", AT_EMPTY_PATH, kStatxWanted | STATX_INO | STATX_NLINK, &sx) != 0) return false;
  info = BY_HANDLE_FILE_INFORMATION{};
  info.dwFileAttributes = AttributesOf(hostPath, sx.stx_mode);
  TimesFrom(sx, info.ftCreationTime, info.ftLastAccessTime, info.ftLastWriteTime);
  const std::uint64_t size = S_ISDIR(sx.stx_mode) ? 0 : sx.stx_size;
  info.nFileSizeHigh = static_cast<DWORD>(size >> 32);
  info.nFileSizeLow = static_cast<DWORD>(size);
  info.dwVolumeSerialNumber = static_cast<DWORD>(sx.stx_dev_major << 20 | sx.stx_dev_minor);
  info.nNumberOfLinks = sx.stx_nlink;
  info.nFileIndexHigh = static_cast<DWORD>(sx.stx_ino >> 32);
  info.nFileIndexLow = static_cast<DWORD>(sx.stx_ino);
  return true;
}

bool TimesOf(int fd, FILETIME& creation, FILETIME& lastAccess, FILETIME& lastWrite) {
  struct statx sx {};
  if (::statx(fd, "", AT_EMPTY_PATH, kStatxWanted, &sx) != 0) return false;
  TimesFrom(sx, creation, lastAccess, lastWrite);
  return true;
}

bool CopyHostFile(const std::string& from, const std::string& to, bool replace, DWORD* error) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (in < 0 || ::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int failure = in < 0 ? errno : EACCES;
    if (in >= 0) ::close(in);
    if (error != nullptr) *error = failure == ENOENT ? MissingError(from) : ErrorFromErrno(failure);
    return false;
  }
  std::string tempPath;
  const int out = MakeTempBeside(to, tempPath);
  if (out < 0) {
    const int failure = errno;
    ::close(in);
    if (error != nullptr) *error = failure == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(failure);
    return false;
  }
  const struct timespec times[2] = {st.st_atim, st.st_mtim};
  const bool written = CopyBytes(in, out) && ::fchmod(out, st.st_mode & 07777) == 0 &&
                       ::futimens(out, times) == 0;
  const int failure = written ? 0 : errno;
  CopyAttributeWord(from, out);
  ::close(in);
  return Commit(out, tempPath, to, replace, failure, error);
}

bool ReadHostFile(const std::string& hostPath, std::string& bytes, std::size_t maxBytes) {
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0) return false;
  bool ok = ::fstat(fd, &st) == 0;
  if (ok && (S_ISDIR(st.st_mode) || static_cast<std::uint64_t>(st.st_size) > maxBytes)) {
    errno = S_ISDIR(st.st_mode) ? EISDIR : EFBIG;
    ok = false;
  }
  bytes.clear();
  std::vector<char> buffer(1 << 16);
  while (ok) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
      ok = n == 0;
      if (n > 0) errno = EFBIG;
      break;
    }
    bytes.append(buffer.data(), static_cast<std::size_t>(n));
  }
  const int failure = errno;
  ::close(fd);
  errno = failure;
  return ok;
}

bool ReplaceHostFile(const std::string& hostPath, std::string_view bytes, DWORD* error) {
  struct stat st {};
  const bool existed = ::stat(hostPath.c_str(), &st) == 0;
  std::string tempPath;
  const int out = MakeTempBeside(hostPath, tempPath);
  if (out < 0) {
    if (error != nullptr) *error = errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno);
    return false;
  }
  if (existed) CopyAttributeWord(hostPath, out);
  const bool written = WriteAll(out, bytes.data(), bytes.size()) &&
                       ::fchmod(out, existed ? (st.st_mode & 07777) : 0644) == 0 && ::fsync(out) == 0;
  return Commit(out, tempPath, hostPath, true, written ? 0 : errno, error);
}

}  // namespace zx::file
