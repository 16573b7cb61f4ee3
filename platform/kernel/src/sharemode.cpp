// Share modes as open-file-description locks. Each open holds a shared lock on the byte of
// every access it has (read, write, delete) and on the byte of every access it denies; an
// open conflicts when another description holds the "denies" byte of an access it wants, or
// the "has" byte of an access it denies. Locks are taken before the check, so of two opens
// racing each other at least one sees the other.
#include "sharemode.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <limits>

#include "fileapi.h"

namespace zx::file {
namespace {

constexpr off_t kBase = std::numeric_limits<off_t>::max() - 64;
enum Slot : off_t { kHasRead, kHasWrite, kHasDelete, kDeniesRead, kDeniesWrite, kDeniesDelete };

struct Wants {
  bool read;
  bool write;
  bool remove;
};

Wants AccessOf(DWORD access) {
  return Wants{(access & (GENERIC_READ | GENERIC_ALL | FILE_READ_DATA)) != 0,
               (access & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA)) != 0,
               (access & (DELETE | GENERIC_ALL)) != 0};
}

struct flock Byte(Slot slot, short type) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = kBase + slot;
  lock.l_len = 1;
  return lock;
}

// False when the locks cannot be used here (filesystem, descriptor mode).
bool Hold(int fd, Slot slot) {
  struct flock lock = Byte(slot, F_RDLCK);
  return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// Whether another open file description holds the byte.
bool HeldElsewhere(int fd, Slot slot) {
  struct flock lock = Byte(slot, F_WRLCK);
  return ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}

}  // namespace

bool ClaimShareMode(int fd, DWORD access, DWORD share) {
  const Wants wants = AccessOf(access);
  if (!wants.read && !wants.write && !wants.remove) return true;
  const bool deny[3] = {(share & FILE_SHARE_READ) == 0, (share & FILE_SHARE_WRITE) == 0,
                        (share & FILE_SHARE_DELETE) == 0};
  const bool has[3] = {wants.read, wants.write, wants.remove};
  for (int i = 0; i < 3; ++i) {
    if (has[i] && !Hold(fd, static_cast<Slot>(kHasRead + i))) return true;
    if (deny[i] && !Hold(fd, static_cast<Slot>(kDeniesRead + i))) return true;
  }
  for (int i = 0; i < 3; ++i) {
    if (has[i] && HeldElsewhere(fd, static_cast<Slot>(kDeniesRead + i))) return false;
    if (deny[i] && HeldElsewhere(fd, static_cast<Slot>(kHasRead + i))) return false;
  }
  return true;
}

bool SharingConflict(const std::string& hostPath, DWORD access, DWORD share) {
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  const bool conflict = !ClaimShareMode(fd, access, share);
  ::close(fd);
  return conflict;
}

}  // namespace zx::file
