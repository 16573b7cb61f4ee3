// Share modes as open-file-description locks. Each open holds a shared lock on the byte of
// every access it has (read, write, delete) and on the byte of every access it denies; an
// open conflicts when another description holds the "denies" byte of an access it wants, or
// the "has" byte of an access it denies. Locks are taken before the check, so of two opens
// racing each other at least one sees the other. Neighbouring bytes are locked and tested
// in one call.
#include "sharemode.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <limits>

#include "fileapi.h"
#include "zx/spawngate.h"

namespace zx::file {
namespace {

constexpr off_t kBase = std::numeric_limits<off_t>::max() - 64;
enum Slot : int { kHasRead, kHasWrite, kHasDelete, kDeniesRead, kDeniesWrite, kDeniesDelete };

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

constexpr int kSlots = 6;

struct flock Bytes(int first, int count, short type) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = kBase + first;
  lock.l_len = count;
  return lock;
}

// False when the locks cannot be used here (filesystem, descriptor mode).
bool Hold(int fd, int first, int count) {
  struct flock lock = Bytes(first, count, F_RDLCK);
  return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// Whether another open file description holds any of the bytes.
bool HeldElsewhere(int fd, int first, int count) {
  struct flock lock = Bytes(first, count, F_WRLCK);
  return ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}

// Whether step answers true for every run of neighbouring marked slots (one call a run).
template <typename Step>
bool EveryRun(const bool (&marked)[kSlots], Step step) {
  for (int first = 0; first < kSlots;) {
    if (!marked[first]) {
      ++first;
      continue;
    }
    int end = first;
    while (end < kSlots && marked[end]) ++end;
    if (!step(first, end - first)) return false;
    first = end;
  }
  return true;
}

}  // namespace

std::shared_mutex& SpawnGate() {
  static std::shared_mutex gate;
  return gate;
}

bool ClaimShareMode(int fd, DWORD access, DWORD share) {
  const Wants wants = AccessOf(access);
  if (!wants.read && !wants.write && !wants.remove) return true;
  // A child being started holds copies of our files: their locks go with its new image.
  std::shared_lock<std::shared_mutex> settled(SpawnGate());
  const bool deny[3] = {(share & FILE_SHARE_READ) == 0, (share & FILE_SHARE_WRITE) == 0,
                        (share & FILE_SHARE_DELETE) == 0};
  const bool has[3] = {wants.read, wants.write, wants.remove};
  // The bytes this open holds, and those whose holders it conflicts with.
  bool held[kSlots] = {};
  bool checked[kSlots] = {};
  for (int i = 0; i < 3; ++i) {
    held[kHasRead + i] = checked[kDeniesRead + i] = has[i];
    held[kDeniesRead + i] = checked[kHasRead + i] = deny[i];
  }
  if (!EveryRun(held, [fd](int first, int count) { return Hold(fd, first, count); })) return true;
  return EveryRun(checked, [fd](int first, int count) { return !HeldElsewhere(fd, first, count); });
}

bool SharingConflict(const std::string& hostPath, DWORD access, DWORD share) {
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  const bool conflict = !ClaimShareMode(fd, access, share);
  ::close(fd);
  return conflict;
}

}  // namespace zx::file
