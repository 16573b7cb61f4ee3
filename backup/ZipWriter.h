// The zip archive writer of the backups: a standard zip file (no zip64) built from files on
// disk, each entry raw-deflated at level 8 with a 32 KB window or, for names of archive
// kinds, stored. Its handles have the shape of the extraction wrapper's (ZipArchive.h); every
// call leaves its result in ZipLastError().
#pragma once
#include <afx.h>
#include <windows.h>

#include "ZipArchive.h"

// The longest entry name, in bytes of UTF-8.
constexpr int kZipMaxNameBytes = 260;

// Creates (replaces) the archive file: a writing handle, or null (0x200) when the file
// cannot be created.
HZIP ZipArchiveCreate(LPCTSTR path);

// Appends the file `source` as the entry `name` (backslashes become slashes; a name beyond
// ASCII is marked as UTF-8 for other readers, flag bit 11). 0 added;
// 0x10000 a null handle, an empty name or one over 260 bytes of UTF-8; 0x80000 not a writing
// handle; 0x200 the source cannot be opened; 0x400 reading the source, compressing or
// writing failed; 0x20000 the entry or the archive would pass what the format holds (4 GiB,
// 65535 entries). An entry that fails is taken out again, so the archive stays whole.
DWORD ZipArchiveAddFile(HZIP zip, LPCTSTR source, LPCTSTR name);

// Writes the central directory and the end record, closes the file and frees the handle.
// 0; 0x10000 a null handle; 0x80000 not a writing handle (left open); 0x400 a write failed or
// a failed entry could not be taken out: the file is then no whole archive.
DWORD ZipArchiveCloseWriter(HZIP zip);

// Whether entries of this name are stored rather than deflated: the extension after the
// last dot is one of .Z .zip .zoo .arc .lzh .arj .gz .tgz, compared without regard to case.
bool IsStoredZipEntryName(const CString& name);
