// CStdioFileEx: UTF-16 and code-page text files.
#include "TextFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr BYTE kMark[2] = {0xFF, 0xFE};
constexpr int kUtf8 = CP_UTF8;
constexpr char kReplacement[] = "#";

UINT CodePage(int codePage) { return codePage == -1 ? CP_ACP : static_cast<UINT>(codePage); }

// Drops one line end: "\r\n", or a lone "\r" or "\n".
void DropLineEnd(CString& line) {
  const int length = line.GetLength();
  if (length > 1 && line[length - 2] == u'\r' && line[length - 1] == u'\n') {
    line = line.Left(length - 2);
  } else if (length > 0 && (line[length - 1] == u'\r' || line[length - 1] == u'\n')) {
    line = line.Left(length - 1);
  }
}

}  // namespace

CStdioFileEx::CStdioFileEx() : m_bIsUnicodeText(true), m_nFlags(0), m_nFileCodePage(-1) {}

CStdioFileEx::CStdioFileEx(LPCTSTR fileName, UINT openFlags) : CStdioFileEx() {
  CFileException error;
  if (!Open(fileName, openFlags, &error)) AfxThrowFileException(error.m_cause, error.m_lOsError, fileName);
}

void CStdioFileEx::SetFilePath(LPCTSTR newName) {
  if (newName == nullptr) AfxThrowInvalidArgException();
  m_strFileName = newName;
}

BOOL CStdioFileEx::Open(LPCTSTR fileName, UINT openFlags, CFileException* error) {
  UINT flags = openFlags;
  AdjustOpenFlags(fileName, flags);
  // The class's own flag has the value of the write-through flag; it is not passed on.
  return CStdioFile::Open(fileName, flags & ~modeWriteUnicode, error);
}

UINT CStdioFileEx::AdjustOpenFlags(LPCTSTR fileName, UINT& openFlags) {
  m_bIsUnicodeText = true;
  const bool reading = (openFlags & (modeCreate | modeWrite)) == 0;
  if ((openFlags & modeWriteUnicode) != 0) {
    // UTF-16 goes out as it is, never through the text mode's line ends.
    openFlags = (openFlags & ~typeText) | typeBinary;
  } else if ((openFlags & typeBinary) == 0) {
    m_bIsUnicodeText = reading && HasUnicodeMark(fileName);
    if (m_bIsUnicodeText) openFlags = (openFlags & ~typeText) | typeBinary;
  }
  m_nFlags = openFlags;
  return openFlags;
}

bool CStdioFileEx::HasUnicodeMark(LPCTSTR fileName) {
  CFile file;
  BYTE start[2] = {};
  return fileName != nullptr && file.Open(fileName, modeRead | shareDenyNone) &&
         file.Read(start, sizeof start) == sizeof start && std::memcmp(start, kMark, sizeof kMark) == 0;
}

UINT CStdioFileEx::GetUserAnsiCodePage() {
  WCHAR text[10] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, text, 10) == 0) return 0;
  UINT value = 0;
  for (const WCHAR* at = text; *at >= u'0' && *at <= u'9'; ++at) value = value * 10 + (*at - u'0');
  return value;
}

int CStdioFileEx::MultiByteToUnicode(LPCSTR text, LPWSTR buffer, int capacity, int codePage) {
  if (text == nullptr || buffer == nullptr || capacity < 1) return 0;
  std::memset(buffer, 0, static_cast<std::size_t>(capacity) * sizeof(WCHAR));
  const UINT page = CodePage(codePage);
  const int written =
      MultiByteToWideChar(page, page == kUtf8 ? 0 : MB_PRECOMPOSED, text, -1, buffer, capacity);
  if (written > 0) return written - 1;
  std::memset(buffer, 0, static_cast<std::size_t>(capacity) * sizeof(WCHAR));  // nothing half converted
  return 0;
}

int CStdioFileEx::UnicodeToMultiByte(LPCWSTR text, LPSTR buffer, int capacity, int codePage) {
  if (text == nullptr || buffer == nullptr || capacity < 1) return 0;
  std::memset(buffer, 0, static_cast<std::size_t>(capacity));
  const UINT page = CodePage(codePage);
  const bool utf8 = page == kUtf8;
  const int written = WideCharToMultiByte(page, utf8 ? 0 : WC_COMPOSITECHECK | WC_SEPCHARS, text, -1, buffer,
                                          capacity, utf8 ? nullptr : kReplacement, nullptr);
  if (written > 0) return written - 1;
  std::memset(buffer, 0, static_cast<std::size_t>(capacity));  // nothing half converted
  return 0;
}

int CStdioFileEx::GetMultiByteLength(LPCWSTR text, int codePage) {
  if (text == nullptr) return 0;
  const UINT page = CodePage(codePage);
  const bool utf8 = page == kUtf8;
  return WideCharToMultiByte(page, utf8 ? 0 : WC_COMPOSITECHECK | WC_SEPCHARS, text, -1, nullptr, 0,
                             utf8 ? nullptr : kReplacement, nullptr);
}

void CStdioFileEx::SkipMarkAtStart() {
  BYTE start[2] = {};
  if (Read(start, sizeof start) != sizeof start || std::memcmp(start, kMark, sizeof kMark) != 0)
    SeekToBegin();
}

BOOL CStdioFileEx::ReadString(CString& line) {
  if (m_pStream == nullptr) return FALSE;
  if (m_bIsUnicodeText) {
    if (GetPosition() == 0) SkipMarkAtStart();
    if (!CStdioFile::ReadString(line)) return FALSE;
    DropLineEnd(line);
    return TRUE;
  }
  const bool atStart = GetPosition() == 0;
  std::string bytes;
  char chunk[8192];
  while (std::fgets(chunk, sizeof chunk, m_pStream) != nullptr) {
    bytes += chunk;
    if (!bytes.empty() && bytes.back() == '\n') break;
  }
  if (std::ferror(m_pStream)) AfxThrowFileException(CFileException::genericException, -1, m_strFileName);
  if (bytes.empty()) return FALSE;
  std::vector<WCHAR> wide(bytes.size() + 1);
  const int count =
      MultiByteToUnicode(bytes.c_str(), wide.data(), static_cast<int>(wide.size()), m_nFileCodePage);
  line = CString(wide.data(), count);  // nothing converted: an empty line
  // A UTF-8 file may start with the mark in UTF-8 form.
  if (atStart && CodePage(m_nFileCodePage) == kUtf8 && !line.IsEmpty() && line[0] == u'\xFEFF')
    line.Delete(0);
  DropLineEnd(line);
  return TRUE;
}

void CStdioFileEx::WriteString(LPCTSTR text) {
  if (text == nullptr || m_pStream == nullptr) AfxThrowInvalidArgException();
  const std::size_t length = std::char_traits<WCHAR>::length(text);
  if (m_bIsUnicodeText) {
    if ((m_nFlags & modeWriteUnicode) != 0 && GetPosition() == 0) Write(kMark, sizeof kMark);
    Write(text, static_cast<UINT>(length * sizeof(WCHAR)));
    return;
  }
  if (length == 0) return;
  const int needed = GetMultiByteLength(text, m_nFileCodePage);
  std::vector<char> bytes(static_cast<std::size_t>(std::max(needed, 1)));
  const int count = UnicodeToMultiByte(text, bytes.data(), static_cast<int>(bytes.size()), m_nFileCodePage);
  if (count < 1)
    AfxThrowFileException(CFileException::genericException, ERROR_NO_UNICODE_TRANSLATION, m_strFileName);
  Write(bytes.data(), static_cast<UINT>(count));
}

bool CStdioFileEx::StartsWithMark() {
  if ((m_nFlags & 3) == modeWrite) return (m_nFlags & modeWriteUnicode) != 0;
  const ULONGLONG position = GetPosition();
  SeekToBegin();
  BYTE start[2] = {};
  const bool mark = Read(start, sizeof start) == sizeof start && std::memcmp(start, kMark, sizeof kMark) == 0;
  Seek(static_cast<LONGLONG>(position), begin);
  return mark;
}

ULONGLONG CStdioFileEx::CountCharacters() {
  if (m_pStream == nullptr) return 0;
  const ULONGLONG length = GetLength();
  if (!m_bIsUnicodeText) return length;
  if (length < 2) return 0;
  return (length - (StartsWithMark() ? 2 : 0)) / 2;
}
