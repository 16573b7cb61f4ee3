// Global memory blocks (GlobalAlloc and friends): fixed blocks whose handle is their address,
// and movable blocks named by a handle of their own, locked to reach their bytes (COM streams
// over memory are built on them).
#pragma once
#include "wintypes.h"

#define GMEM_FIXED 0x0000u
#define GMEM_MOVEABLE 0x0002u
#define GMEM_ZEROINIT 0x0040u
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

using HGLOBAL = HANDLE;

// Null with ERROR_INVALID_PARAMETER for other flags, ERROR_NOT_ENOUGH_MEMORY when the memory
// is not there. A size of 0 gives a block of its own.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// The bytes of a block (null with ERROR_INVALID_HANDLE for an unknown handle); a movable
// block counts its locks.
LPVOID GlobalLock(HGLOBAL memory);
// TRUE while the block stays locked; FALSE with NO_ERROR when the last lock went, with
// ERROR_NOT_LOCKED when it was not locked.
BOOL GlobalUnlock(HGLOBAL memory);
// A new size, keeping the bytes (the new ones zero with GMEM_ZEROINIT). A movable block keeps
// its handle; a fixed block moves (and gets a new handle). Null on failure, the block kept.
HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags);
// Answers null when freed, else the handle (ERROR_INVALID_HANDLE).
HGLOBAL GlobalFree(HGLOBAL memory);
// 0 with ERROR_INVALID_HANDLE for an unknown handle.
SIZE_T GlobalSize(HGLOBAL memory);
