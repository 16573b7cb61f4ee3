// Making and removing folders: CreateDirectory and RemoveDirectory.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "fileapi.h"
#include "filetext.h"
#include "hostfiles.h"
#include "foldernames.h"
#include "pathparse.h"

using zx::file::Fail;

BOOL CreateDirectoryW(LPCWSTR pathName, LPSECURITY_ATTRIBUTES /*security*/) {
  std::string host;
  if (!zx::path::MapArgument(pathName, host)) return FALSE;
  if (::mkdir(host.c_str(), 0777) == 0) {
    zx::path::NoteCreated(host, true);
    return TRUE;
  }
  if (errno == ENOENT || errno == ENOTDIR) return Fail(ERROR_PATH_NOT_FOUND);
  return Fail(zx::file::ErrorFromErrno(errno));
}

BOOL CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES security) {
  return CreateDirectoryW(zx::file::WideArg(pathName).get(), security);
}

BOOL RemoveDirectoryW(LPCWSTR pathName) {
  std::string host;
  zx::path::WindowsPath parsed;
  if (!zx::path::MapArgument(pathName, host, &parsed)) return FALSE;
  if (parsed.parts.empty()) return Fail(ERROR_ACCESS_DENIED);  // a drive's root
  struct stat st {};
  if (::lstat(host.c_str(), &st) != 0) return Fail(zx::file::MissingError(host));
  // A link to a folder goes as the link, the folder it names stays.
  if (S_ISLNK(st.st_mode)) {
    struct stat target {};
    if (::stat(host.c_str(), &target) != 0 || !S_ISDIR(target.st_mode)) return Fail(ERROR_DIRECTORY);
    return ::unlink(host.c_str()) == 0 ? TRUE : Fail(zx::file::ErrorFromErrno(errno));
  }
  if (!S_ISDIR(st.st_mode)) return Fail(ERROR_DIRECTORY);
  if (::rmdir(host.c_str()) == 0) return TRUE;
  return Fail(errno == EEXIST ? ERROR_DIR_NOT_EMPTY : zx::file::ErrorFromErrno(errno));
}

BOOL RemoveDirectoryA(LPCSTR pathName) { return RemoveDirectoryW(zx::file::WideArg(pathName).get()); }
