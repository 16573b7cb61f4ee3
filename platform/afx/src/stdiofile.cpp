// CStdioFile: a C stream over the kernel's file handle, with the run-time library's text-mode
// line ends.
#include <cstring>
#include <string>
#include <vector>

#include "afxfile.h"
#include "errhandlingapi.h"
#include "fileapi.h"
#include "stringapiset.h"

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

namespace {

// What the stream's functions work on: the handle and, in text mode, one byte read ahead
// after a carriage return that turned out not to start a line end.
struct StreamCookie {
  HANDLE file;
  bool text;
  int pending = -1;
};

bool ReadRaw(HANDLE file, char* buffer, std::size_t size, std::size_t& got) {
  DWORD read = 0;
  if (!ReadFile(file, buffer, static_cast<DWORD>(size), &read, nullptr)) return false;
  got = read;
  return true;
}

ssize_t CookieRead(void* c, char* buffer, std::size_t size) {
  auto* cookie = static_cast<StreamCookie*>(c);
  if (size == 0) return 0;
  std::size_t raw = 0;
  if (cookie->pending >= 0) {
    buffer[raw++] = static_cast<char>(cookie->pending);
    cookie->pending = -1;
  }
  std::size_t got = 0;
  if (!ReadRaw(cookie->file, buffer + raw, size - raw, got)) return -1;
  raw += got;
  if (!cookie->text) return static_cast<ssize_t>(raw);
  std::size_t out = 0;
  for (std::size_t i = 0; i < raw; ++i) {
    if (buffer[i] != '\r') {
      buffer[out++] = buffer[i];
      continue;
    }
    char next;
    if (i + 1 < raw) {
      next = buffer[i + 1];
    } else {
      std::size_t one = 0;
      if (!ReadRaw(cookie->file, &next, 1, one)) return -1;
      if (one == 0) {
        buffer[out++] = '\r';
        break;
      }
      if (next != '\n') cookie->pending = static_cast<unsigned char>(next);
    }
    if (next == '\n') {
      buffer[out++] = '\n';
      if (i + 1 < raw) ++i;
    } else {
      buffer[out++] = '\r';
    }
  }
  return static_cast<ssize_t>(out);
}

bool WriteRaw(HANDLE file, const char* data, std::size_t size) {
  DWORD written = 0;
  return WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

ssize_t CookieWrite(void* c, const char* buffer, std::size_t size) {
  auto* cookie = static_cast<StreamCookie*>(c);
  if (!cookie->text) return WriteRaw(cookie->file, buffer, size) ? static_cast<ssize_t>(size) : -1;
  std::string out;
  out.reserve(size + size / 8);
  for (std::size_t i = 0; i < size; ++i) {
    if (buffer[i] == '\n') out += '\r';
    out += buffer[i];
  }
  return WriteRaw(cookie->file, out.data(), out.size()) ? static_cast<ssize_t>(size) : -1;
}

int CookieSeek(void* c, off64_t* offset, int whence) {
  auto* cookie = static_cast<StreamCookie*>(c);
  LARGE_INTEGER distance{};
  distance.QuadPart = *offset;
  DWORD method = whence == SEEK_SET ? FILE_BEGIN : whence == SEEK_CUR ? FILE_CURRENT : FILE_END;
  if (method == FILE_CURRENT && cookie->pending >= 0) --distance.QuadPart;  // the byte read ahead
  LARGE_INTEGER position{};
  if (!SetFilePointerEx(cookie->file, distance, &position, method)) return -1;
  cookie->pending = -1;
  *offset = position.QuadPart;
  return 0;
}

int CookieClose(void* c) {
  delete static_cast<StreamCookie*>(c);
  return 0;
}

const char* StreamMode(UINT flags) {
  switch (flags & 3) {
    case CFile::modeWrite:
      return "w";
    case CFile::modeReadWrite:
      return "r+";
    default:
      return "r";
  }
}

}  // namespace

CStdioFile::CStdioFile() : m_pStream(nullptr) {}

CStdioFile::CStdioFile(LPCTSTR fileName, UINT openFlags) : CStdioFile() {
  CFileException error;
  if (!Open(fileName, openFlags, &error)) AfxThrowFileException(error.m_cause, error.m_lOsError, fileName);
}

CStdioFile::~CStdioFile() {
  if (m_pStream != nullptr && m_bCloseOnDelete) Abort();
}

BOOL CStdioFile::Open(LPCTSTR fileName, UINT openFlags, CFileException* error) {
  if (m_pStream != nullptr) Abort();
  if (!CFile::Open(fileName, openFlags & ~(typeText | typeBinary), error)) return FALSE;
  text_ = (openFlags & typeBinary) == 0;
  auto* cookie = new StreamCookie{m_hFile, text_};
  m_pStream = fopencookie(cookie, StreamMode(openFlags), {CookieRead, CookieWrite, CookieSeek, CookieClose});
  if (m_pStream == nullptr) {
    delete cookie;
    CFile::Abort();
    if (error != nullptr) {
      error->m_cause = CFileException::tooManyOpenFiles;
      error->m_lOsError = ERROR_TOO_MANY_OPEN_FILES;
      error->m_strFileName = fileName;
    }
    return FALSE;
  }
  return TRUE;
}

void CStdioFile::ThrowStreamError() const {
  AfxThrowFileException(CFileException::genericException, static_cast<LONG>(GetLastError()), m_strFileName);
}

BOOL CStdioFile::ReadString(CString& line) {
  if (m_pStream == nullptr) AfxThrowInvalidArgException();
  std::string bytes;
  bool any = false;
  if (text_) {
    for (int c; (c = std::getc(m_pStream)) != EOF;) {
      any = true;
      if (c == '\n') break;
      bytes += static_cast<char>(c);
    }
  } else {
    for (int low; (low = std::getc(m_pStream)) != EOF;) {
      const int high = std::getc(m_pStream);
      if (high == EOF) break;  // half a unit at the end
      any = true;
      if (low == '\n' && high == 0) break;
      bytes += static_cast<char>(low);
      bytes += static_cast<char>(high);
    }
  }
  if (std::ferror(m_pStream)) ThrowStreamError();
  if (!any) return FALSE;
  if (!text_) {
    std::u16string units(bytes.size() / 2, u'\0');
    std::memcpy(units.data(), bytes.data(), bytes.size());
    line = CString(units.c_str(), static_cast<int>(units.size()));
  } else if (bytes.empty()) {
    line.Empty();
  } else {
    const int size = static_cast<int>(bytes.size());
    std::u16string wide(bytes.size(), u'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), size);
    line = CString(wide.c_str(), n);
  }
  return TRUE;
}

void CStdioFile::WriteString(LPCTSTR text) {
  if (text == nullptr || m_pStream == nullptr) AfxThrowInvalidArgException();
  const int length = static_cast<int>(std::char_traits<char16_t>::length(text));
  if (length == 0) return;
  std::string bytes;
  if (text_) {
    bytes.resize(static_cast<std::size_t>(length));
    const int n = WideCharToMultiByte(CP_ACP, 0, text, length, bytes.data(), length, "?", nullptr);
    bytes.resize(static_cast<std::size_t>(n));
  } else {
    bytes.assign(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length) * 2);
  }
  Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

ULONGLONG CStdioFile::GetPosition() const {
  const off64_t position = ftello64(m_pStream);
  if (position < 0) ThrowStreamError();
  return static_cast<ULONGLONG>(position);
}

ULONGLONG CStdioFile::Seek(LONGLONG offset, UINT from) {
  if (from > end) AfxThrowFileException(CFileException::badSeek, ERROR_INVALID_PARAMETER, m_strFileName);
  const int whence = from == begin ? SEEK_SET : from == current ? SEEK_CUR : SEEK_END;
  if (fseeko64(m_pStream, offset, whence) != 0) ThrowStreamError();
  return GetPosition();
}

ULONGLONG CStdioFile::GetLength() const {
  if (std::fflush(m_pStream) != 0) ThrowStreamError();
  return CFile::GetLength();
}

UINT CStdioFile::Read(void* buffer, UINT count) {
  if (count == 0) return 0;
  if (buffer == nullptr) AfxThrowInvalidArgException();
  const std::size_t read = std::fread(buffer, 1, count, m_pStream);
  if (read < count && std::ferror(m_pStream)) ThrowStreamError();
  return static_cast<UINT>(read);
}

void CStdioFile::Write(const void* buffer, UINT count) {
  if (count == 0) return;
  if (buffer == nullptr) AfxThrowInvalidArgException();
  if (std::fwrite(buffer, 1, count, m_pStream) != count)
    AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
}

void CStdioFile::Flush() {
  if (m_pStream != nullptr && std::fflush(m_pStream) != 0) ThrowStreamError();
}

void CStdioFile::Close() {
  const bool flushed = m_pStream == nullptr || std::fclose(m_pStream) == 0;
  const LONG error = static_cast<LONG>(GetLastError());
  const CString name = m_strFileName;
  m_pStream = nullptr;
  CFile::Close();
  if (!flushed) AfxThrowFileException(CFileException::genericException, error, name);
}

void CStdioFile::Abort() {
  if (m_pStream != nullptr) std::fclose(m_pStream);
  m_pStream = nullptr;
  CFile::Abort();
}
