// What the file functions share about host files: errno to Win32 codes, FILETIME, the
// attribute word (read-only from the permission bits, hidden/system/archive in a user
// extended attribute) and whole-file copies and replacements that never leave a half file.
// Kernel-internal.
#pragma once
#include <sys/stat.h>

#include <string>
#include <string_view>

#include "fileapi.h"

namespace zx::file {

DWORD ErrorFromErrno(int error);
// For a path that does not exist: ERROR_FILE_NOT_FOUND when its folder exists, else
// ERROR_PATH_NOT_FOUND.
DWORD MissingError(const std::string& hostPath);

FILETIME ToFileTime(const struct timespec& time);
struct timespec FromFileTime(const FILETIME& time);

// What tells an entry's content as it was seen: device, inode, size and modification time.
struct EntryStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};

  static EntryStamp Of(const struct stat& st) { return {st.st_dev, st.st_ino, st.st_size, st.st_mtim}; }
  bool operator==(const EntryStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
  }
};

// Whether an entry's last change, at `modified`, lies far enough back for its time to show the
// next one: file times move in clock ticks of a few milliseconds, so an entry changed within
// the last moments could change again without its time moving.
bool ChangeSettled(const struct timespec& modified);

// The Windows attribute word of an entry whose mode (links followed) is mode.
DWORD AttributesOf(const std::string& hostPath, mode_t mode);
// READONLY from the permission bits: a file no one may write.
bool IsReadOnly(mode_t mode);
// Gives the entry these attributes (FILE_ATTRIBUTE_NORMAL alone clears them). The kept bits
// are dropped silently where the filesystem has no user extended attributes.
bool ApplyAttributes(const std::string& hostPath, mode_t mode, DWORD attributes, DWORD* error);
// The same for a regular file just made through fd, which has no attribute word to clear.
bool ApplyNewFileAttributes(int fd, DWORD attributes, DWORD* error);
// Attributes, times and size of an entry, links followed (a filesystem without birth times
// answers the last write time as creation time); false with errno set. An entry that is a
// symbolic link also carries FILE_ATTRIBUTE_REPARSE_POINT, as a Windows link does; one whose
// target is gone is described by itself.
bool DescribeHostEntry(const std::string& hostPath, WIN32_FILE_ATTRIBUTE_DATA& data);
// The same, with the volume, the link count and the file index, of an open descriptor (a
// descriptor is never a link); hostPath names its attribute word (empty: the default word).
bool DescribeOpenFile(int fd, const std::string& hostPath, BY_HANDLE_FILE_INFORMATION& info);
// The creation, last access and last write times of an open descriptor.
bool TimesOf(int fd, FILETIME& creation, FILETIME& lastAccess, FILETIME& lastWrite);

// Copies a regular file (bytes, permission bits, times, attributes) through a temporary file
// in the target's folder renamed into place; replace=false fails with ERROR_FILE_EXISTS when
// the target exists. A failure leaves no trace of the target.
bool CopyHostFile(const std::string& from, const std::string& to, bool replace, DWORD* error);
// Reads a whole file of at most maxBytes (EFBIG beyond); false with errno set.
bool ReadHostFile(const std::string& hostPath, std::string& bytes, std::size_t maxBytes);
// Renames without replacing an existing target (atomically where the filesystem can):
// 0 or an errno value, EEXIST when the target exists.
int RenameNoReplace(const std::string& from, const std::string& to);
// Replaces (or creates) a file with these bytes: temporary file, flush, rename.
bool ReplaceHostFile(const std::string& hostPath, std::string_view bytes, DWORD* error);

}  // namespace zx::file
