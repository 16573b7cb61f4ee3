// CFile: the class library's file over the kernel file API (CreateFileW, ReadFile, ...).
#include <algorithm>

#include "afxfile.h"
#include "errhandlingapi.h"
#include "fileapi.h"
#include "handleapi.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

DWORD Access(UINT flags) {
  switch (flags & 3) {
    case CFile::modeRead: return GENERIC_READ;
    case CFile::modeWrite: return GENERIC_WRITE;
    case CFile::modeReadWrite: return GENERIC_READ | GENERIC_WRITE;
    default: return 0;
  }
}

DWORD Share(UINT flags) {
  switch (flags & 0x70) {
    case CFile::shareDenyWrite: return FILE_SHARE_READ;
    case CFile::shareDenyRead: return FILE_SHARE_WRITE;
    case CFile::shareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default: return 0;  // shareCompat, shareExclusive
  }
}

DWORD Attributes(UINT flags) {
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  if (flags & CFile::osNoBuffer) attributes |= FILE_FLAG_NO_BUFFERING;
  if (flags & CFile::osWriteThrough) attributes |= FILE_FLAG_WRITE_THROUGH;
  if (flags & CFile::osRandomAccess) attributes |= FILE_FLAG_RANDOM_ACCESS;
  if (flags & CFile::osSequentialScan) attributes |= FILE_FLAG_SEQUENTIAL_SCAN;
  return attributes;
}

CString FullPath(LPCTSTR fileName) {
  WCHAR buffer[MAX_PATH * 4];
  const DWORD n = GetFullPathNameW(fileName, MAX_PATH * 4, buffer, nullptr);
  return (n > 0 && n < MAX_PATH * 4) ? CString(buffer, static_cast<int>(n)) : CString(fileName);
}

}  // namespace

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE file) : m_hFile(file), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCTSTR fileName, UINT openFlags) : CFile() {
  CFileException error;
  if (!Open(fileName, openFlags, &error)) AfxThrowFileException(error.m_cause, error.m_lOsError, fileName);
}

CFile::~CFile() {
  if (m_hFile != hFileNull && m_bCloseOnDelete) Abort();
}

BOOL CFile::Open(LPCTSTR fileName, UINT openFlags, CFileException* error) {
  if (m_hFile != hFileNull) Abort();
  auto fail = [&](LONG osError) {
    if (error != nullptr) {
      error->m_cause = CFileException::OsErrorToException(osError);
      error->m_lOsError = osError;
      error->m_strFileName = fileName;
    }
    return FALSE;
  };
  if (fileName == nullptr || *fileName == u'\0') return fail(ERROR_PATH_NOT_FOUND);
  if ((openFlags & 3) == 3) return fail(ERROR_INVALID_PARAMETER);
  const DWORD disposition = (openFlags & modeCreate) == 0 ? OPEN_EXISTING
                            : (openFlags & modeNoTruncate) != 0 ? OPEN_ALWAYS
                                                                : CREATE_ALWAYS;
  HANDLE file = CreateFileW(fileName, Access(openFlags), Share(openFlags), nullptr, disposition,
                            Attributes(openFlags), nullptr);
  if (file == INVALID_HANDLE_VALUE) return fail(static_cast<LONG>(GetLastError()));
  m_hFile = file;
  m_bCloseOnDelete = TRUE;
  m_strFileName = FullPath(fileName);
  return TRUE;
}

ULONGLONG CFile::GetPosition() const {
  LARGE_INTEGER zero{};
  LARGE_INTEGER position{};
  if (!SetFilePointerEx(m_hFile, zero, &position, FILE_CURRENT))
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
  return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
  LARGE_INTEGER distance{};
  distance.QuadPart = offset;
  LARGE_INTEGER position{};
  if (from > end || !SetFilePointerEx(m_hFile, distance, &position, from))
    CFileException::ThrowOsError(from > end ? ERROR_INVALID_PARAMETER : static_cast<LONG>(GetLastError()),
                                 m_strFileName);
  return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetLength() const {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(m_hFile, &size))
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
  return static_cast<ULONGLONG>(size.QuadPart);
}

// As in MFC the file pointer is left at the new end.
void CFile::SetLength(ULONGLONG newLength) {
  Seek(static_cast<LONGLONG>(newLength), begin);
  if (!SetEndOfFile(m_hFile)) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
}

UINT CFile::Read(void* buffer, UINT count) {
  if (count == 0) return 0;
  if (buffer == nullptr) AfxThrowInvalidArgException();
  DWORD read = 0;
  if (!ReadFile(m_hFile, buffer, count, &read, nullptr))
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
  return read;
}

void CFile::Write(const void* buffer, UINT count) {
  if (count == 0) return;
  if (buffer == nullptr) AfxThrowInvalidArgException();
  DWORD written = 0;
  if (!WriteFile(m_hFile, buffer, count, &written, nullptr))
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
  if (written != count) AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
}

void CFile::Flush() {
  if (m_hFile != hFileNull && !FlushFileBuffers(m_hFile))
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
}

void CFile::Close() {
  const bool closed = m_hFile == hFileNull || CloseHandle(m_hFile);
  const LONG error = closed ? 0 : static_cast<LONG>(GetLastError());
  const CString name = m_strFileName;
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
  if (!closed) CFileException::ThrowOsError(error, name);
}

void CFile::Abort() {
  if (m_hFile != hFileNull) CloseHandle(m_hFile);
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
}

CString CFile::GetFileName() const {
  const CString path = GetFilePath();
  return path.Mid(std::max({path.ReverseFind(u'\\'), path.ReverseFind(u'/'), path.ReverseFind(u':')}) + 1);
}

CString CFile::GetFileTitle() const {
  const CString name = GetFileName();
  const int dot = name.ReverseFind(u'.');
  return dot > 0 ? name.Left(dot) : name;
}

void CFile::Rename(LPCTSTR oldName, LPCTSTR newName) {
  if (!MoveFileW(oldName, newName)) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), oldName);
}

void CFile::Remove(LPCTSTR fileName) {
  if (!DeleteFileW(fileName)) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), fileName);
}
