// CArchive: the class library's binary serialisation over a CFile, byte-compatible with
// MFC: little-endian numbers (BYTE 1, WORD and WCHAR 2, int/LONG/DWORD/UINT/float 4,
// LONGLONG/ULONGLONG/double 8, bool 1), counts (WORD, or 0xFFFF then DWORD, or 0xFFFFFFFF
// then QWORD) and strings (narrow: length prefix then bytes; wide: FF FE FF, the length
// prefix, then UTF-16LE units; the prefix is a BYTE below 255, else FF and a WORD below
// 0xFFFE, else FFFF and a DWORD below 0xFFFFFFFF, else FFFFFFFF and a QWORD).
// Reading past the end, or a length that the rest of the file cannot hold, throws
// CArchiveException*(endOfFile) before anything is allocated for it.
#pragma once
#include <type_traits>
#include <vector>
#include "afxexcept.h"
#include "afxfile.h"
#include "afxstr.h"

class CArchive {
 public:
  enum Mode : UINT { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

  CArchive(CFile* file, UINT mode, int bufferSize = 4096, void* buffer = nullptr);
  // Closes the archive unless bNoFlushOnDelete; errors of that last flush are dropped, so
  // call Close() to see them.
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  BOOL IsLoading() const { return (mode_ & load) != 0; }
  BOOL IsStoring() const { return (mode_ & load) == 0; }
  BOOL IsBufferEmpty() const { return cur_ == end_; }
  CFile* GetFile() const { return file_; }

  // Raw bytes: Read answers how many it got (fewer only at the end of the file).
  UINT Read(void* buffer, UINT count);
  void Write(const void* buffer, UINT count);
  // Store: writes the buffer out. Load: gives the unread buffered bytes back to the file.
  void Flush();
  // Flushes and lets go of the file (which stays open).
  void Close();
  void Abort();

  // Text lines of UTF-16 (CString) or bytes (CStringA): a line ends at "\n", "\r\n" or "\r",
  // which is not kept. FALSE at the end of the file with nothing read.
  BOOL ReadString(CString& line);
  BOOL ReadString(CStringA& line);
  void WriteString(LPCWSTR text);
  void WriteString(LPCSTR text);

  DWORD_PTR ReadCount();
  void WriteCount(DWORD_PTR count);
  // Throws CArchiveException*(endOfFile) when the file is known to hold fewer than
  // count * unitSize more bytes; used before reading counted data.
  void EnsureReadable(ULONGLONG count, ULONGLONG unitSize);

  CArchive& operator<<(BYTE v) { return Put(v); }
  CArchive& operator<<(char v) { return Put(v); }
  CArchive& operator<<(signed char v) { return Put(v); }
  CArchive& operator<<(WORD v) { return Put(v); }
  CArchive& operator<<(short v) { return Put(v); }
  CArchive& operator<<(WCHAR v) { return Put(v); }
  CArchive& operator<<(int v) { return Put(v); }
  CArchive& operator<<(unsigned v) { return Put(v); }
  CArchive& operator<<(long v) { return Put(v); }
  CArchive& operator<<(unsigned long v) { return Put(v); }
  CArchive& operator<<(long long v) { return Put(v); }
  CArchive& operator<<(unsigned long long v) { return Put(v); }
  CArchive& operator<<(bool v) { return Put(static_cast<BYTE>(v ? 1 : 0)); }
  CArchive& operator<<(float v);
  CArchive& operator<<(double v);
  // Text pointers are stored as strings.
  CArchive& operator<<(LPCWSTR text);
  CArchive& operator<<(LPCSTR text);
  // Any other pointer is refused at compile time (it would otherwise be stored as a bool).
  template <class T>
    requires(!std::is_same_v<std::remove_cv_t<T>, WCHAR> && !std::is_same_v<std::remove_cv_t<T>, char>)
  CArchive& operator<<(T*) = delete;

  CArchive& operator>>(BYTE& v) { return Get(v); }
  CArchive& operator>>(char& v) { return Get(v); }
  CArchive& operator>>(signed char& v) { return Get(v); }
  CArchive& operator>>(WORD& v) { return Get(v); }
  CArchive& operator>>(short& v) { return Get(v); }
  CArchive& operator>>(WCHAR& v) { return Get(v); }
  CArchive& operator>>(int& v) { return Get(v); }
  CArchive& operator>>(unsigned& v) { return Get(v); }
  CArchive& operator>>(long& v) { return Get(v); }
  CArchive& operator>>(unsigned long& v) { return Get(v); }
  CArchive& operator>>(long long& v) { return Get(v); }
  CArchive& operator>>(unsigned long long& v) { return Get(v); }
  CArchive& operator>>(bool& v);
  CArchive& operator>>(float& v);
  CArchive& operator>>(double& v);

  friend CArchive& operator<<(CArchive& ar, const CString& text);
  friend CArchive& operator<<(CArchive& ar, const CStringA& text);
  friend CArchive& operator>>(CArchive& ar, CString& text);
  friend CArchive& operator>>(CArchive& ar, CStringA& text);

  CString m_strFileName;

 private:
  template <class C>
  void WriteText(const CStringT<C>& text);
  template <class C>
  void ReadText(CStringT<C>& text);
  template <class V>
  CArchive& Put(V v) {
    BYTE bytes[sizeof(V)];
    for (std::size_t i = 0; i < sizeof(V); ++i)
      bytes[i] = static_cast<BYTE>(static_cast<unsigned long long>(v) >> (8 * i));
    Write(bytes, sizeof(V));
    return *this;
  }
  template <class V>
  CArchive& Get(V& v) {
    BYTE bytes[sizeof(V)];
    ReadExact(bytes, sizeof(V));
    unsigned long long bits = 0;
    for (std::size_t i = 0; i < sizeof(V); ++i) bits |= static_cast<unsigned long long>(bytes[i]) << (8 * i);
    v = static_cast<V>(bits);
    return *this;
  }

  void ReadExact(void* buffer, UINT count);
  // Makes at least count bytes available in the buffer; false at the end of the file.
  bool Fill(std::size_t count);
  void WriteBuffered();
  ULONGLONG ReadStringLength(int& charSize);
  void WriteStringLength(ULONGLONG length, bool wide);
  template <class C>
  void ReadUnits(std::basic_string<C>& out, ULONGLONG count);
  template <class C>
  BOOL ReadLine(CStringT<C>& line);
  void CheckOpen(bool loading) const;
  [[noreturn]] void Fail(int cause) const;

  CFile* file_;
  UINT mode_;
  std::vector<BYTE> buffer_;
  std::size_t cur_ = 0;  // next byte to read or write
  std::size_t end_ = 0;  // end of the buffered bytes (load)
};

CArchive& operator<<(CArchive& ar, const CString& text);
CArchive& operator<<(CArchive& ar, const CStringA& text);
CArchive& operator>>(CArchive& ar, CString& text);
CArchive& operator>>(CArchive& ar, CStringA& text);
