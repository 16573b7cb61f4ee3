// Memory from the process heap and local memory: HeapAlloc / HeapFree on the one process
// heap, and LocalAlloc / LocalFree as fixed blocks. Both come from the C library's heap, so
// a block taken by one is never handed to the other's free function by the layer itself.
#pragma once
#include "wintypes.h"

#define HEAP_ZERO_MEMORY 0x00000008u
#define LMEM_FIXED 0x0000u
#define LMEM_ZEROINIT 0x0040u
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

using HLOCAL = HANDLE;

// The process heap: a fixed handle that never closes.
HANDLE GetProcessHeap();
// Null with ERROR_NOT_ENOUGH_MEMORY when the memory is not there (or the heap is not the
// process heap: ERROR_INVALID_HANDLE). A size of 0 gives a block of its own.
LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
// A null block is accepted and answers TRUE.
BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID memory);

// Fixed blocks only (the flags LMEM_FIXED and LMEM_ZEROINIT); the handle is the address.
HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
// Answers null when the block was freed (a null block included).
HLOCAL LocalFree(HLOCAL memory);
