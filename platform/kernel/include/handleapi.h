// Kernel handles: closing and duplicating them.
#pragma once
#include "wintypes.h"

#define DUPLICATE_CLOSE_SOURCE 0x00000001
#define DUPLICATE_SAME_ACCESS 0x00000002

// Drops one handle; the object lives on while other handles or users hold it. The
// pseudo-handles of GetCurrentProcess and GetCurrentThread close as a no-op.
BOOL CloseHandle(HANDLE object);
// Within the current process only (both process handles must be GetCurrentProcess()). The
// GetCurrentThread pseudo-handle duplicates into a real handle of the calling thread.
BOOL DuplicateHandle(HANDLE sourceProcess, HANDLE source, HANDLE targetProcess, LPHANDLE target,
                     DWORD desiredAccess, BOOL inheritHandle, DWORD options);
