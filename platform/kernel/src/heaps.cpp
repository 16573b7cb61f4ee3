// The process heap and local memory over the C library's heap.
#include <cstdlib>

#include "errhandlingapi.h"
#include "heapapi.h"

namespace {

// Any non-null value that names no other object will do.
int g_processHeap;

LPVOID Allocate(SIZE_T bytes, bool zeroed) {
  const SIZE_T size = bytes == 0 ? 1 : bytes;
  void* memory = zeroed ? std::calloc(1, size) : std::malloc(size);
  if (memory == nullptr) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return memory;
}

}  // namespace

HANDLE GetProcessHeap() { return &g_processHeap; }

LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (heap != GetProcessHeap()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return Allocate(bytes, (flags & HEAP_ZERO_MEMORY) != 0);
}

BOOL HeapFree(HANDLE heap, DWORD, LPVOID memory) {
  if (heap != GetProcessHeap()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::free(memory);
  return TRUE;
}

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
  if ((flags & ~LPTR) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return Allocate(bytes, (flags & LMEM_ZEROINIT) != 0);
}

HLOCAL LocalFree(HLOCAL memory) {
  std::free(memory);
  return nullptr;
}
