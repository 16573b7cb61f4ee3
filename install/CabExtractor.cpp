// The cabinet extractor: the cabinet library's context with file callbacks over Win32 file
// handles, and the notifications that place each file below the output folder.
#include "CabExtractor.h"

#include <cstdlib>

#include "ArchivePaths.h"
#include "ExtractionBound.h"
#include "EncodedWidePath.h"

namespace {

void* Alloc(ULONG size) { return std::malloc(size); }
void Free(void* block) { std::free(block); }

INT_PTR OpenFile(char* path, int flags, int) {
  const DWORD access = (flags & (_O_WRONLY | _O_RDWR)) == 0 ? GENERIC_READ
                       : (flags & _O_RDWR) != 0             ? GENERIC_READ | GENERIC_WRITE
                                                            : GENERIC_WRITE;
  const DWORD disposition = (flags & _O_CREAT) == 0 ? OPEN_EXISTING
                            : (flags & _O_EXCL) != 0  ? CREATE_NEW
                            : (flags & _O_TRUNC) != 0 ? CREATE_ALWAYS
                                                      : OPEN_ALWAYS;
  HANDLE file = INVALID_HANDLE_VALUE;
  if (!IsEncodedWidePath(path)) {
    file = CreateFileA(path, access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  } else if (CString wide; DecodeEncodedWidePath(path, wide)) {
    file = CreateFileW(wide, access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<INT_PTR>(file);
}

// Whether the running Windows is of the NT platform, whose wide file functions take decoded
// paths.
bool IsNtPlatform() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

UINT ReadFrom(INT_PTR handle, void* buffer, UINT size) {
  DWORD got = 0;
  return ReadFile(reinterpret_cast<HANDLE>(handle), buffer, size, &got, nullptr) ? got : static_cast<UINT>(-1);
}

UINT WriteTo(INT_PTR handle, void* buffer, UINT size) {
  DWORD put = 0;
  return WriteFile(reinterpret_cast<HANDLE>(handle), buffer, size, &put, nullptr) ? put : static_cast<UINT>(-1);
}

int CloseFile(INT_PTR handle) { return CloseHandle(reinterpret_cast<HANDLE>(handle)) ? 0 : -1; }

LONG SeekFile(INT_PTR handle, LONG distance, int origin) {
  const DWORD method = origin == 0 ? FILE_BEGIN : origin == 1 ? FILE_CURRENT : FILE_END;
  LARGE_INTEGER move{}, position{};
  move.QuadPart = distance;
  if (!SetFilePointerEx(reinterpret_cast<HANDLE>(handle), move, &position, method)) return -1;
  return position.QuadPart > 0x7FFFFFFF ? -1 : static_cast<LONG>(position.QuadPart);
}

// The name of a cabinet entry: UTF-8 when flagged, else Windows-1252.
CString EntryName(const char* name, USHORT attributes) {
  if ((attributes & _A_NAME_IS_UTF) == 0) return CString(name);
  const int length = MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0);
  if (length <= 1) return CString();
  CString wide;
  MultiByteToWideChar(CP_UTF8, 0, name, -1, wide.GetBuffer(length), length);
  wide.ReleaseBuffer(length - 1);
  return wide;
}

}  // namespace

CCabExtractor::~CCabExtractor() {
  DiscardTarget();
  if (m_context != nullptr && m_destroy != nullptr) m_destroy(m_context);
  if (m_module != nullptr) FreeLibrary(m_module);
}

void CCabExtractor::Fail(int error) {
  m_error = error;
  m_errorFlag = true;
}

bool CCabExtractor::Init() {
  m_error = kErrorNone;
  m_errorFlag = false;
  m_erf = ERF{};
  if (m_context != nullptr) return true;
  if (m_module == nullptr) {
    m_module = LoadLibraryW(_T("Cabinet.dll"));
    if (m_module == nullptr) {
      Fail(kErrorLibrary);
      return false;
    }
    m_create = reinterpret_cast<FDICreateFn>(GetProcAddress(m_module, "FDICreate"));
    m_copy = reinterpret_cast<FDICopyFn>(GetProcAddress(m_module, "FDICopy"));
    m_isCabinet = reinterpret_cast<FDIIsCabinetFn>(GetProcAddress(m_module, "FDIIsCabinet"));
    m_destroy = reinterpret_cast<FDIDestroyFn>(GetProcAddress(m_module, "FDIDestroy"));
  }
  if (m_create == nullptr || m_copy == nullptr || m_isCabinet == nullptr || m_destroy == nullptr) {
    Fail(kErrorLibrary);
    return false;
  }
  m_context = m_create(Alloc, Free, OpenFile, ReadFrom, WriteTo, CloseFile, SeekFile, cpu80386, &m_erf);
  if (m_context == nullptr) {
    Fail(kErrorLibrary);
    return false;
  }
  return true;
}

bool CCabExtractor::ExtractCabinet(LPCSTR outputFolder, LPCSTR cabinetPath) {
  if (m_context == nullptr && !Init()) return false;
  m_error = kErrorNone;
  m_errorFlag = false;
  const CStringA output(outputFolder != nullptr ? outputFolder : "");
  if (output.GetLength() >= 256) {
    Fail(kErrorOutputTooLong);
    return false;
  }
  const CStringA path(cabinetPath != nullptr ? cabinetPath : "");
  const int slash = path.ReverseFind('\\');
  CStringA folder = path.Left(slash + 1);
  CStringA name = path.Mid(slash + 1);
  CString outputWide;
  if (output.IsEmpty() || slash < 0 || folder.IsEmpty() || name.IsEmpty() ||
      !DecodeEncodedWidePath(output, outputWide)) {
    Fail(kErrorArguments);
    return false;
  }
  // The cabinet's own name is narrow; its folder and the output folder may be encoded where
  // the wide file functions take them.
  if (IsEncodedWidePath(name)) {
    Fail(kErrorEncodedName);
    return false;
  }
  if ((IsEncodedWidePath(output) || IsEncodedWidePath(folder)) && !IsNtPlatform()) {
    Fail(kErrorEncodedNotNt);
    return false;
  }
  m_outputFolder = WithTrailingBackslash(outputWide);
  // A first walk over the set only adds up what its files would write; nothing is written
  // when that passes the bound.
  m_counting = true;
  m_unpacked = m_packed = 0;
  const bool counted = CopySet(name, folder);
  m_counting = false;
  if (!counted) return false;
  if (m_unpacked > ExtractionBound(m_packed, m_outputFolder)) {
    Fail(kErrorOutputBound);
    return false;
  }
  m_targets.clear();
  return CopySet(name, folder) && !m_errorFlag;
}

bool CCabExtractor::CopySet(CStringA name, CStringA folder) {
  for (;;) {
    m_nextCabinet.Empty();
    if (m_counting) {
      CString cabinet;
      if (DecodeEncodedWidePath(folder + name, cabinet)) m_packed += ArchiveFileSize(cabinet);
    }
    if (!m_copy(m_context, name.GetBuffer(), folder.GetBuffer(), 0, Notify, nullptr, this)) {
      name.ReleaseBuffer();
      folder.ReleaseBuffer();
      DiscardTarget();
      m_errorFlag = true;
      return false;
    }
    name.ReleaseBuffer();
    folder.ReleaseBuffer();
    // A cabinet set goes on in the next cabinet of the same folder.
    if (m_nextCabinet.IsEmpty() || m_nextCabinet.CompareNoCase(name) == 0) return true;
    name = m_nextCabinet;
  }
}

INT_PTR CCabExtractor::Notify(FDINOTIFICATIONTYPE type, PFDINOTIFICATION note) {
  auto* self = static_cast<CCabExtractor*>(note->pv);
  if (self->m_cancel) return -1;
  switch (type) {
    case fdintCABINET_INFO:
      self->m_nextCabinet = note->psz1 != nullptr ? note->psz1 : "";
      return 0;
    case fdintCOPY_FILE:
      return self->OpenTarget(note);
    case fdintCLOSE_FILE_INFO:
      return self->CloseTarget(note);
    case fdintNEXT_CABINET:
      // The library could not go on in the next cabinet: its error is the extractor's.
      if (note->fdie != FDIERROR_NONE) {
        self->Fail(note->fdie);
        return -1;
      }
      self->m_nextCabinet = note->psz1 != nullptr ? note->psz1 : "";
      return 0;
    default:
      return 0;
  }
}

INT_PTR CCabExtractor::OpenTarget(PFDINOTIFICATION note) {
  if (m_counting) {
    m_unpacked += note->cb;
    return 0;
  }
  const CString relative = MakeSafeEntryName(EntryName(note->psz1, note->attribs));
  const CString target = m_outputFolder + relative;
  // A name with nothing left inside the output folder, or naming the file another entry
  // already wrote, is refused: the cabinet cannot be extracted as it was packed.
  CString key = target;
  key.MakeLower();
  if (relative.IsEmpty() || !IsPathInsideFolder(m_outputFolder, target) || !m_targets.insert(key).second) {
    Fail(kErrorTargetFile);
    return -1;
  }
  const int slash = target.ReverseFind(_T('\\'));
  HANDLE file = INVALID_HANDLE_VALUE;
  if (CreateFolderPath(target.Left(slash + 1))) {
    file = CreateFileW(target, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (file == INVALID_HANDLE_VALUE) {
    Fail(kErrorTargetFile);
    return -1;
  }
  m_target = file;
  m_targetPath = target;
  return reinterpret_cast<INT_PTR>(file);
}

INT_PTR CCabExtractor::CloseTarget(PFDINOTIFICATION note) {
  FILETIME local{}, utc{};
  if (DosTimeToFileTime(note->date, note->time, local)) {
    // Bit 0x100 of the attributes says the time is already universal time.
    if ((note->attribs & 0x100) != 0) utc = local;
    else LocalFileTimeToFileTime(&local, &utc);
    SetFileTime(m_target, &utc, &utc, &utc);
  }
  CloseHandle(m_target);
  m_target = INVALID_HANDLE_VALUE;
  SetFileAttributesW(m_targetPath, (note->attribs & 0x27) != 0 ? (note->attribs & 0x27) : FILE_ATTRIBUTE_NORMAL);
  m_targetPath.Empty();
  return TRUE;
}

void CCabExtractor::DiscardTarget() {
  if (m_target == INVALID_HANDLE_VALUE) return;
  CloseHandle(m_target);
  m_target = INVALID_HANDLE_VALUE;
  DeleteFileW(m_targetPath);
  m_targetPath.Empty();
}
