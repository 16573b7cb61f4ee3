// CMemFile: a file held in a malloc'd (or the caller's) buffer.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "afxfile.h"

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT growBytes) : growBytes_(growBytes) {}

CMemFile::CMemFile(BYTE* buffer, UINT bufferSize, UINT growBytes) : growBytes_(growBytes) {
  Attach(buffer, bufferSize, growBytes);
}

CMemFile::~CMemFile() { Release(); }

void CMemFile::Release() {
  if (ownsBuffer_) std::free(buffer_);
  buffer_ = nullptr;
  ownsBuffer_ = false;
  capacity_ = size_ = position_ = 0;
}

void CMemFile::Attach(BYTE* buffer, UINT bufferSize, UINT growBytes) {
  if (buffer == nullptr && bufferSize > 0) AfxThrowInvalidArgException();
  Release();
  buffer_ = buffer;
  capacity_ = bufferSize;
  size_ = growBytes == 0 ? bufferSize : 0;
  growBytes_ = growBytes;
}

BYTE* CMemFile::Detach() {
  BYTE* buffer = buffer_;
  ownsBuffer_ = false;  // the caller has it now
  Release();
  return buffer;
}

void CMemFile::Close() { Release(); }

// Makes room for needed bytes. The buffer grows geometrically, in whole steps of growBytes,
// so a file made with a small step (CMemFile(16)) still fills in linear time.
void CMemFile::Grow(ULONGLONG needed) {
  if (needed <= capacity_) return;
  if (growBytes_ == 0 || needed > SIZE_MAX / 2) AfxThrowMemoryException();
  const std::size_t wanted = std::max<std::size_t>(static_cast<std::size_t>(needed), capacity_ + capacity_ / 2);
  const std::size_t capacity = (wanted + growBytes_ - 1) / growBytes_ * growBytes_;
  BYTE* grown;
  if (ownsBuffer_) {
    grown = static_cast<BYTE*>(std::realloc(buffer_, capacity));
  } else {
    grown = static_cast<BYTE*>(std::malloc(capacity));
    if (grown != nullptr && size_ > 0) std::memcpy(grown, buffer_, size_);
  }
  if (grown == nullptr) AfxThrowMemoryException();
  buffer_ = grown;
  capacity_ = capacity;
  ownsBuffer_ = true;
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from) {
  LONGLONG base;
  switch (from) {
    case begin: base = 0; break;
    case current: base = static_cast<LONGLONG>(position_); break;
    case end: base = static_cast<LONGLONG>(size_); break;
    default: AfxThrowInvalidArgException();
  }
  LONGLONG target;
  if (__builtin_add_overflow(base, offset, &target) || target < 0)
    AfxThrowFileException(CFileException::badSeek, ERROR_NEGATIVE_SEEK);
  position_ = static_cast<std::size_t>(target);
  return position_;
}

void CMemFile::SetLength(ULONGLONG newLength) {
  Grow(newLength);
  if (newLength > size_) std::memset(buffer_ + size_, 0, static_cast<std::size_t>(newLength) - size_);
  size_ = static_cast<std::size_t>(newLength);
  position_ = std::min(position_, size_);
}

UINT CMemFile::Read(void* buffer, UINT count) {
  if (count == 0 || position_ >= size_) return 0;
  if (buffer == nullptr) AfxThrowInvalidArgException();
  const std::size_t n = std::min<std::size_t>(count, size_ - position_);
  std::memcpy(buffer, buffer_ + position_, n);
  position_ += n;
  return static_cast<UINT>(n);
}

void CMemFile::Write(const void* buffer, UINT count) {
  if (count == 0) return;
  if (buffer == nullptr) AfxThrowInvalidArgException();
  const ULONGLONG end = static_cast<ULONGLONG>(position_) + count;
  Grow(end);
  if (position_ > size_) std::memset(buffer_ + size_, 0, position_ - size_);  // a gap reads as zeros
  std::memcpy(buffer_ + position_, buffer, count);
  position_ = static_cast<std::size_t>(end);
  size_ = std::max(size_, position_);
}
