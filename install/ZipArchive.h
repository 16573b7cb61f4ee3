// The zip extraction wrapper: opens a zip archive (or a self-extracting program that is one),
// describes its entries and extracts them below a base folder. Every call leaves its result
// in ZipLastError(). The reader underneath is minizip over zlib, fed through a file handle.
#pragma once
#include <afx.h>
#include <windows.h>

// Result codes (0 = success).
enum ZipResult : DWORD {
  kZipOk = 0,
  kZipCannotOpen = 0x200,         // no readable zip directory, or the target cannot be created
  kZipWriteFailed = 0x400,
  kZipBadLocalHeader = 0x700,
  kZipBadExtraData = 0x800,
  kZipEncrypted = 0x1000,
  kZipBadArgument = 0x10000,      // null handle or index outside -1 .. count-1
  kZipTooLarge = 0x20000,         // writing: an entry or the archive would pass 4 GiB or 65535 entries
  kZipOutputBound = 0x40000,      // extracting: the entries would write more than the bound allows
  kZipWrongHandle = 0x80000,      // the handle is not of the kind the call works on
  kZipAlreadyOpen = 0x1000000,
  kZipDecompressFailed = 0x5000000,
  kZipUnsupportedMethod = 0x6000000,  // the entry's method is none the reader decodes
};

// Kinds of zip handle: extraction here, writing in the backup's archive writer (ZipWriter.h).
enum ZipHandleKind { kZipHandleExtract = 1, kZipHandleWrite = 2 };

struct ZipHandle {
  int nKind;
  void* pState;
};
using HZIP = ZipHandle*;

struct ZipItemInfo {
  int index;
  WCHAR name[MAX_PATH];
  DWORD attr;  // 0x10 folder, 0x20 archive, 0x02 hidden, 0x01 read-only, 0x04 system
  FILETIME atime;
  FILETIME ctime;
  FILETIME mtime;
  DWORD comp_size;
  DWORD unc_size;
};

// The result of the last zip call of this thread, extraction or writing; the writer sets it
// through SetZipLastError, which answers the result it was given.
DWORD ZipLastError();
DWORD SetZipLastError(DWORD result);

// An extraction handle, or null (the archive cannot be opened or holds no zip directory).
HZIP ZipArchiveOpen(LPCTSTR path);
// Describes entry `index`; -1 describes the archive: index = number of entries, empty name.
// The name is made safe: it never leads above the base folder or onto another drive. It is
// read as UTF-8 when flagged so or given by an Info-ZIP Unicode path block, else as UTF-8
// when valid, else in IBM 437; a name ending in "/" is a folder. Zip64 sizes and offsets
// are read whole; sizes above 32 bits show as 0xFFFFFFFF.
DWORD ZipArchiveGetItem(HZIP zip, ZipItemInfo* item, int index);
// The folder relative names go under; a backslash is added when it ends in no separator.
DWORD ZipArchiveSetBaseFolder(HZIP zip, LPCTSTR folder);
// Extracts entry `index` to `name` below the base folder (a name that tries to leave it is
// taken as relative to it). A file that cannot be written whole is removed again. Refused,
// with nothing written: a symbolic link and a file whose target another entry of the
// archive already took (0x200), an entry compressed with a method the reader cannot decode
// (anything but stored, deflated, bzip2, LZMA and xz: 0x6000000, while damaged data give 0x5000000).
DWORD ZipArchiveExtractItem(HZIP zip, LPCTSTR name, int index);
// The sum of the sizes every entry's directory record declares once unpacked (64-bit, zip64
// sizes read whole). An entry never writes more than its record declares.
DWORD ZipArchiveGetUnpackedTotal(HZIP zip, ULONGLONG* total);
DWORD ZipArchiveClose(HZIP zip);
