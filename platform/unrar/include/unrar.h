// The RAR library's interface ("unrar.dll"): open an archive to list or extract it, read its
// entries' headers one after the other, and skip, test or extract each entry.
#pragma once
#include "wintypes.h"

#define ERAR_SUCCESS 0
#define ERAR_END_ARCHIVE 10
#define ERAR_NO_MEMORY 11
#define ERAR_BAD_DATA 12
#define ERAR_BAD_ARCHIVE 13
#define ERAR_UNKNOWN_FORMAT 14
#define ERAR_EOPEN 15
#define ERAR_ECREATE 16
#define ERAR_ECLOSE 17
#define ERAR_EREAD 18
#define ERAR_EWRITE 19
#define ERAR_SMALL_BUF 20
#define ERAR_UNKNOWN 21

#define RAR_OM_LIST 0
#define RAR_OM_EXTRACT 1

#define RAR_SKIP 0
#define RAR_TEST 1
#define RAR_EXTRACT 2

// Header flag: the entry is a folder.
#define RHDF_DIRECTORY 0x20

struct RARHeaderData {
  char ArcName[260];
  char FileName[260];
  unsigned int Flags;
  unsigned int PackSize;
  unsigned int UnpSize;
  unsigned int HostOS;
  unsigned int FileCRC;
  unsigned int FileTime;
  unsigned int UnpVer;
  unsigned int Method;
  unsigned int FileAttr;
  char* CmtBuf;
  unsigned int CmtBufSize;
  unsigned int CmtSize;
  unsigned int CmtState;
};

struct RARHeaderDataEx {
  char ArcName[1024];
  WCHAR ArcNameW[1024];
  char FileName[1024];
  WCHAR FileNameW[1024];
  unsigned int Flags;
  unsigned int PackSize;
  unsigned int PackSizeHigh;
  unsigned int UnpSize;
  unsigned int UnpSizeHigh;
  unsigned int HostOS;
  unsigned int FileCRC;
  unsigned int FileTime;
  unsigned int UnpVer;
  unsigned int Method;
  unsigned int FileAttr;
  char* CmtBuf;
  unsigned int CmtBufSize;
  unsigned int CmtSize;
  unsigned int CmtState;
  unsigned int Reserved[1024];
};

struct RAROpenArchiveDataEx {
  char* ArcName;
  WCHAR* ArcNameW;
  unsigned int OpenMode;
  unsigned int OpenResult;
  char* CmtBuf;
  unsigned int CmtBufSize;
  unsigned int CmtSize;
  unsigned int CmtState;
  unsigned int Flags;
  void* Callback;
  LPARAM UserData;
  unsigned int Reserved[28];
};

extern "C" {
// The archive's handle, or null with OpenResult set. A wide name is used when given; the
// narrow one is Windows-1252 text. A multi-volume set is read on from its first volume
// ("x.part1.rar", or "x.rar" followed by "x.r00", "x.r01", ...) through the volumes beside it.
HANDLE RAROpenArchiveEx(RAROpenArchiveDataEx* archiveData);
int RARCloseArchive(HANDLE archive);
// The next entry's header: ERAR_SUCCESS, ERAR_END_ARCHIVE after the last, ERAR_BAD_DATA,
// ERAR_EOPEN when the set goes on in a volume that is missing. PackSize is the entry's
// packed size over all volumes.
int RARReadHeader(HANDLE archive, RARHeaderData* headerData);
int RARReadHeaderEx(HANDLE archive, RARHeaderDataEx* headerData);
// Skips, tests or extracts the entry whose header was read last. Extracted to destName when
// given, else below destPath under the entry's name; a name that would leave destPath is
// refused (ERAR_ECREATE). Symbolic links and hard links are never created (ERAR_ECREATE);
// their headers carry FILE_ATTRIBUTE_REPARSE_POINT in FileAttr. Data shorter or longer than
// the header's size fail (ERAR_BAD_DATA). A file that cannot be written
// whole is removed again.
int RARProcessFile(HANDLE archive, int operation, char* destPath, char* destName);
int RARProcessFileW(HANDLE archive, int operation, WCHAR* destPath, WCHAR* destName);
}

using RAROpenArchiveExFn = decltype(&RAROpenArchiveEx);
using RARCloseArchiveFn = decltype(&RARCloseArchive);
using RARReadHeaderFn = decltype(&RARReadHeader);
using RARReadHeaderExFn = decltype(&RARReadHeaderEx);
using RARProcessFileFn = decltype(&RARProcessFile);
using RARProcessFileWFn = decltype(&RARProcessFileW);
