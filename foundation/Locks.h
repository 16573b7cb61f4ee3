// The library's locks: critical sections with spin count 1000 and a scoped guard that tries
// the section first, yields the processor once when it is busy and then waits for it.
#pragma once
#include <windows.h>

#include "HelperApi.h"

ZXHELPER_API void InitLock(CRITICAL_SECTION* section);

class ZXHELPER_API EnterLock {
 public:
  explicit EnterLock(CRITICAL_SECTION* section);
  ~EnterLock();  // LeaveLock
  EnterLock(const EnterLock&) = delete;
  EnterLock& operator=(const EnterLock&) = delete;

 private:
  CRITICAL_SECTION* m_pSection;
};

ZXHELPER_API void LeaveLock(CRITICAL_SECTION* section);
