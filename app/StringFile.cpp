// CStringFile: buffered line reading of a text file.
#include "StringFile.h"

#include <cstring>

bool CStringFile::Open(LPCTSTR path, CFileException* error) {
  Close();
  if (!m_file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary, error)) return false;
  m_open = true;
  return true;
}

void CStringFile::Close() {
  if (m_open) m_file.Abort();
  m_open = false;
  m_length = m_position = m_lineCount = 0;
  m_filePosition = 0;
  m_error.Empty();
}

bool CStringFile::Fill() {
  if (!m_open) return false;
  const bool first = m_filePosition == 0;
  try {
    m_length = m_file.Read(m_buffer, kBufferSize);
  } catch (CException* e) {
    e->Delete();
    m_length = 0;
  }
  m_filePosition += m_length;
  m_position = 0;
  if (first) {
    static const BYTE kUtf8Mark[] = {0xEF, 0xBB, 0xBF};
    if (m_length >= 3 && std::memcmp(m_buffer, kUtf8Mark, 3) == 0) m_position = 3;
    else if (m_length >= 2 && ((m_buffer[0] == 0xFF && m_buffer[1] == 0xFE) || (m_buffer[0] == 0xFE && m_buffer[1] == 0xFF)))
      m_position = 2;
  }
  return m_position < m_length;
}

int CStringFile::NextByte() {
  if (m_position >= m_length && !Fill()) return -1;
  return m_buffer[m_position++];
}

int CStringFile::PeekNonNul() {
  while (true) {
    if (m_position >= m_length && !Fill()) return -1;
    if (m_buffer[m_position] != 0) return m_buffer[m_position];
    ++m_position;
  }
}

UINT CStringFile::GetNextLine(CString& line) {
  line.Empty();
  while (true) {
    const int byte = NextByte();
    if (byte < 0) return line.IsEmpty() ? 0 : ++m_lineCount;  // the last line may lack its end
    if (byte == 0) continue;
    if (byte == '\r' || byte == '\n') {
      // A CR or LF right after the line's end goes with it: "\r\n", "\n\r", "\r\r" and
      // "\n\n" each end one line.
      const int next = PeekNonNul();
      if (next == '\r' || next == '\n') ++m_position;
      ++m_lineCount;
      if (line.IsEmpty()) continue;  // empty lines are skipped
      return m_lineCount;
    }
    if (line.GetLength() == kBufferSize) {
      --m_position;  // the rest of the line comes next time
      m_error.Format(_T("m_pBuffer overflow in line %u (line length over %d chars)"), m_lineCount + 1, kBufferSize);
      return ++m_lineCount;
    }
    line.AppendChar(static_cast<WCHAR>(byte));
  }
}
