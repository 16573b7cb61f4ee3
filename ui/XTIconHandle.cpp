// CXTIconHandle: one owned icon handle.
#include "XTIconHandle.h"

CXTIconHandle::~CXTIconHandle() {
  if (m_hIcon) ::DestroyIcon(m_hIcon);
}

CXTIconHandle& CXTIconHandle::operator=(HICON hIcon) {
  if (hIcon == m_hIcon) return *this;
  if (m_hIcon) ::DestroyIcon(m_hIcon);
  m_hIcon = hIcon;
  return *this;
}
