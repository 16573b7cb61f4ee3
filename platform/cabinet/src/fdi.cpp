// The cabinet decompression interface on libmspack. libmspack reads the cabinet through the
// caller's open, read and seek callbacks and writes each file through the caller's write
// callback to the handle the copy-file notification answered; names and folders are the
// caller's business, as in the cabinet library.
#include <mspack.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fdi.h"

namespace {

// The name under which libmspack opens the current target; it never names a real file.
constexpr char kTargetName[] = "\x01target";

struct Context;

struct FdiFile {
  Context* context;
  INT_PTR handle;
  bool target;  // the caller's target: never closed here
};

struct FdiSystem {
  mspack_system base;
  Context* context;
};

struct Context {
  PFNALLOC alloc;
  PFNFREE free;
  PFNOPEN open;
  PFNREAD read;
  PFNWRITE write;
  PFNCLOSE close;
  PFNSEEK seek;
  PERF erf;
  FdiSystem system;
  mscab_decompressor* decompressor;
  INT_PTR target;
};

void SetError(PERF erf, FDIERROR error) {
  if (erf == nullptr) return;
  erf->erfOper = error;
  erf->erfType = 0;
  erf->fError = error != FDIERROR_NONE;
}

Context* ContextOf(mspack_system* self) { return reinterpret_cast<FdiSystem*>(self)->context; }

mspack_file* OpenFile(mspack_system* self, const char* name, int mode) {
  Context* context = ContextOf(self);
  INT_PTR handle;
  bool target = false;
  if (std::strcmp(name, kTargetName) == 0) {
    handle = context->target;
    target = true;
  } else {
    if (mode != MSPACK_SYS_OPEN_READ) return nullptr;
    std::string copy(name);
    handle = context->open(copy.data(), _O_RDONLY | _O_BINARY, 0);
    if (handle == -1) return nullptr;
  }
  auto* file = static_cast<FdiFile*>(context->alloc(sizeof(FdiFile)));
  if (file == nullptr) {
    if (!target) context->close(handle);
    return nullptr;
  }
  *file = FdiFile{context, handle, target};
  return reinterpret_cast<mspack_file*>(file);
}

void CloseFile(mspack_file* file) {
  auto* fdiFile = reinterpret_cast<FdiFile*>(file);
  Context* context = fdiFile->context;
  if (!fdiFile->target) context->close(fdiFile->handle);
  context->free(fdiFile);
}

int ReadFile(mspack_file* file, void* buffer, int bytes) {
  auto* fdiFile = reinterpret_cast<FdiFile*>(file);
  if (bytes < 0) return -1;
  const UINT got = fdiFile->context->read(fdiFile->handle, buffer, static_cast<UINT>(bytes));
  return got == static_cast<UINT>(-1) ? -1 : static_cast<int>(got);
}

int WriteFile(mspack_file* file, void* buffer, int bytes) {
  auto* fdiFile = reinterpret_cast<FdiFile*>(file);
  if (bytes < 0) return -1;
  const UINT put = fdiFile->context->write(fdiFile->handle, buffer, static_cast<UINT>(bytes));
  return put == static_cast<UINT>(-1) ? -1 : static_cast<int>(put);
}

int SeekFile(mspack_file* file, off_t offset, int mode) {
  auto* fdiFile = reinterpret_cast<FdiFile*>(file);
  if (offset < INT32_MIN || offset > INT32_MAX) return -1;
  const int origin = mode == MSPACK_SYS_SEEK_START ? SEEK_SET : mode == MSPACK_SYS_SEEK_CUR ? SEEK_CUR : SEEK_END;
  return fdiFile->context->seek(fdiFile->handle, static_cast<LONG>(offset), origin) == -1 ? -1 : 0;
}

off_t TellFile(mspack_file* file) {
  auto* fdiFile = reinterpret_cast<FdiFile*>(file);
  return fdiFile->context->seek(fdiFile->handle, 0, SEEK_CUR);
}

void Message(mspack_file*, const char*, ...) {}

// libmspack's own blocks come from the C heap: its free names no system to reach the
// caller's allocator through. The caller's allocator holds the context and the file records.
void* Alloc(mspack_system*, size_t bytes) { return std::malloc(bytes); }
void Free(void* pointer) { std::free(pointer); }

void Copy(void* source, void* target, size_t bytes) { std::memmove(target, source, bytes); }

FDIERROR FromMspackError(int error) {
  switch (error) {
    case MSPACK_ERR_OPEN: return FDIERROR_CABINET_NOT_FOUND;
    case MSPACK_ERR_SIGNATURE: return FDIERROR_NOT_A_CABINET;
    case MSPACK_ERR_NOMEMORY: return FDIERROR_ALLOC_FAIL;
    case MSPACK_ERR_WRITE: return FDIERROR_TARGET_FILE;
    default: return FDIERROR_CORRUPT_CABINET;
  }
}

std::uint16_t Le16(const unsigned char* bytes) { return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8); }
std::uint32_t Le32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16) |
         static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

extern "C" HFDI FDICreate(PFNALLOC pfnalloc, PFNFREE pfnfree, PFNOPEN pfnopen, PFNREAD pfnread,
                          PFNWRITE pfnwrite, PFNCLOSE pfnclose, PFNSEEK pfnseek, int, PERF perf) {
  if (pfnalloc == nullptr || pfnfree == nullptr || pfnopen == nullptr || pfnread == nullptr ||
      pfnwrite == nullptr || pfnclose == nullptr || pfnseek == nullptr) {
    SetError(perf, FDIERROR_ALLOC_FAIL);
    return nullptr;
  }
  auto* context = static_cast<Context*>(pfnalloc(sizeof(Context)));
  if (context == nullptr) {
    SetError(perf, FDIERROR_ALLOC_FAIL);
    return nullptr;
  }
  std::memset(context, 0, sizeof *context);
  context->alloc = pfnalloc;
  context->free = pfnfree;
  context->open = pfnopen;
  context->read = pfnread;
  context->write = pfnwrite;
  context->close = pfnclose;
  context->seek = pfnseek;
  context->erf = perf;
  context->system.context = context;
  mspack_system& system = context->system.base;
  system.open = OpenFile;
  system.close = CloseFile;
  system.read = ReadFile;
  system.write = WriteFile;
  system.seek = SeekFile;
  system.tell = TellFile;
  system.message = Message;
  system.alloc = Alloc;
  system.free = Free;
  system.copy = Copy;
  system.null_ptr = nullptr;
  context->decompressor = mspack_create_cab_decompressor(&system);
  if (context->decompressor == nullptr) {
    pfnfree(context);
    SetError(perf, FDIERROR_ALLOC_FAIL);
    return nullptr;
  }
  SetError(perf, FDIERROR_NONE);
  return context;
}

extern "C" BOOL FDIDestroy(HFDI hfdi) {
  if (hfdi == nullptr) return FALSE;
  auto* context = static_cast<Context*>(hfdi);
  mspack_destroy_cab_decompressor(context->decompressor);
  context->free(context);
  return TRUE;
}

extern "C" BOOL FDIIsCabinet(HFDI hfdi, INT_PTR hf, PFDICABINETINFO pfdici) {
  if (hfdi == nullptr || pfdici == nullptr) return FALSE;
  auto* context = static_cast<Context*>(hfdi);
  unsigned char header[36];
  if (context->read(hf, header, sizeof header) != sizeof header) {
    SetError(context->erf, FDIERROR_NOT_A_CABINET);
    return FALSE;
  }
  if (std::memcmp(header, "MSCF", 4) != 0) {
    SetError(context->erf, FDIERROR_NOT_A_CABINET);
    return FALSE;
  }
  if (header[25] != 1) {
    SetError(context->erf, FDIERROR_UNKNOWN_CABINET_VERSION);
    return FALSE;
  }
  const std::uint16_t flags = Le16(header + 30);
  pfdici->cbCabinet = static_cast<LONG>(Le32(header + 8));
  pfdici->cFolders = Le16(header + 26);
  pfdici->cFiles = Le16(header + 28);
  pfdici->setID = Le16(header + 32);
  pfdici->iCabinet = Le16(header + 34);
  pfdici->hasprev = (flags & 1) != 0;
  pfdici->hasnext = (flags & 2) != 0;
  pfdici->fReserve = (flags & 4) != 0;
  SetError(context->erf, FDIERROR_NONE);
  return TRUE;
}

extern "C" BOOL FDICopy(HFDI hfdi, char* pszCabinet, char* pszCabPath, int, PFNFDINOTIFY pfnfdin,
                        PFNFDIDECRYPT, void* pvUser) {
  if (hfdi == nullptr || pszCabinet == nullptr || pfnfdin == nullptr) return FALSE;
  auto* context = static_cast<Context*>(hfdi);
  std::string path = pszCabPath != nullptr ? pszCabPath : "";
  path += pszCabinet;
  mscab_decompressor* decompressor = context->decompressor;
  mscabd_cabinet* cabinet = decompressor->open(decompressor, path.c_str());
  if (cabinet == nullptr) {
    SetError(context->erf, FromMspackError(decompressor->last_error(decompressor)));
    return FALSE;
  }
  FDIERROR error = FDIERROR_NONE;
  FDINOTIFICATION note{};
  std::string next = cabinet->nextname != nullptr ? cabinet->nextname : "";
  std::string nextDisk = cabinet->nextinfo != nullptr ? cabinet->nextinfo : "";
  std::string folder = pszCabPath != nullptr ? pszCabPath : "";
  note.pv = pvUser;
  note.psz1 = next.data();
  note.psz2 = nextDisk.data();
  note.psz3 = folder.data();
  note.setID = cabinet->set_id;
  note.iCabinet = cabinet->set_index;
  if (pfnfdin(fdintCABINET_INFO, &note) == -1) error = FDIERROR_USER_ABORT;
  for (mscabd_file* file = cabinet->files; file != nullptr && error == FDIERROR_NONE; file = file->next) {
    std::string name = file->filename != nullptr ? file->filename : "";
    note = FDINOTIFICATION{};
    note.pv = pvUser;
    note.psz1 = name.data();
    note.cb = static_cast<LONG>(file->length);
    note.date = static_cast<USHORT>(((file->date_y - 1980) & 0x7F) << 9 | (file->date_m & 0x0F) << 5 | (file->date_d & 0x1F));
    note.time = static_cast<USHORT>((file->time_h & 0x1F) << 11 | (file->time_m & 0x3F) << 5 | ((file->time_s / 2) & 0x1F));
    note.attribs = static_cast<USHORT>(file->attribs);
    const INT_PTR target = pfnfdin(fdintCOPY_FILE, &note);
    if (target == -1) {
      error = FDIERROR_USER_ABORT;
      break;
    }
    if (target == 0) continue;
    context->target = target;
    const int result = decompressor->extract(decompressor, file, kTargetName);
    note.hf = target;
    if (result != MSPACK_ERR_OK) {
      // The target stays open: the caller, who opened it, closes and discards it.
      error = FromMspackError(result);
      if (error == FDIERROR_CABINET_NOT_FOUND) error = FDIERROR_CORRUPT_CABINET;
      break;
    }
    if (pfnfdin(fdintCLOSE_FILE_INFO, &note) == -1) error = FDIERROR_USER_ABORT;
  }
  decompressor->close(decompressor, cabinet);
  SetError(context->erf, error);
  return error == FDIERROR_NONE;
}
