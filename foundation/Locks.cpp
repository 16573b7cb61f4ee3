// The library's locks.
#include "Locks.h"

void InitLock(CRITICAL_SECTION* section) { InitializeCriticalSectionAndSpinCount(section, 1000); }

EnterLock::EnterLock(CRITICAL_SECTION* section) : m_pSection(section) {
  if (!TryEnterCriticalSection(m_pSection)) {
    Sleep(1);
    EnterCriticalSection(m_pSection);
  }
}

EnterLock::~EnterLock() { LeaveLock(m_pSection); }

void LeaveLock(CRITICAL_SECTION* section) { LeaveCriticalSection(section); }
