// CStdioFileEx: a line-oriented text file that reads and writes UTF-16 text, with or without
// a byte-order mark, or single- and multi-byte text in a chosen code page, converting to and
// from the program's wide strings.
//
// How a file is taken: opened for reading in text mode, a file that starts with the mark
// (bytes FF FE) is UTF-16 and is read in binary mode; without it, it is code-page text.
// Opened in binary mode it is UTF-16, with the mark skipped when it is there. Written with
// modeWriteUnicode it is UTF-16 that starts with the mark; written in binary mode, UTF-16
// without the mark; written in text mode, code-page text with "\n" stored as "\r\n".
#pragma once
#include <afx.h>

#include "HelperApi.h"

class ZXHELPER_API CStdioFileEx : public CStdioFile {
 public:
  // The class's own open flag: write UTF-16 text that starts with the byte-order mark.
  enum : UINT { modeWriteUnicode = 0x20000 };

  CStdioFileEx();
  // Opens or throws CFileException*.
  CStdioFileEx(LPCTSTR fileName, UINT openFlags);

  // A null path throws CInvalidArgException*.
  void SetFilePath(LPCTSTR newName) override;
  BOOL Open(LPCTSTR fileName, UINT openFlags, CFileException* error = nullptr) override;
  // The next line without its line end ("\r\n", or a lone "\r" or "\n"); FALSE at the end
  // of the file or when no file is open. A line whose bytes convert to nothing reads empty.
  BOOL ReadString(CString& line) override;
  // Throws CFileException* when text that is not empty converts to nothing in the code page.
  void WriteString(LPCTSTR text) override;

  // -1 (the default) is the system's ANSI code page.
  void SetCodePage(int codePage) { m_nFileCodePage = codePage; }
  bool TextIsUnicode() const { return m_bIsUnicodeText; }
  // UTF-16 text: the units after the mark (a file shorter than one unit holds none);
  // code-page text: the file's bytes. 0 when no file is open.
  ULONGLONG CountCharacters();

  // Decides how the file is taken (see above) and answers the flags to open it with.
  UINT AdjustOpenFlags(LPCTSTR fileName, UINT& openFlags);
  static bool HasUnicodeMark(LPCTSTR fileName);
  // The user's ANSI code page; 0 when it cannot be read.
  static UINT GetUserAnsiCodePage();

  // Conversions of terminated text; they clear the output first and answer 0 for a null
  // pointer or a capacity below 1. Outside UTF-8, characters the code page lacks become "#".
  // Characters written, without the terminator.
  static int MultiByteToUnicode(LPCSTR text, LPWSTR buffer, int capacity, int codePage);
  // Bytes written, without the terminator.
  static int UnicodeToMultiByte(LPCWSTR text, LPSTR buffer, int capacity, int codePage);
  // Bytes the conversion needs, with the terminator.
  static int GetMultiByteLength(LPCWSTR text, int codePage);

 protected:
  bool m_bIsUnicodeText;
  UINT m_nFlags;
  int m_nFileCodePage;

 private:
  bool StartsWithMark();
  void SkipMarkAtStart();
};
