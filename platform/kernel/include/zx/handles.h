// The process's kernel handle table: HANDLE values are small numbers that name shared kernel
// objects (events, mutexes, threads, files, ...). Platform-internal; system code sees HANDLE.
#pragma once
#include <memory>
#include "wintypes.h"

namespace zx {

// Base of every object a HANDLE can name. Components derive their objects from it.
class KernelObject {
 public:
  virtual ~KernelObject() = default;
};

// Stores the object and answers a new handle (never null, never INVALID_HANDLE_VALUE).
HANDLE InsertHandle(std::shared_ptr<KernelObject> object);
// The object a handle names, or null (last error untouched).
std::shared_ptr<KernelObject> ReferenceHandle(HANDLE handle);
template <class T>
std::shared_ptr<T> ReferenceHandleAs(HANDLE handle) {
  return std::dynamic_pointer_cast<T>(ReferenceHandle(handle));
}
// Drops the table's reference; false when the handle names nothing.
bool RemoveHandle(HANDLE handle);
// Number of open handles (leak checks in tests).
std::size_t OpenHandleCount();

}  // namespace zx
