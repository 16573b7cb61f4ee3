// The class library's exceptions: classes, descriptions and the AfxThrow helpers.
#include <algorithm>

#include "afxexcept.h"

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {

CString NameOr(const CString& fileName) {
  return fileName.IsEmpty() ? CString(u"an unnamed file") : fileName;
}

}  // namespace

void CException::Delete() {
  if (m_bAutoDelete) delete this;
}

BOOL CException::GetErrorMessage(LPTSTR error, UINT maxError, UINT* helpContext) const {
  if (helpContext != nullptr) *helpContext = 0;
  if (error == nullptr || maxError == 0) return FALSE;
  const CString text = Describe();
  const UINT n = std::min<UINT>(static_cast<UINT>(text.GetLength()), maxError - 1);
  std::copy_n(text.GetString(), n, error);
  error[n] = u'\0';
  return TRUE;
}

CString CException::Describe() const { return u"An unexpected error occurred."; }
CString CMemoryException::Describe() const { return u"Out of memory."; }
CString CNotSupportedException::Describe() const { return u"The operation is not supported."; }
CString CInvalidArgException::Describe() const { return u"An invalid argument was passed."; }

int CFileException::OsErrorToException(LONG osError) {
  switch (osError) {
    case ERROR_SUCCESS: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_FILENAME_EXCED_RANGE: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
    case ERROR_DIRECTORY: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_CANNOT_MAKE: return directoryFull;
    case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_NOT_READY:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE: return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return genericException;
  }
}

void CFileException::ThrowOsError(LONG osError, LPCTSTR fileName) {
  AfxThrowFileException(OsErrorToException(osError), osError, fileName);
}

CString CFileException::Describe() const {
  const CString name = NameOr(m_strFileName);
  CString text;
  switch (m_cause) {
    case none: text = u"No error occurred."; break;
    case fileNotFound: text.Format(u"%s does not exist.", name); break;
    case badPath: text.Format(u"The path of %s is not valid.", name); break;
    case tooManyOpenFiles: text.Format(u"%s cannot be opened: too many files are open.", name); break;
    case accessDenied: text.Format(u"Access to %s is denied.", name); break;
    case invalidFile: text.Format(u"The handle used for %s is not valid.", name); break;
    case removeCurrentDir: text.Format(u"%s is the current folder and cannot be removed.", name); break;
    case directoryFull: text.Format(u"%s cannot be created: the folder is full.", name); break;
    case badSeek: text.Format(u"Cannot move to that position in %s.", name); break;
    case hardIO: text.Format(u"A device error occurred while using %s.", name); break;
    case sharingViolation: text.Format(u"%s is in use by another program.", name); break;
    case lockViolation: text.Format(u"Part of %s is locked by another program.", name); break;
    case diskFull: text.Format(u"The disk is full while writing %s.", name); break;
    case endOfFile: text.Format(u"Reading past the end of %s.", name); break;
    default: text.Format(u"An error occurred while using %s.", name); break;
  }
  return text;
}

CString CArchiveException::Describe() const {
  const CString name = NameOr(m_strFileName);
  CString text;
  switch (m_cause) {
    case none: text = u"No error occurred."; break;
    case readOnly: text.Format(u"Cannot write to %s: it is open for reading.", name); break;
    case endOfFile: text.Format(u"%s ends unexpectedly.", name); break;
    case writeOnly: text.Format(u"Cannot read from %s: it is open for writing.", name); break;
    case badIndex:
    case badClass:
    case badSchema: text.Format(u"%s holds damaged or unsupported data.", name); break;
    case bufferFull: text.Format(u"The buffer for %s is full.", name); break;
    default: text.Format(u"An error occurred while reading or writing %s.", name); break;
  }
  return text;
}

void AfxThrowMemoryException() {
  static CMemoryException outOfMemory(FALSE);
  throw &outOfMemory;
}

void AfxThrowNotSupportedException() { throw new CNotSupportedException(); }
void AfxThrowInvalidArgException() { throw new CInvalidArgException(); }

void AfxThrowFileException(int cause, LONG osError, LPCTSTR fileName) {
  throw new CFileException(cause, osError, fileName);
}

void AfxThrowArchiveException(int cause, LPCTSTR fileName) {
  throw new CArchiveException(cause, fileName);
}
