// CloseHandle, DuplicateHandle and the lookup of pseudo-handles.
#include "handleapi.h"

#include "errhandlingapi.h"
#include "handleref.h"
#include "processthreadsapi.h"

namespace zx {

std::shared_ptr<KernelObject> ReferenceObject(HANDLE handle) {
  if (handle == GetCurrentThread()) return CurrentThreadObject();
  return ReferenceHandle(handle);
}

}  // namespace zx

BOOL CloseHandle(HANDLE object) {
  if (object == GetCurrentProcess() || object == GetCurrentThread()) return TRUE;
  if (!zx::RemoveHandle(object)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL DuplicateHandle(HANDLE sourceProcess, HANDLE source, HANDLE targetProcess, LPHANDLE target,
                     DWORD /*desiredAccess*/, BOOL /*inheritHandle*/, DWORD options) {
  if (sourceProcess != GetCurrentProcess() || targetProcess != GetCurrentProcess()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  auto object = zx::ReferenceObject(source);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (target) *target = zx::InsertHandle(object);
  if (options & DUPLICATE_CLOSE_SOURCE) CloseHandle(source);
  return TRUE;
}
