// CCrc32Dynamic: the CRC-32 of a string or a file, with its table built at run time. Results
// are the published CRC-32 (register starting at 0xFFFFFFFF, inverted at the end). The
// calls answer a Win32 error code, 0 for success; without a built table they answer
// ERROR_CRC (23) with a result of 0.
#pragma once
#include <windows.h>

#include "HelperApi.h"

class ZXHELPER_API CCrc32Dynamic {
 public:
  CCrc32Dynamic();
  // A copy has a table of its own when the original has one.
  CCrc32Dynamic(const CCrc32Dynamic& other);
  CCrc32Dynamic& operator=(const CCrc32Dynamic& other);
  virtual ~CCrc32Dynamic();

  void BuildTable();
  void FreeTable();
  // One byte into the register; without a table the register stays as it is.
  void UpdateByte(BYTE byte, DWORD& crc) const;

  // The 64-bit size of an open file; FALSE (size 0) when the platform cannot tell it.
  static BOOL GetFileSize64(HANDLE file, ULONGLONG& size);

  // The low 8 bits of each UTF-16 unit up to the terminator (a null text is an error).
  DWORD CrcOfString(LPCTSTR text, DWORD& crc) const;
  // The file read in blocks of 4096 bytes, a byte at a time into the register.
  DWORD CrcOfFileByRead(LPCTSTR path, DWORD& crc) const;
  // The same, each block at once.
  DWORD CrcOfFileByReadFast(LPCTSTR path, DWORD& crc) const;
  // The file mapped into memory in views of at most 10 MiB (ERROR_BAD_LENGTH when its size
  // cannot be read).
  DWORD CrcOfFileByMapping(LPCTSTR path, DWORD& crc) const;

 private:
  template <class Feed>
  DWORD CrcOfFile(LPCTSTR path, DWORD& crc, Feed feed) const;

  DWORD* m_pdwCrc32Table;
};
