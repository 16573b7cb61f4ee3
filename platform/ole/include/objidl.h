// Streams of bytes as COM hands them around (ISequentialStream, IStream) and the stream over
// a global memory block (CreateStreamOnHGlobal), from which GDI+ reads images; objects saved to
// files (IPersistFile).
#pragma once
#include "unknwn.h"
#include "winglobal.h"
#include "wtypes.h"

extern const IID IID_ISequentialStream;  // {0C733A30-2A1C-11CE-ADE5-00AA0044773D}
extern const IID IID_IStream;            // {0000000C-0000-0000-C000-000000000046}

#define STREAM_SEEK_SET 0
#define STREAM_SEEK_CUR 1
#define STREAM_SEEK_END 2
#define STATFLAG_DEFAULT 0
#define STATFLAG_NONAME 1
#define STGTY_STREAM 2
#define STG_E_INVALIDFUNCTION (static_cast<HRESULT>(0x80030001u))
#define STG_E_INVALIDPOINTER (static_cast<HRESULT>(0x80030009u))
#define STG_E_MEDIUMFULL (static_cast<HRESULT>(0x80030070u))

struct STATSTG {
  LPWSTR pwcsName;
  DWORD type;
  ULARGE_INTEGER cbSize;
  FILETIME mtime;
  FILETIME ctime;
  FILETIME atime;
  DWORD grfMode;
  DWORD grfLocksSupported;
  CLSID clsid;
  DWORD grfStateBits;
  DWORD reserved;
};

struct ISequentialStream : IUnknown {
  virtual HRESULT Read(void* buffer, ULONG bytes, ULONG* read) = 0;
  virtual HRESULT Write(const void* buffer, ULONG bytes, ULONG* written) = 0;

 protected:
  ~ISequentialStream() = default;
};

struct IStream : ISequentialStream {
  virtual HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) = 0;
  virtual HRESULT SetSize(ULARGE_INTEGER newSize) = 0;
  virtual HRESULT CopyTo(IStream* target, ULARGE_INTEGER bytes, ULARGE_INTEGER* read, ULARGE_INTEGER* written) = 0;
  virtual HRESULT Commit(DWORD flags) = 0;
  virtual HRESULT Revert() = 0;
  virtual HRESULT LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER bytes, DWORD lockType) = 0;
  virtual HRESULT UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER bytes, DWORD lockType) = 0;
  virtual HRESULT Stat(STATSTG* stat, DWORD flags) = 0;
  virtual HRESULT Clone(IStream** stream) = 0;

 protected:
  ~IStream() = default;
};
using LPSTREAM = IStream*;

// A stream over the movable block (a new empty one for null), as long as the block itself;
// with deleteOnRelease the last Release frees the block. Writing past the end grows it.
HRESULT CreateStreamOnHGlobal(HGLOBAL memory, BOOL deleteOnRelease, IStream** stream);
// The block under a stream of CreateStreamOnHGlobal.
HRESULT GetHGlobalFromStream(IStream* stream, HGLOBAL* memory);

// Objects that load from and save to a file (a task of the Task Scheduler, for one).
inline const IID IID_IPersist = {0x0000010C, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline const IID IID_IPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IPersist : IUnknown {
  virtual HRESULT GetClassID(CLSID* clsid) = 0;

 protected:
  ~IPersist() = default;
};

struct IPersistFile : IPersist {
  // S_OK when the object changed since it was last saved, else S_FALSE.
  virtual HRESULT IsDirty() = 0;
  virtual HRESULT Load(LPCOLESTR fileName, DWORD mode) = 0;
  // A null fileName saves to the object's own file.
  virtual HRESULT Save(LPCOLESTR fileName, BOOL remember) = 0;
  virtual HRESULT SaveCompleted(LPCOLESTR fileName) = 0;
  // The object's file, task memory (CoTaskMemFree).
  virtual HRESULT GetCurFile(LPOLESTR* fileName) = 0;

 protected:
  ~IPersistFile() = default;
};
