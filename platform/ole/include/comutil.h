// _bstr_t: an owned BSTR that converts to the BSTR a COM call takes.
#pragma once
#include <utility>

#include "oleauto.h"

class _bstr_t {
 public:
  _bstr_t() = default;
  _bstr_t(const OLECHAR* text) : text_(SysAllocString(text)) {}  // NOLINT: converts as on Windows
  // Takes the string over (copy false) or copies it whole, embedded zeros included.
  _bstr_t(BSTR text, bool copy) : text_(copy ? Duplicate(text) : text) {}
  _bstr_t(const _bstr_t& other) : text_(Duplicate(other.text_)) {}
  _bstr_t(_bstr_t&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
  _bstr_t& operator=(_bstr_t other) noexcept {
    std::swap(text_, other.text_);
    return *this;
  }
  ~_bstr_t() { SysFreeString(text_); }

  operator BSTR() const { return text_; }  // NOLINT: converts as on Windows
  UINT length() const { return SysStringLen(text_); }
  // Hands the string to the caller, who frees it with SysFreeString.
  BSTR Detach() { return std::exchange(text_, nullptr); }

 private:
  static BSTR Duplicate(BSTR text) {
    return text ? SysAllocStringByteLen(reinterpret_cast<LPCSTR>(text), SysStringByteLen(text)) : nullptr;
  }

  BSTR text_ = nullptr;
};
