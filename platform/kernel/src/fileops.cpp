// Deleting, moving and copying files: DeleteFile, MoveFile, MoveFileEx and CopyFile. Open
// handles that deny sharing refuse these as on Windows; moves across filesystems copy when
// allowed; renames delayed until a restart are recorded in the machine root.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

#include "fileapi.h"
#include "filetext.h"
#include "hostfiles.h"
#include "kerneltext.h"
#include "pathparse.h"
#include "sharemode.h"
#include "zx/machine.h"

namespace {

using zx::file::ErrorFromErrno;
using zx::file::Fail;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool SameEntry(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

// Appends "source<TAB>target" (full Windows paths, UTF-8) to <root>/pending-renames.
BOOL RecordPendingRename(LPCWSTR existing, LPCWSTR target) {
  zx::path::WindowsPath from;
  zx::path::WindowsPath to;
  DWORD error = ERROR_INVALID_PARAMETER;
  if (existing == nullptr || !zx::path::Parse(existing, from, &error) ||
      (target != nullptr && !zx::path::Parse(target, to, &error)))
    return Fail(error);
  const std::string line = zx::text::ToUtf8(zx::path::Format(from)) + "\t" +
                           (target != nullptr ? zx::text::ToUtf8(zx::path::Format(to)) : "") + "\n";
  static std::mutex lock;
  std::lock_guard<std::mutex> g(lock);
  const std::string file = zx::machine::Root() + "/pending-renames";
  const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return Fail(ErrorFromErrno(errno));
  const bool written = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  const int failure = written ? 0 : errno;
  ::close(fd);
  return written ? TRUE : Fail(ErrorFromErrno(failure));
}

// Moves across filesystems: a regular file is copied, then the source removed.
BOOL MoveByCopy(const std::string& from, const std::string& to, const struct stat& source, bool replace) {
  DWORD error = 0;
  if (!S_ISREG(source.st_mode)) return Fail(ERROR_NOT_SAME_DEVICE);
  if (!zx::file::CopyHostFile(from, to, replace, &error)) return Fail(error == ERROR_FILE_EXISTS ? ERROR_ALREADY_EXISTS : error);
  ::unlink(from.c_str());
  return TRUE;
}

}  // namespace

BOOL DeleteFileW(LPCWSTR fileName) {
  std::string host;
  if (!zx::path::MapArgument(fileName, host)) return FALSE;
  struct stat st {};
  if (::lstat(host.c_str(), &st) != 0) return Fail(zx::file::MissingError(host));
  if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  if (!S_ISLNK(st.st_mode) && zx::file::IsReadOnly(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  if (zx::file::SharingConflict(host, DELETE, kShareAll)) return Fail(ERROR_SHARING_VIOLATION);
  if (::unlink(host.c_str()) != 0) return Fail(ErrorFromErrno(errno));
  return TRUE;
}

BOOL DeleteFileA(LPCSTR fileName) { return DeleteFileW(zx::file::WideArg(fileName).get()); }

BOOL MoveFileExW(LPCWSTR existingFileName, LPCWSTR newFileName, DWORD flags) {
  if ((flags & MOVEFILE_DELAY_UNTIL_REBOOT) != 0) return RecordPendingRename(existingFileName, newFileName);
  if (newFileName == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  std::string from;
  std::string to;
  zx::path::WindowsPath target;
  if (!zx::path::MapArgument(existingFileName, from) || !zx::path::MapArgument(newFileName, to, &target))
    return FALSE;
  struct stat source {};
  if (::lstat(from.c_str(), &source) != 0) return Fail(zx::file::MissingError(from));
  if (target.parts.empty()) return Fail(ERROR_ACCESS_DENIED);
  if (zx::file::SharingConflict(from, DELETE, kShareAll)) return Fail(ERROR_SHARING_VIOLATION);

  const bool replace = (flags & MOVEFILE_REPLACE_EXISTING) != 0;
  struct stat existing {};
  bool targetExists = ::lstat(to.c_str(), &existing) == 0;
  if (to == from) {
    // The target spells the source another way (case): the entry takes the new spelling.
    to = FolderOf(to) + "/" + zx::text::ToUtf8(target.parts.back());
    if (to == from) return TRUE;
    targetExists = false;
  } else if (targetExists) {
    if (!replace) return Fail(ERROR_ALREADY_EXISTS);
    if (S_ISDIR(existing.st_mode) || zx::file::IsReadOnly(existing.st_mode)) return Fail(ERROR_ACCESS_DENIED);
    if (!SameEntry(source, existing) && zx::file::SharingConflict(to, DELETE, kShareAll))
      return Fail(ERROR_SHARING_VIOLATION);
  }
  const int failure = targetExists ? (::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno)
                                   : zx::file::RenameNoReplace(from, to);
  if (failure == 0) return TRUE;
  if (failure == EXDEV && (flags & MOVEFILE_COPY_ALLOWED) != 0) return MoveByCopy(from, to, source, replace);
  if (failure == EEXIST) return Fail(ERROR_ALREADY_EXISTS);
  if (failure == ENOENT) return Fail(ERROR_PATH_NOT_FOUND);
  return Fail(ErrorFromErrno(failure));
}

BOOL MoveFileExA(LPCSTR existingFileName, LPCSTR newFileName, DWORD flags) {
  return MoveFileExW(zx::file::WideArg(existingFileName).get(), zx::file::WideArg(newFileName).get(), flags);
}

BOOL MoveFileW(LPCWSTR existingFileName, LPCWSTR newFileName) {
  return MoveFileExW(existingFileName, newFileName, MOVEFILE_COPY_ALLOWED);
}

BOOL MoveFileA(LPCSTR existingFileName, LPCSTR newFileName) {
  return MoveFileExA(existingFileName, newFileName, MOVEFILE_COPY_ALLOWED);
}

BOOL CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists) {
  std::string from;
  std::string to;
  if (!zx::path::MapArgument(existingFileName, from) || !zx::path::MapArgument(newFileName, to)) return FALSE;
  struct stat source {};
  if (::stat(from.c_str(), &source) != 0) return Fail(zx::file::MissingError(from));
  if (S_ISDIR(source.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  struct stat existing {};
  if (::stat(to.c_str(), &existing) == 0) {
    if (SameEntry(source, existing)) return Fail(ERROR_SHARING_VIOLATION);
    if (failIfExists) return Fail(ERROR_FILE_EXISTS);
    if (S_ISDIR(existing.st_mode) || zx::file::IsReadOnly(existing.st_mode)) return Fail(ERROR_ACCESS_DENIED);
    if (zx::file::SharingConflict(to, GENERIC_WRITE, kShareAll)) return Fail(ERROR_SHARING_VIOLATION);
  }
  if (zx::file::SharingConflict(from, GENERIC_READ, kShareAll)) return Fail(ERROR_SHARING_VIOLATION);
  DWORD error = 0;
  return zx::file::CopyHostFile(from, to, !failIfExists, &error) ? TRUE : Fail(error);
}

BOOL CopyFileA(LPCSTR existingFileName, LPCSTR newFileName, BOOL failIfExists) {
  return CopyFileW(zx::file::WideArg(existingFileName).get(), zx::file::WideArg(newFileName).get(), failIfExists);
}
