// Critical sections: a recursive lock per section, its state kept in the Windows fields.
#include <atomic>
#include <mutex>

#include "processthreadsapi.h"
#include "synchapi.h"

namespace {

std::mutex& LockOf(LPCRITICAL_SECTION section) {
  return *static_cast<std::mutex*>(section->LockSemaphore);
}

std::atomic_ref<HANDLE> Owner(LPCRITICAL_SECTION section) {
  return std::atomic_ref<HANDLE>(section->OwningThread);
}

HANDLE Me() { return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(GetCurrentThreadId())); }

// The lock was just taken by the calling thread.
void TakeOwnership(LPCRITICAL_SECTION section) {
  Owner(section).store(Me());
  section->RecursionCount = 1;
}

}  // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
  InitializeCriticalSectionAndSpinCount(section, 0);
}

BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION section, DWORD spinCount) {
  section->DebugInfo = nullptr;
  section->LockCount = -1;
  section->RecursionCount = 0;
  section->OwningThread = nullptr;
  section->LockSemaphore = new std::mutex;
  section->SpinCount = spinCount;
  return TRUE;
}

void EnterCriticalSection(LPCRITICAL_SECTION section) {
  // Only the owner itself can see its own id in OwningThread.
  if (Owner(section).load() == Me()) {
    ++section->RecursionCount;
    return;
  }
  std::atomic_ref<LONG>(section->LockCount).fetch_add(1);
  LockOf(section).lock();
  TakeOwnership(section);
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section) {
  if (Owner(section).load() == Me()) {
    ++section->RecursionCount;
    return TRUE;
  }
  if (!LockOf(section).try_lock()) return FALSE;
  std::atomic_ref<LONG>(section->LockCount).fetch_add(1);
  TakeOwnership(section);
  return TRUE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION section) {
  if (Owner(section).load() != Me() || --section->RecursionCount > 0) return;
  Owner(section).store(nullptr);
  std::atomic_ref<LONG>(section->LockCount).fetch_sub(1);
  LockOf(section).unlock();
}

void DeleteCriticalSection(LPCRITICAL_SECTION section) {
  delete static_cast<std::mutex*>(section->LockSemaphore);
  section->LockSemaphore = nullptr;
  section->OwningThread = nullptr;
  section->RecursionCount = 0;
  section->LockCount = -1;
}
