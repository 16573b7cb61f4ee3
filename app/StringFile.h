// CStringFile: reads a text file line by line through a 2048-byte buffer; bytes become
// characters one to one, NUL bytes are skipped (so UTF-16 text of Latin letters reads too).
#pragma once
#include <afx.h>

class CStringFile : public CObject {
 public:
  static constexpr int kBufferSize = 2048;

  CStringFile() = default;
  // Opens the file for reading (others may read, not write); false when it cannot be opened.
  bool Open(LPCTSTR path, CFileException* error = nullptr);
  void Close();
  // The next non-empty line: answers its number (line ends counted so far, a CR or LF right
  // after a line's end counting with it), 0 at the end of the file. A line longer than the buffer is cut there, the
  // error text says so and the rest comes as the next line. A byte-order mark (UTF-16 or
  // UTF-8) at the start of the file is not part of the first line.
  UINT GetNextLine(CString& line);
  const CString& GetErrorText() const { return m_error; }

 private:
  bool Fill();
  // The next byte, or -1 at the end of the file.
  int NextByte();
  // The next byte that is not NUL, left unread; -1 at the end of the file.
  int PeekNonNul();

  CFile m_file;
  bool m_open = false;
  BYTE m_buffer[kBufferSize] = {};
  UINT m_length = 0;
  UINT m_position = 0;
  ULONGLONG m_filePosition = 0;
  UINT m_lineCount = 0;
  CString m_error;
};
