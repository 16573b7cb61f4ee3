// CXTIconHandle: the owner of one icon handle; a new icon given to it, and its destruction,
// destroy the icon it held.
#pragma once
#include <windows.h>

#include "HelperApi.h"

class ZXHELPER_API CXTIconHandle {
 public:
  CXTIconHandle() = default;
  explicit CXTIconHandle(HICON hIcon) : m_hIcon(hIcon) {}
  ~CXTIconHandle();
  CXTIconHandle(const CXTIconHandle&) = delete;
  CXTIconHandle& operator=(const CXTIconHandle&) = delete;

  // Takes the icon; the one held before is destroyed (unless it is the same).
  CXTIconHandle& operator=(HICON hIcon);
  operator HICON() const { return m_hIcon; }

 private:
  HICON m_hIcon = nullptr;
};
