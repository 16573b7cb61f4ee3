// The bound on what unpacking one archive may write: a driver package or a backup that would
// expand past it is refused before its output can fill the disk.
#pragma once
#include <afx.h>
#include <windows.h>

// An archive may always write this much, whatever its packed size.
constexpr ULONGLONG kExtractionCeiling = 256ULL << 20;
// Beyond the ceiling it may write this many times its packed size.
constexpr ULONGLONG kExtractionRatio = 64;
// What unpacking always leaves free on the destination's drive.
constexpr ULONGLONG kExtractionFreeMargin = 64ULL << 20;

// The most an archive of `packedSize` bytes may write below `folder`: 64 times its packed
// size or 256 MiB, whichever is more, and never more than the free space of the folder's
// drive less 64 MiB (no free space at all when less is free).
ULONGLONG ExtractionBound(ULONGLONG packedSize, const CString& folder);

// The size of a file in bytes; 0 when it cannot be opened.
ULONGLONG ArchiveFileSize(const CString& path);

// What the files below a folder hold, in bytes; links are counted as themselves, never
// followed.
ULONGLONG FolderContentSize(const CString& folder);

// The text shown when a package is refused for passing the bound.
constexpr LPCTSTR kExtractionBoundTextId = _T("IDS_STRING_INSTALL_FILE_TOO_LARGE");
