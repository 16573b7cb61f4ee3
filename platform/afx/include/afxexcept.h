// The class library's exceptions. As in MFC they are thrown as pointers
// (throw new CFileException(...)), caught as CException* and released with Delete().
#pragma once
#include "afxobj.h"
#include "afxstr.h"

class CException : public CObject {
  DECLARE_DYNAMIC(CException)
 public:
  explicit CException(BOOL autoDelete = TRUE) : m_bAutoDelete(autoDelete) {}
  // Frees a heap exception; a static one (m_bAutoDelete FALSE) stays.
  void Delete();
  // Copies a one-line English description (truncated to maxError units incl. terminator).
  virtual BOOL GetErrorMessage(LPTSTR error, UINT maxError, UINT* helpContext = nullptr) const;

  BOOL m_bAutoDelete;

 protected:
  // The text GetErrorMessage copies.
  virtual CString Describe() const;
};

class CSimpleException : public CException {
  DECLARE_DYNAMIC(CSimpleException)
 public:
  using CException::CException;
};

class CMemoryException : public CSimpleException {
  DECLARE_DYNAMIC(CMemoryException)
 public:
  using CSimpleException::CSimpleException;

 protected:
  CString Describe() const override;
};

class CNotSupportedException : public CSimpleException {
  DECLARE_DYNAMIC(CNotSupportedException)
 public:
  using CSimpleException::CSimpleException;

 protected:
  CString Describe() const override;
};

class CInvalidArgException : public CSimpleException {
  DECLARE_DYNAMIC(CInvalidArgException)
 public:
  using CSimpleException::CSimpleException;

 protected:
  CString Describe() const override;
};

class CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)
 public:
  enum {
    none,
    genericException,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile
  };
  explicit CFileException(int cause = none, LONG osError = -1, LPCTSTR fileName = nullptr)
      : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}
  // The cause for a Win32 error code.
  static int OsErrorToException(LONG osError);
  [[noreturn]] static void ThrowOsError(LONG osError, LPCTSTR fileName = nullptr);

  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;

 protected:
  CString Describe() const override;
};

class CArchiveException : public CException {
  DECLARE_DYNAMIC(CArchiveException)
 public:
  enum { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema, bufferFull };
  explicit CArchiveException(int cause = none, LPCTSTR fileName = nullptr)
      : m_cause(cause), m_strFileName(fileName) {}

  int m_cause;
  CString m_strFileName;

 protected:
  CString Describe() const override;
};

// Out of memory throws one static CMemoryException (Delete leaves it alone).
[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowFileException(int cause, LONG osError = -1, LPCTSTR fileName = nullptr);
[[noreturn]] void AfxThrowArchiveException(int cause, LPCTSTR fileName = nullptr);
