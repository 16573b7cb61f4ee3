// Files of the class library: CFile over the kernel's file handles, CMemFile, a file in
// memory, and CStdioFile, a buffered text file. Errors are thrown as CFileException*
// (CMemoryException* when memory runs out).
#pragma once
#include <cstdio>

#include "afxexcept.h"
#include "afxobj.h"
#include "afxstr.h"

class CFile : public CObject {
  DECLARE_DYNAMIC(CFile)
 public:
  enum OpenFlags : UINT {
    modeRead = 0x00000,
    modeWrite = 0x00001,
    modeReadWrite = 0x00002,
    shareCompat = 0x00000,
    shareExclusive = 0x00010,
    shareDenyWrite = 0x00020,
    shareDenyRead = 0x00030,
    shareDenyNone = 0x00040,
    modeNoInherit = 0x00080,
    typeUnicode = 0x00400,
    modeCreate = 0x01000,
    modeNoTruncate = 0x02000,
    typeText = 0x04000,
    typeBinary = 0x08000,
    osNoBuffer = 0x10000,
    osWriteThrough = 0x20000,
    osRandomAccess = 0x40000,
    osSequentialScan = 0x80000,
  };
  enum SeekPosition : UINT { begin = 0x0, current = 0x1, end = 0x2 };

  static const HANDLE hFileNull;

  CFile();
  // Wraps an open file handle; the caller keeps closing it (as in MFC).
  explicit CFile(HANDLE file);
  // Opens or throws CFileException*.
  CFile(LPCTSTR fileName, UINT openFlags);
  ~CFile() override;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Opens the file; on failure answers FALSE and fills *error when given.
  virtual BOOL Open(LPCTSTR fileName, UINT openFlags, CFileException* error = nullptr);
  virtual ULONGLONG GetPosition() const;
  virtual ULONGLONG Seek(LONGLONG offset, UINT from);
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  virtual ULONGLONG GetLength() const;
  virtual void SetLength(ULONGLONG newLength);
  // Reads up to count bytes; answers the number read (0 at the end).
  virtual UINT Read(void* buffer, UINT count);
  // Writes all count bytes or throws.
  virtual void Write(const void* buffer, UINT count);
  virtual void Flush();
  // Close throws on failure; Abort closes and ignores errors.
  virtual void Close();
  virtual void Abort();

  virtual CString GetFilePath() const { return m_strFileName; }
  virtual void SetFilePath(LPCTSTR newName) { m_strFileName = newName; }
  virtual CString GetFileName() const;
  virtual CString GetFileTitle() const;

  static void Rename(LPCTSTR oldName, LPCTSTR newName);
  static void Remove(LPCTSTR fileName);

  operator HANDLE() const { return m_hFile; }

  HANDLE m_hFile;

 protected:
  BOOL m_bCloseOnDelete;
  CString m_strFileName;
};

class CMemFile : public CFile {
  DECLARE_DYNAMIC(CMemFile)
 public:
  // An empty file whose buffer grows in steps of growBytes.
  explicit CMemFile(UINT growBytes = 1024);
  // A file over a caller's buffer, as Attach.
  CMemFile(BYTE* buffer, UINT bufferSize, UINT growBytes = 0);
  ~CMemFile() override;

  // Uses the caller's buffer. With growBytes 0 the file is the whole buffer and cannot grow;
  // otherwise it starts empty and moves to a buffer of its own when it outgrows this one.
  void Attach(BYTE* buffer, UINT bufferSize, UINT growBytes = 0);
  // Gives up the buffer (the caller frees one the file allocated with free()) and empties
  // the file.
  BYTE* Detach();

  ULONGLONG GetPosition() const override { return position_; }
  ULONGLONG Seek(LONGLONG offset, UINT from) override;
  ULONGLONG GetLength() const override { return size_; }
  void SetLength(ULONGLONG newLength) override;
  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  void Flush() override {}
  void Close() override;
  void Abort() override { Close(); }

 private:
  void Grow(ULONGLONG needed);
  void Release();

  BYTE* buffer_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t size_ = 0;
  std::size_t position_ = 0;
  UINT growBytes_;
  bool ownsBuffer_ = false;
};

// A buffered file read and written through a C stream (m_pStream) over the kernel's file
// handle. In text mode (typeText, the default) the stream turns "\n" into "\r\n" on the
// way out and "\r\n" into "\n" on the way in, as the Windows run-time library does, and
// ReadString / WriteString carry ANSI text (Windows-1252). In binary mode (typeBinary) bytes
// pass unchanged and ReadString / WriteString carry UTF-16LE units.
class CStdioFile : public CFile {
  DECLARE_DYNAMIC(CStdioFile)
 public:
  CStdioFile();
  // Opens or throws CFileException*.
  CStdioFile(LPCTSTR fileName, UINT openFlags);
  ~CStdioFile() override;

  BOOL Open(LPCTSTR fileName, UINT openFlags, CFileException* error = nullptr) override;
  // The next line without its "\n"; FALSE at the end of the file when nothing was read.
  virtual BOOL ReadString(CString& line);
  virtual void WriteString(LPCTSTR text);

  ULONGLONG GetPosition() const override;
  ULONGLONG Seek(LONGLONG offset, UINT from) override;
  ULONGLONG GetLength() const override;
  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  void Flush() override;
  void Close() override;
  void Abort() override;

  FILE* m_pStream;

 private:
  [[noreturn]] void ThrowStreamError() const;
  bool text_ = true;
};
