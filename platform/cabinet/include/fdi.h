// The cabinet library's file decompression interface (FDI): a context made with the caller's
// memory and file callbacks, a test whether an open file is a cabinet, and the copy of a
// cabinet's files, each announced to the caller's notification callback, which opens the
// target and answers its file handle.
#pragma once
#include "wintypes.h"

using HFDI = void*;

// Error block filled by the calls.
struct ERF {
  int erfOper;  // an FDIERROR value
  int erfType;
  BOOL fError;
};
using PERF = ERF*;

enum FDIERROR {
  FDIERROR_NONE,
  FDIERROR_CABINET_NOT_FOUND,
  FDIERROR_NOT_A_CABINET,
  FDIERROR_UNKNOWN_CABINET_VERSION,
  FDIERROR_CORRUPT_CABINET,
  FDIERROR_ALLOC_FAIL,
  FDIERROR_BAD_COMPR_TYPE,
  FDIERROR_MDI_FAIL,
  FDIERROR_TARGET_FILE,
  FDIERROR_RESERVE_MISMATCH,
  FDIERROR_WRONG_CABINET,
  FDIERROR_USER_ABORT,
};

#define cpuUNKNOWN (-1)
#define cpu80286 0
#define cpu80386 1

// Attribute bits of a cabinet file entry.
#define _A_RDONLY 0x01
#define _A_HIDDEN 0x02
#define _A_SYSTEM 0x04
#define _A_ARCH 0x20
#define _A_EXEC 0x40
#define _A_NAME_IS_UTF 0x80

struct FDICABINETINFO {
  LONG cbCabinet;
  USHORT cFolders;
  USHORT cFiles;
  USHORT setID;
  USHORT iCabinet;
  BOOL fReserve;
  BOOL hasprev;
  BOOL hasnext;
};
using PFDICABINETINFO = FDICABINETINFO*;

enum FDINOTIFICATIONTYPE {
  fdintCABINET_INFO,
  fdintPARTIAL_FILE,
  fdintCOPY_FILE,
  fdintCLOSE_FILE_INFO,
  fdintNEXT_CABINET,
  fdintENUMERATE,
};

// What a notification carries. CABINET_INFO: psz1 next cabinet, psz2 next disk, psz3 the
// cabinet's folder. COPY_FILE: psz1 the file's name in the cabinet, cb its size, date, time
// and attribs; the answer is the target's handle, 0 to skip the file, -1 to stop. CLOSE_FILE_
// INFO: hf the target, psz1 the name, date, time, attribs; answer TRUE. NEXT_CABINET: psz1 the
// cabinet, fdie the error; answer -1 to stop.
struct FDINOTIFICATION {
  LONG cb;
  char* psz1;
  char* psz2;
  char* psz3;
  void* pv;
  INT_PTR hf;
  USHORT date;
  USHORT time;
  USHORT attribs;
  USHORT setID;
  USHORT iCabinet;
  USHORT iFolder;
  FDIERROR fdie;
};
using PFDINOTIFICATION = FDINOTIFICATION*;

using PFNALLOC = void* (*)(ULONG cb);
using PFNFREE = void (*)(void* pv);
// open(file, _O_* flags, permission mode): a handle, or -1.
using PFNOPEN = INT_PTR (*)(char* pszFile, int oflag, int pmode);
using PFNREAD = UINT (*)(INT_PTR hf, void* pv, UINT cb);
using PFNWRITE = UINT (*)(INT_PTR hf, void* pv, UINT cb);
using PFNCLOSE = int (*)(INT_PTR hf);
// seek(handle, distance, SEEK_SET / SEEK_CUR / SEEK_END): the new position, or -1.
using PFNSEEK = LONG (*)(INT_PTR hf, LONG dist, int seektype);
using PFNFDINOTIFY = INT_PTR (*)(FDINOTIFICATIONTYPE fdint, PFDINOTIFICATION pfdin);
using PFNFDIDECRYPT = int (*)(void* pfdid);

// The C run-time's open flags as the callbacks receive them.
#define _O_RDONLY 0x0000
#define _O_WRONLY 0x0001
#define _O_RDWR 0x0002
#define _O_APPEND 0x0008
#define _O_CREAT 0x0100
#define _O_TRUNC 0x0200
#define _O_EXCL 0x0400
#define _O_TEXT 0x4000
#define _O_BINARY 0x8000

extern "C" {
// A context, or null with the error block filled.
HFDI FDICreate(PFNALLOC pfnalloc, PFNFREE pfnfree, PFNOPEN pfnopen, PFNREAD pfnread,
               PFNWRITE pfnwrite, PFNCLOSE pfnclose, PFNSEEK pfnseek, int cpuType, PERF perf);
// Whether the open file (read through the context's callbacks from its current position)
// starts a cabinet; fills the information when it does.
BOOL FDIIsCabinet(HFDI hfdi, INT_PTR hf, PFDICABINETINFO pfdici);
// Copies the files of the cabinet pszCabPath + pszCabinet. FALSE with the error block filled
// when the cabinet cannot be read, is damaged, or the notification stopped the copy.
BOOL FDICopy(HFDI hfdi, char* pszCabinet, char* pszCabPath, int flags, PFNFDINOTIFY pfnfdin,
             PFNFDIDECRYPT pfnfdid, void* pvUser);
BOOL FDIDestroy(HFDI hfdi);
}

// The entry points' types, for binding them by name.
using FDICreateFn = decltype(&FDICreate);
using FDIIsCabinetFn = decltype(&FDIIsCabinet);
using FDICopyFn = decltype(&FDICopy);
using FDIDestroyFn = decltype(&FDIDestroy);
