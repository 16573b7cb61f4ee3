// Memory-mapped files over the host's mmap.
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>

#include "errhandlingapi.h"
#include "hostfiles.h"
#include "memoryapi.h"
#include "zx/fileobject.h"

namespace {

struct MappingObject : zx::KernelObject {
  std::shared_ptr<zx::FileObject> file;
  ULONGLONG size = 0;
  bool writable = false;
};

// The views in use: base address -> length, for UnmapViewOfFile.
struct Views {
  std::mutex mutex;
  std::map<const void*, std::size_t> lengths;
};

Views& TheViews() {
  static Views views;
  return views;
}

HANDLE FailHandle(DWORD error) {
  SetLastError(error);
  return nullptr;
}

}  // namespace

HANDLE CreateFileMappingW(HANDLE file, LPSECURITY_ATTRIBUTES, DWORD protect, DWORD maximumSizeHigh,
                          DWORD maximumSizeLow, LPCWSTR name) {
  if (name != nullptr) return FailHandle(ERROR_NOT_SUPPORTED);
  if (protect != PAGE_READONLY && protect != PAGE_READWRITE) return FailHandle(ERROR_INVALID_PARAMETER);
  auto object = std::make_shared<MappingObject>();
  object->file = zx::ReferenceHandleAs<zx::FileObject>(file);
  if (!object->file) return FailHandle(ERROR_INVALID_HANDLE);
  object->writable = protect == PAGE_READWRITE;
  if (!object->file->CanRead() || (object->writable && !object->file->CanWrite()))
    return FailHandle(ERROR_ACCESS_DENIED);
  struct stat st {};
  if (::fstat(object->file->fd(), &st) != 0) return FailHandle(zx::file::ErrorFromErrno(errno));
  const ULONGLONG fileSize = static_cast<ULONGLONG>(st.st_size);
  const ULONGLONG maximum = (ULONGLONG{maximumSizeHigh} << 32) | maximumSizeLow;
  object->size = maximum == 0 ? fileSize : maximum;
  if (object->size == 0) return FailHandle(ERROR_FILE_INVALID);
  if (object->size > fileSize) {
    if (!object->writable) return FailHandle(ERROR_NOT_ENOUGH_MEMORY);
    if (::ftruncate(object->file->fd(), static_cast<off_t>(object->size)) != 0)
      return FailHandle(zx::file::ErrorFromErrno(errno));
  }
  SetLastError(ERROR_SUCCESS);
  return zx::InsertHandle(std::move(object));
}

LPVOID MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow, SIZE_T bytes) {
  auto object = zx::ReferenceHandleAs<MappingObject>(mapping);
  if (!object) return FailHandle(ERROR_INVALID_HANDLE);
  const bool write = (desiredAccess & FILE_MAP_WRITE) != 0;
  if (write && !object->writable) return FailHandle(ERROR_ACCESS_DENIED);
  const ULONGLONG offset = (ULONGLONG{offsetHigh} << 32) | offsetLow;
  if (offset % ZX_ALLOCATION_GRANULARITY != 0) return FailHandle(ERROR_MAPPED_ALIGNMENT);
  if (offset >= object->size || bytes > object->size - offset) return FailHandle(ERROR_ACCESS_DENIED);
  const std::size_t length = bytes == 0 ? static_cast<std::size_t>(object->size - offset) : bytes;
  void* base = ::mmap(nullptr, length, write ? PROT_READ | PROT_WRITE : PROT_READ, MAP_SHARED,
                      object->file->fd(), static_cast<off_t>(offset));
  if (base == MAP_FAILED)
    return FailHandle(errno == ENOMEM ? ERROR_NOT_ENOUGH_MEMORY : zx::file::ErrorFromErrno(errno));
  Views& views = TheViews();
  std::lock_guard<std::mutex> lock(views.mutex);
  views.lengths[base] = length;
  return base;
}

BOOL UnmapViewOfFile(LPCVOID baseAddress) {
  Views& views = TheViews();
  std::lock_guard<std::mutex> lock(views.mutex);
  const auto found = views.lengths.find(baseAddress);
  if (found == views.lengths.end()) {
    SetLastError(ERROR_INVALID_ADDRESS);
    return FALSE;
  }
  ::munmap(const_cast<void*>(baseAddress), found->second);
  views.lengths.erase(found);
  return TRUE;
}
