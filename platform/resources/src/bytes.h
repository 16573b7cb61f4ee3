// Little-endian reading with bounds checks and writing of resource layouts (internal to the
// resources and their compiler).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "wintypes.h"

namespace zx::res {

// Reads forward through [data, data + size); any read past the end fails and leaves the
// reader failed, so a sequence of reads needs one check at the end.
class ByteReader {
 public:
  ByteReader(const BYTE* data, std::size_t size) : data_(data), size_(size) {}
  bool ok() const { return ok_; }
  std::size_t offset() const { return at_; }
  std::size_t remaining() const { return ok_ ? size_ - at_ : 0; }
  const BYTE* here() const { return data_ + at_; }

  BYTE U8() { return Take(1) ? data_[at_ - 1] : 0; }
  WORD U16() {
    if (!Take(2)) return 0;
    return static_cast<WORD>(data_[at_ - 2] | (data_[at_ - 1] << 8));
  }
  DWORD U32() {
    if (!Take(4)) return 0;
    const BYTE* p = data_ + at_ - 4;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (DWORD{p[3]} << 24);
  }
  bool Skip(std::size_t count) { return Take(count); }
  // A zero-terminated UTF-16 string (the terminator is read, not kept).
  std::u16string String() {
    std::u16string text;
    for (;;) {
      const WORD c = U16();
      if (!ok_ || c == 0) return text;
      text.push_back(static_cast<char16_t>(c));
    }
  }
  // To the next multiple of four from the start.
  void Align4() {
    const std::size_t padded = (at_ + 3) & ~std::size_t{3};
    if (padded > size_) ok_ = false;
    else at_ = padded;
  }
  void Fail() { ok_ = false; }

 private:
  bool Take(std::size_t count) {
    if (!ok_ || size_ - at_ < count) {
      ok_ = false;
      return false;
    }
    at_ += count;
    return true;
  }
  const BYTE* data_;
  std::size_t size_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

class ByteWriter {
 public:
  std::vector<BYTE>& bytes() { return bytes_; }
  std::size_t size() const { return bytes_.size(); }
  void U8(BYTE v) { bytes_.push_back(v); }
  void U16(WORD v) {
    bytes_.push_back(static_cast<BYTE>(v));
    bytes_.push_back(static_cast<BYTE>(v >> 8));
  }
  void U32(DWORD v) {
    U16(static_cast<WORD>(v));
    U16(static_cast<WORD>(v >> 16));
  }
  void Bytes(const BYTE* data, std::size_t count) { bytes_.insert(bytes_.end(), data, data + count); }
  // Units and a zero terminator.
  void String(const std::u16string& text) {
    for (char16_t c : text) U16(static_cast<WORD>(c));
    U16(0);
  }
  void Align(std::size_t to) {
    while (bytes_.size() % to) bytes_.push_back(0);
  }
  void PatchU16(std::size_t at, WORD v) {
    bytes_[at] = static_cast<BYTE>(v);
    bytes_[at + 1] = static_cast<BYTE>(v >> 8);
  }
  void PatchU32(std::size_t at, DWORD v) {
    PatchU16(at, static_cast<WORD>(v));
    PatchU16(at + 2, static_cast<WORD>(v >> 16));
  }

 private:
  std::vector<BYTE> bytes_;
};

}  // namespace zx::res
