// What the install helper's clean-ups share: COM for the calling thread while a clean-up runs.
#pragma once
#include <objbase.h>
#include <windows.h>

// Initialises COM for the calling thread and undoes a successful initialisation at its end.
class CComScope {
 public:
  CComScope() : m_initialised(SUCCEEDED(CoInitialize(nullptr))) {}
  ~CComScope() {
    if (m_initialised) CoUninitialize();
  }
  CComScope(const CComScope&) = delete;
  CComScope& operator=(const CComScope&) = delete;

 private:
  bool m_initialised;
};
