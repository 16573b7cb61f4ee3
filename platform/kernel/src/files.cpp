// File handles: CreateFile with its dispositions and share modes, synchronous ReadFile and
// WriteFile, the file pointer, size, times and type, and the 16-bit _lopen/_lclose.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "fileapi.h"
#include "filetext.h"
#include "foldernames.h"
#include "hostfiles.h"
#include "sharemode.h"
#include "zx/fileobject.h"
#include "pathparse.h"

namespace zx {

FileObject::FileObject(int fd, DWORD access, std::string hostPath, bool deleteOnClose)
    : fd_(fd), access_(access), hostPath_(std::move(hostPath)), deleteOnClose_(deleteOnClose) {}

FileObject::~FileObject() {
  if (deleteOnClose_) ::unlink(hostPath_.c_str());
  ::close(fd_);
}

}  // namespace zx

namespace {

using zx::FileObject;
using zx::file::ErrorFromErrno;
using zx::file::Fail;

constexpr DWORD kWriteAccess = GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA;

std::shared_ptr<FileObject> FileOf(HANDLE handle) {
  auto file = zx::ReferenceHandleAs<FileObject>(handle);
  if (!file) SetLastError(ERROR_INVALID_HANDLE);
  return file;
}

// Opens (or creates) the host file; -1 with errno. created tells whether this call made it.
int OpenHost(const std::string& host, DWORD disposition, int access, DWORD attributes, bool& created) {
  const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0666;
  created = false;
  if (disposition == CREATE_NEW) {
    created = true;
    return ::open(host.c_str(), access | O_CLOEXEC | O_CREAT | O_EXCL, mode);
  }
  if (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      int fd = ::open(host.c_str(), access | O_CLOEXEC | O_CREAT | O_EXCL, mode);
      if (fd >= 0 || errno != EEXIST) {
        created = fd >= 0;
        return fd;
      }
      fd = ::open(host.c_str(), access | O_CLOEXEC);
      if (fd >= 0 || errno != ENOENT) return fd;
    }
    return -1;
  }
  return ::open(host.c_str(), access | O_CLOEXEC);
}

HANDLE OpenFolder(const std::string& host, DWORD access, DWORD flags) {
  if ((flags & FILE_FLAG_BACKUP_SEMANTICS) == 0 || (access & kWriteAccess) != 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  const int fd = ::open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    SetLastError(ErrorFromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  SetLastError(ERROR_SUCCESS);
  return zx::InsertHandle(std::make_shared<FileObject>(fd, access, host));
}

HANDLE FailOpen(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

// SetFilePointer's work: the new position, or -1 with the last error set.
LONGLONG Seek(HANDLE handle, LONGLONG distance, DWORD method) {
  auto file = FileOf(handle);
  if (!file) return -1;
  if (method > FILE_END) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  off_t base = 0;
  struct stat st {};
  if (method == FILE_CURRENT) {
    base = ::lseek(file->fd(), 0, SEEK_CUR);
  } else if (method == FILE_END) {
    base = ::fstat(file->fd(), &st) == 0 ? st.st_size : -1;
  }
  if (base < 0) {
    SetLastError(ErrorFromErrno(errno));
    return -1;
  }
  LONGLONG target = 0;
  if (__builtin_add_overflow(base, distance, &target) || target < 0) {
    SetLastError(target < 0 ? ERROR_NEGATIVE_SEEK : ERROR_INVALID_PARAMETER);
    return -1;
  }
  const off_t position = ::lseek(file->fd(), target, SEEK_SET);
  if (position < 0) SetLastError(ErrorFromErrno(errno));
  return position;
}

}  // namespace

HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                   LPSECURITY_ATTRIBUTES /*security*/, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE /*templateFile*/) {
  std::string host;
  if (creationDisposition < CREATE_NEW || creationDisposition > TRUNCATE_EXISTING)
    return FailOpen(ERROR_INVALID_PARAMETER);
  const bool write = (desiredAccess & kWriteAccess) != 0;
  if (creationDisposition == TRUNCATE_EXISTING && !write) return FailOpen(ERROR_INVALID_PARAMETER);
  zx::path::MappedEntry entry;
  if (!zx::path::MapArgument(fileName, host, nullptr, &entry)) return INVALID_HANDLE_VALUE;

  struct stat st = entry.status;
  const bool existed = entry.known ? entry.exists : ::stat(host.c_str(), &st) == 0;
  if (existed && S_ISDIR(st.st_mode)) {
    if (creationDisposition == CREATE_NEW) return FailOpen(ERROR_FILE_EXISTS);
    if (creationDisposition != OPEN_EXISTING && creationDisposition != OPEN_ALWAYS)
      return FailOpen(ERROR_ACCESS_DENIED);
    return OpenFolder(host, desiredAccess, flagsAndAttributes);
  }
  if (existed && creationDisposition == CREATE_NEW) return FailOpen(ERROR_FILE_EXISTS);
  const bool truncates = creationDisposition == CREATE_ALWAYS || creationDisposition == TRUNCATE_EXISTING;
  if (existed && (write || truncates) && zx::file::IsReadOnly(st.st_mode)) return FailOpen(ERROR_ACCESS_DENIED);

  bool created = false;
  const bool read = (desiredAccess & (GENERIC_READ | GENERIC_ALL | FILE_READ_DATA)) != 0;
  // Write access opens read-write, so the descriptor can hold the share-mode locks.
  int fd = OpenHost(host, creationDisposition, write ? O_RDWR : O_RDONLY, flagsAndAttributes, created);
  if (fd < 0 && errno == EACCES && write && !read)
    fd = OpenHost(host, creationDisposition, O_WRONLY, flagsAndAttributes, created);
  if (fd < 0) {
    if (errno == EEXIST) return FailOpen(ERROR_FILE_EXISTS);
    return FailOpen(errno == ENOENT ? zx::file::MissingError(host) : ErrorFromErrno(errno));
  }
  if (created) zx::path::NoteCreated(host, false);
  auto file = std::make_shared<FileObject>(fd, desiredAccess, host,
                                           (flagsAndAttributes & FILE_FLAG_DELETE_ON_CLOSE) != 0);
  if (!zx::file::ClaimShareMode(fd, desiredAccess, shareMode)) return FailOpen(ERROR_SHARING_VIOLATION);
  if ((truncates && !created) && ::ftruncate(fd, 0) != 0) return FailOpen(ErrorFromErrno(errno));
  // The attribute bits are taken, the FILE_FLAG_* bits ignored there.
  if (created) {
    zx::file::ApplyNewFileAttributes(fd, flagsAndAttributes | FILE_ATTRIBUTE_ARCHIVE, nullptr);
  } else if (truncates && creationDisposition == CREATE_ALWAYS) {
    struct stat now {};
    ::fstat(fd, &now);
    zx::file::ApplyAttributes(host, now.st_mode, flagsAndAttributes | FILE_ATTRIBUTE_ARCHIVE, nullptr);
  }
  const bool reported = !created && (creationDisposition == CREATE_ALWAYS || creationDisposition == OPEN_ALWAYS);
  SetLastError(reported ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return zx::InsertHandle(std::move(file));
}

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                   LPSECURITY_ATTRIBUTES security, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE templateFile) {
  return CreateFileW(zx::file::WideArg(fileName).get(), desiredAccess, shareMode, security,
                     creationDisposition, flagsAndAttributes, templateFile);
}

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped) {
  if (bytesRead != nullptr) *bytesRead = 0;
  auto file = FileOf(handle);
  if (!file) return FALSE;
  if (overlapped != nullptr || (buffer == nullptr && bytesToRead != 0)) return Fail(ERROR_INVALID_PARAMETER);
  if (!file->CanRead()) return Fail(ERROR_ACCESS_DENIED);
  ssize_t n;
  do {
    n = ::read(file->fd(), buffer, bytesToRead);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return Fail(ErrorFromErrno(errno));
  // A pipe whose writers are gone reads as ERROR_BROKEN_PIPE, as on Windows.
  if (n == 0 && bytesToRead != 0 && GetFileType(handle) == FILE_TYPE_PIPE) return Fail(ERROR_BROKEN_PIPE);
  if (bytesRead != nullptr) *bytesRead = static_cast<DWORD>(n);
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
               LPOVERLAPPED overlapped) {
  if (bytesWritten != nullptr) *bytesWritten = 0;
  auto file = FileOf(handle);
  if (!file) return FALSE;
  if (overlapped != nullptr || (buffer == nullptr && bytesToWrite != 0)) return Fail(ERROR_INVALID_PARAMETER);
  if (!file->CanWrite()) return Fail(ERROR_ACCESS_DENIED);
  const char* data = static_cast<const char*>(buffer);
  DWORD done = 0;
  while (done < bytesToWrite) {
    const ssize_t n = ::write(file->fd(), data + done, bytesToWrite - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (bytesWritten != nullptr) *bytesWritten = done;
      return Fail(ErrorFromErrno(errno));
    }
    done += static_cast<DWORD>(n);
  }
  if (bytesWritten != nullptr) *bytesWritten = done;
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG distanceToMove, PLONG distanceToMoveHigh, DWORD moveMethod) {
  const LONGLONG distance =
      distanceToMoveHigh == nullptr
          ? distanceToMove
          : static_cast<LONGLONG>((static_cast<ULONGLONG>(static_cast<DWORD>(*distanceToMoveHigh)) << 32) |
                                  static_cast<DWORD>(distanceToMove));
  const LONGLONG position = Seek(file, distance, moveMethod);
  if (position < 0) return INVALID_SET_FILE_POINTER;
  if (distanceToMoveHigh == nullptr && position > 0xFFFFFFFELL) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  if (distanceToMoveHigh != nullptr) *distanceToMoveHigh = static_cast<LONG>(position >> 32);
  // INVALID_SET_FILE_POINTER is also a valid low part: callers tell by the last error.
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(position);
}

BOOL SetFilePointerEx(HANDLE file, LARGE_INTEGER distanceToMove, PLARGE_INTEGER newFilePointer, DWORD moveMethod) {
  const LONGLONG position = Seek(file, distanceToMove.QuadPart, moveMethod);
  if (position < 0) return FALSE;
  if (newFilePointer != nullptr) newFilePointer->QuadPart = position;
  return TRUE;
}

BOOL SetEndOfFile(HANDLE handle) {
  auto file = FileOf(handle);
  if (!file) return FALSE;
  if (!file->CanWrite()) return Fail(ERROR_ACCESS_DENIED);
  const off_t position = ::lseek(file->fd(), 0, SEEK_CUR);
  if (position < 0 || ::ftruncate(file->fd(), position) != 0) return Fail(ErrorFromErrno(errno));
  return TRUE;
}

BOOL FlushFileBuffers(HANDLE handle) {
  auto file = FileOf(handle);
  if (!file) return FALSE;
  if (!file->CanWrite()) return Fail(ERROR_ACCESS_DENIED);
  if (::fsync(file->fd()) != 0 && errno != EINVAL) return Fail(ErrorFromErrno(errno));
  return TRUE;
}

DWORD GetFileSize(HANDLE handle, LPDWORD fileSizeHigh) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(handle, &size)) return INVALID_FILE_SIZE;
  if (fileSizeHigh != nullptr) *fileSizeHigh = static_cast<DWORD>(size.QuadPart >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(size.QuadPart);
}

BOOL GetFileSizeEx(HANDLE handle, PLARGE_INTEGER fileSize) {
  auto file = FileOf(handle);
  if (!file) return FALSE;
  struct stat st {};
  if (fileSize == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  if (::fstat(file->fd(), &st) != 0) return Fail(ErrorFromErrno(errno));
  fileSize->QuadPart = st.st_size;
  return TRUE;
}

BOOL GetFileTime(HANDLE handle, LPFILETIME creationTime, LPFILETIME lastAccessTime, LPFILETIME lastWriteTime) {
  auto file = FileOf(handle);
  if (!file) return FALSE;
  FILETIME times[3];
  if (!zx::file::TimesOf(file->fd(), times[0], times[1], times[2])) return Fail(ErrorFromErrno(errno));
  if (creationTime != nullptr) *creationTime = times[0];
  if (lastAccessTime != nullptr) *lastAccessTime = times[1];
  if (lastWriteTime != nullptr) *lastWriteTime = times[2];
  return TRUE;
}

BOOL GetFileInformationByHandle(HANDLE handle, LPBY_HANDLE_FILE_INFORMATION information) {
  auto file = FileOf(handle);
  if (!file) return FALSE;
  if (information == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  if (!zx::file::DescribeOpenFile(file->fd(), file->hostPath(), *information)) return Fail(ErrorFromErrno(errno));
  return TRUE;
}

BOOL SetFileTime(HANDLE handle, const FILETIME* /*creationTime*/, const FILETIME* lastAccessTime,
                 const FILETIME* lastWriteTime) {
  auto file = FileOf(handle);
  if (!file) return FALSE;
  // A null time, or one of 0 or all ones, leaves that time as it is (the creation time cannot
  // be set on Linux).
  auto convert = [](const FILETIME* time) {
    const bool keep = time == nullptr || (time->dwLowDateTime == 0 && time->dwHighDateTime == 0) ||
                      (time->dwLowDateTime == 0xFFFFFFFFu && time->dwHighDateTime == 0xFFFFFFFFu);
    return keep ? timespec{0, UTIME_OMIT} : zx::file::FromFileTime(*time);
  };
  const struct timespec times[2] = {convert(lastAccessTime), convert(lastWriteTime)};
  if (times[0].tv_nsec == UTIME_OMIT && times[1].tv_nsec == UTIME_OMIT) return TRUE;
  if (::futimens(file->fd(), times) != 0) return Fail(ErrorFromErrno(errno));
  return TRUE;
}

DWORD GetFileType(HANDLE handle) {
  auto file = FileOf(handle);
  struct stat st {};
  if (!file || ::fstat(file->fd(), &st) != 0) return FILE_TYPE_UNKNOWN;
  SetLastError(ERROR_SUCCESS);
  if (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) return FILE_TYPE_DISK;
  if (S_ISCHR(st.st_mode)) return FILE_TYPE_CHAR;
  if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) return FILE_TYPE_PIPE;
  return FILE_TYPE_UNKNOWN;
}

HFILE _lopen(LPCSTR pathName, int readWrite) {
  static constexpr DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
  const int mode = readWrite & 0x3;
  if (mode > OF_READWRITE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return HFILE_ERROR;
  }
  DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  switch (readWrite & 0x70) {
    case OF_SHARE_EXCLUSIVE: share = 0; break;
    case OF_SHARE_DENY_WRITE: share = FILE_SHARE_READ; break;
    case OF_SHARE_DENY_READ: share = FILE_SHARE_WRITE; break;
    default: break;
  }
  HANDLE file = CreateFileA(pathName, kAccess[mode], share, nullptr, OPEN_EXISTING, 0, nullptr);
  return file == INVALID_HANDLE_VALUE ? HFILE_ERROR : static_cast<HFILE>(reinterpret_cast<ULONG_PTR>(file));
}

HFILE _lclose(HFILE file) {
  const HANDLE handle = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(static_cast<unsigned>(file)));
  if (!FileOf(handle) || !zx::RemoveHandle(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return HFILE_ERROR;
  }
  return 0;
}
