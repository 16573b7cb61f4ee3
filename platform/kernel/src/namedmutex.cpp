// Named mutexes between processes: open-file-description locks on one file per name in the
// per-user runtime folder (mode 0700).
#include "namedmutex.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "kerneltext.h"
#include "zx/machine.h"

namespace zx {
namespace {

constexpr off_t kNameByte = 0;
constexpr off_t kOwnerByte = 1;

// A file name that keeps the object name readable: bytes outside [A-Za-z0-9_.-] of its UTF-8
// become %XX; a very long name becomes a hash of itself.
std::string LockFileName(const std::u16string& name) {
  const std::string utf8 = text::ToUtf8(name);
  std::string escaped;
  for (unsigned char c : utf8) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
        c == '.' || c == '-') {
      escaped += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      escaped += hex;
    }
  }
  if (escaped.size() <= 200) return "mutex-" + escaped;
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (unsigned char c : utf8) hash = (hash ^ c) * 1099511628211ull;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return std::string("mutex-#") + hex;
}

// Sets a one-byte lock; wait blocks until it can be had.
bool LockByte(int fd, off_t byte, short type, bool wait) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = byte;
  lock.l_len = 1;
  int rc;
  do {
    rc = ::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock);
  } while (rc != 0 && errno == EINTR);
  return rc == 0;
}

DWORD ErrorFromErrno(int error) {
  return error == ENOENT ? ERROR_PATH_NOT_FOUND : ERROR_ACCESS_DENIED;
}

}  // namespace

std::unique_ptr<NamedMutexFile> NamedMutexFile::Open(const std::u16string& name, bool create,
                                                     bool* existed, DWORD* error) {
  const std::string path = machine::RuntimeFolder() + "/" + LockFileName(name);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    *error = ErrorFromErrno(errno);
    return nullptr;
  }
  std::unique_ptr<NamedMutexFile> file(new NamedMutexFile(fd));
  // An exclusive lock on the name byte succeeds only when no other process has the name; it
  // then turns into a shared one in one step.
  *existed = !LockByte(fd, kNameByte, F_WRLCK, false);
  if (!*existed && !create) {
    *error = ERROR_FILE_NOT_FOUND;
    return nullptr;
  }
  if (!LockByte(fd, kNameByte, F_RDLCK, *existed)) {
    *error = ErrorFromErrno(errno);
    return nullptr;
  }
  return file;
}

NamedMutexFile::~NamedMutexFile() { ::close(fd_); }

bool NamedMutexFile::TryOwn() {
  if (!owned_) owned_ = LockByte(fd_, kOwnerByte, F_WRLCK, false);
  return owned_;
}

void NamedMutexFile::Disown() {
  if (owned_) LockByte(fd_, kOwnerByte, F_UNLCK, false);
  owned_ = false;
}

}  // namespace zx
