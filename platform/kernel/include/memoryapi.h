// Memory-mapped files: a mapping object over an open file and views of it.
#pragma once
#include "wintypes.h"

#define PAGE_READONLY 0x02u
#define PAGE_READWRITE 0x04u
#define FILE_MAP_WRITE 0x0002u
#define FILE_MAP_READ 0x0004u
#define FILE_MAP_ALL_ACCESS 0x000F001Fu

// Views start at multiples of this.
#define ZX_ALLOCATION_GRANULARITY 65536u

// Over a file handle only (no paging-file sections, no names). A maximum size of 0 means
// the file's size; an empty file then answers ERROR_FILE_INVALID. A larger maximum grows a
// file opened for writing (PAGE_READWRITE). Closed by CloseHandle; views outlive it.
HANDLE CreateFileMappingW(HANDLE file, LPSECURITY_ATTRIBUTES attributes, DWORD protect, DWORD maximumSizeHigh,
                          DWORD maximumSizeLow, LPCWSTR name);
// The offset must be a multiple of the allocation granularity (ERROR_MAPPED_ALIGNMENT); 0
// bytes maps to the end of the mapping. Write access needs a PAGE_READWRITE mapping.
LPVOID MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow, SIZE_T bytes);
BOOL UnmapViewOfFile(LPCVOID baseAddress);

inline HANDLE CreateFileMapping(HANDLE file, LPSECURITY_ATTRIBUTES attributes, DWORD protect,
                                DWORD maximumSizeHigh, DWORD maximumSizeLow, LPCWSTR name) {
  return CreateFileMappingW(file, attributes, protect, maximumSizeHigh, maximumSizeLow, name);
}
