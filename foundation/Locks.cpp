// The library's locks.
#include "Locks.h"

void InitLock(CRITICAL_SECTION* section) { InitializeCriticalSectionAndSpinCount(section, 1000); }

EnterLock::EnterLock(CRITICAL_SECTION* section) : m_pSection(section) {
  if (!TryEnterCriticalSection(m_pSection)) {
    // A busy section: give the holder the processor once, then wait for it. The pause is a
    // yield rather than a timed sleep, so it never waits on a clock that stands still.
    Sleep(0);
    EnterCriticalSection(m_pSection);
  }
}

EnterLock::~EnterLock() { LeaveLock(m_pSection); }

void LeaveLock(CRITICAL_SECTION* section) { LeaveCriticalSection(section); }
