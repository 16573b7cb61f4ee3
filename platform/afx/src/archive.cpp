// CArchive: buffered little-endian serialisation over a CFile, in MFC's byte layout.
#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>

#include "afxarch.h"

static_assert(std::endian::native == std::endian::little, "archived text is copied as UTF-16LE");

namespace {
constexpr std::size_t kMinimumBuffer = 64;
constexpr std::size_t kChunkUnits = 1 << 16;  // counted text is read this much at a time
}  // namespace

CArchive::CArchive(CFile* file, UINT mode, int bufferSize, void* /*buffer: the archive keeps its own*/)
    : file_(file), mode_(mode), buffer_(std::max<std::size_t>(static_cast<std::size_t>(std::max(bufferSize, 0)), kMinimumBuffer)) {
  if (file_ == nullptr) AfxThrowInvalidArgException();
  m_strFileName = file_->GetFilePath();
}

CArchive::~CArchive() {
  if (file_ == nullptr || (mode_ & bNoFlushOnDelete) != 0) return;
  try {
    Close();
  } catch (CException* e) {
    e->Delete();
  }
}

void CArchive::Fail(int cause) const { AfxThrowArchiveException(cause, m_strFileName); }

void CArchive::CheckOpen(bool loading) const {
  if (file_ == nullptr) Fail(CArchiveException::genericException);
  if (loading && !IsLoading()) Fail(CArchiveException::writeOnly);
  if (!loading && IsLoading()) Fail(CArchiveException::readOnly);
}

void CArchive::WriteBuffered() {
  if (cur_ == 0) return;
  const std::size_t n = cur_;
  cur_ = 0;
  file_->Write(buffer_.data(), static_cast<UINT>(n));
}

void CArchive::Write(const void* data, UINT count) {
  CheckOpen(false);
  if (count == 0) return;
  if (data == nullptr) AfxThrowInvalidArgException();
  const auto* bytes = static_cast<const BYTE*>(data);
  if (count >= buffer_.size()) {
    WriteBuffered();
    file_->Write(bytes, count);
    return;
  }
  while (count > 0) {
    if (cur_ == buffer_.size()) WriteBuffered();
    const std::size_t n = std::min<std::size_t>(count, buffer_.size() - cur_);
    std::memcpy(buffer_.data() + cur_, bytes, n);
    cur_ += n;
    bytes += n;
    count -= static_cast<UINT>(n);
  }
}

bool CArchive::Fill(std::size_t count) {
  if (end_ - cur_ >= count) return true;
  std::memmove(buffer_.data(), buffer_.data() + cur_, end_ - cur_);
  end_ -= cur_;
  cur_ = 0;
  while (end_ < count) {
    const UINT got = file_->Read(buffer_.data() + end_, static_cast<UINT>(buffer_.size() - end_));
    if (got == 0) return false;
    end_ += got;
  }
  return true;
}

UINT CArchive::Read(void* data, UINT count) {
  CheckOpen(true);
  if (count == 0) return 0;
  if (data == nullptr) AfxThrowInvalidArgException();
  auto* bytes = static_cast<BYTE*>(data);
  UINT done = 0;
  while (done < count) {
    if (cur_ == end_) {
      if (count - done >= buffer_.size()) {  // large reads bypass the buffer
        const UINT got = file_->Read(bytes + done, count - done);
        if (got == 0) break;
        done += got;
        continue;
      }
      if (!Fill(1)) break;
    }
    const std::size_t n = std::min<std::size_t>(count - done, end_ - cur_);
    std::memcpy(bytes + done, buffer_.data() + cur_, n);
    cur_ += n;
    done += static_cast<UINT>(n);
  }
  return done;
}

void CArchive::ReadExact(void* data, UINT count) {
  if (Read(data, count) != count) Fail(CArchiveException::endOfFile);
}

void CArchive::Flush() {
  if (file_ == nullptr) return;
  if (IsStoring()) {
    WriteBuffered();
  } else if (end_ > cur_) {
    const auto unread = static_cast<LONGLONG>(end_ - cur_);
    cur_ = end_ = 0;
    file_->Seek(-unread, CFile::current);
  }
}

void CArchive::Close() {
  Flush();
  file_ = nullptr;
}

void CArchive::Abort() { file_ = nullptr; }

void CArchive::EnsureReadable(ULONGLONG count, ULONGLONG unitSize) {
  CheckOpen(true);
  if (unitSize == 0) return;
  ULONGLONG remaining;
  try {
    const ULONGLONG length = file_->GetLength();
    const ULONGLONG position = file_->GetPosition();
    remaining = (end_ - cur_) + (length > position ? length - position : 0);
  } catch (CException* e) {  // a file that cannot tell its length: text is read in chunks
    e->Delete();
    return;
  }
  if (count > remaining / unitSize) Fail(CArchiveException::endOfFile);
}

DWORD_PTR CArchive::ReadCount() {
  WORD w;
  *this >> w;
  if (w != 0xFFFF) return w;
  DWORD d;
  *this >> d;
  if (d != 0xFFFFFFFF) return d;
  ULONGLONG q;
  *this >> q;
  return q;
}

void CArchive::WriteCount(DWORD_PTR count) {
  if (count < 0xFFFF) {
    *this << static_cast<WORD>(count);
    return;
  }
  *this << static_cast<WORD>(0xFFFF);
  if (count < 0xFFFFFFFF) {
    *this << static_cast<DWORD>(count);
    return;
  }
  *this << static_cast<DWORD>(0xFFFFFFFF) << static_cast<ULONGLONG>(count);
}

ULONGLONG CArchive::ReadStringLength(int& charSize) {
  charSize = 1;
  BYTE b;
  *this >> b;
  if (b < 0xFF) return b;
  WORD w;
  *this >> w;
  if (w == 0xFFFE) {  // the wide-string marker; the length prefix follows
    charSize = 2;
    *this >> b;
    if (b < 0xFF) return b;
    *this >> w;
  }
  if (w < 0xFFFF) return w;
  DWORD d;
  *this >> d;
  if (d < 0xFFFFFFFF) return d;
  ULONGLONG q;
  *this >> q;
  return q;
}

void CArchive::WriteStringLength(ULONGLONG length, bool wide) {
  if (wide) *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFE);
  if (length < 0xFF) {
    *this << static_cast<BYTE>(length);
    return;
  }
  *this << static_cast<BYTE>(0xFF);
  if (length < 0xFFFE) {
    *this << static_cast<WORD>(length);
    return;
  }
  *this << static_cast<WORD>(0xFFFF);
  if (length < 0xFFFFFFFF) {
    *this << static_cast<DWORD>(length);
    return;
  }
  *this << static_cast<DWORD>(0xFFFFFFFF) << length;
}

template <class C>
void CArchive::ReadUnits(std::basic_string<C>& out, ULONGLONG count) {
  EnsureReadable(count, sizeof(C));
  if (count > INT_MAX) Fail(CArchiveException::genericException);  // more than a CString holds
  out.clear();
  // Grow with the data actually read, so a damaged length never reserves memory up front.
  while (out.size() < count) {
    const std::size_t old = out.size();
    const std::size_t n = std::min<std::size_t>(count - old, kChunkUnits);
    out.resize(old + n);
    ReadExact(out.data() + old, static_cast<UINT>(n * sizeof(C)));
  }
}

template <class C>
void CArchive::ReadText(CStringT<C>& text) {
  int charSize;
  const ULONGLONG length = ReadStringLength(charSize);
  if (charSize == 2) {
    std::u16string units;
    ReadUnits(units, length);
    text = CStringT<C>(units.data(), static_cast<int>(units.size()));
  } else {
    std::string bytes;
    ReadUnits(bytes, length);
    text = CStringT<C>(bytes.data(), static_cast<int>(bytes.size()));
  }
}

template <class C>
void CArchive::WriteText(const CStringT<C>& text) {
  CheckOpen(false);
  WriteStringLength(static_cast<ULONGLONG>(text.GetLength()), sizeof(C) == 2);
  Write(text.GetString(), static_cast<UINT>(text.GetLength() * sizeof(C)));
}

template <class C>
BOOL CArchive::ReadLine(CStringT<C>& line) {
  CheckOpen(true);
  std::basic_string<C> text;
  bool any = false;
  auto next = [&](C& unit) {
    if (!Fill(sizeof(C))) return false;
    std::memcpy(&unit, buffer_.data() + cur_, sizeof(C));
    return true;
  };
  C unit;
  while (next(unit)) {
    cur_ += sizeof(C);
    any = true;
    if (unit == C('\n')) break;
    if (unit == C('\r')) {
      if (next(unit) && unit == C('\n')) cur_ += sizeof(C);
      break;
    }
    text += unit;
  }
  line = CStringT<C>(text.data(), static_cast<int>(text.size()));
  return any ? TRUE : FALSE;
}

BOOL CArchive::ReadString(CString& line) { return ReadLine(line); }
BOOL CArchive::ReadString(CStringA& line) { return ReadLine(line); }

void CArchive::WriteString(LPCWSTR text) {
  const CString s(text);
  Write(s.GetString(), static_cast<UINT>(s.GetLength() * sizeof(WCHAR)));
}

void CArchive::WriteString(LPCSTR text) {
  const CStringA s(text);
  Write(s.GetString(), static_cast<UINT>(s.GetLength()));
}

CArchive& CArchive::operator<<(float v) { return Put(std::bit_cast<DWORD>(v)); }
CArchive& CArchive::operator<<(double v) { return Put(std::bit_cast<ULONGLONG>(v)); }
CArchive& CArchive::operator<<(LPCWSTR text) { return *this << CString(text); }
CArchive& CArchive::operator<<(LPCSTR text) { return *this << CStringA(text); }

CArchive& CArchive::operator>>(bool& v) {
  BYTE b;
  *this >> b;
  v = b != 0;
  return *this;
}
CArchive& CArchive::operator>>(float& v) {
  DWORD bits;
  *this >> bits;
  v = std::bit_cast<float>(bits);
  return *this;
}
CArchive& CArchive::operator>>(double& v) {
  ULONGLONG bits;
  *this >> bits;
  v = std::bit_cast<double>(bits);
  return *this;
}

CArchive& operator<<(CArchive& ar, const CString& text) {
  ar.WriteText(text);
  return ar;
}
CArchive& operator<<(CArchive& ar, const CStringA& text) {
  ar.WriteText(text);
  return ar;
}
CArchive& operator>>(CArchive& ar, CString& text) {
  ar.ReadText(text);
  return ar;
}
CArchive& operator>>(CArchive& ar, CStringA& text) {
  ar.ReadText(text);
  return ar;
}
