// Synchronisation: events, mutexes, critical sections, waits, Sleep and the interlocked
// operations. Named events are shared within the process; named mutexes across processes.
// Every timeout is measured on the layer's clock (zx/clock.h).
#pragma once
#include "wintypes.h"

#define WAIT_OBJECT_0 0x00000000L
#define WAIT_ABANDONED 0x00000080L
#define WAIT_ABANDONED_0 0x00000080L
#define WAIT_FAILED 0xFFFFFFFFu
#define MAXIMUM_WAIT_OBJECTS 64

#define SYNCHRONIZE 0x00100000L
#define EVENT_MODIFY_STATE 0x0002
#define EVENT_ALL_ACCESS 0x1F0003
#define MUTEX_MODIFY_STATE 0x0001
#define MUTEX_ALL_ACCESS 0x1F0001

// Events. A name shared by two creators names one event (the second gets
// ERROR_ALREADY_EXISTS); a name held by a mutex fails with ERROR_INVALID_HANDLE.
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                    LPCWSTR name);
HANDLE CreateEventA(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                    LPCSTR name);
HANDLE OpenEventW(DWORD desiredAccess, BOOL inheritHandle, LPCWSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// Releases the threads waiting right now (one of them for an auto-reset event), then resets.
BOOL PulseEvent(HANDLE event);

// Mutexes. A named mutex is one lock for every process of the user: the second creator in any
// process gets a handle and ERROR_ALREADY_EXISTS (and no initial ownership) while another
// handle to it is open. A mutex whose owner thread ends is abandoned: the next wait answers
// WAIT_ABANDONED and takes ownership.
HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name);
HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name);
HANDLE OpenMutexW(DWORD desiredAccess, BOOL inheritHandle, LPCWSTR name);
BOOL ReleaseMutex(HANDLE mutex);

inline HANDLE CreateEvent(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                          LPCWSTR name) {
  return CreateEventW(attributes, manualReset, initialState, name);
}
inline HANDLE OpenEvent(DWORD desiredAccess, BOOL inheritHandle, LPCWSTR name) {
  return OpenEventW(desiredAccess, inheritHandle, name);
}
inline HANDLE CreateMutex(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name) {
  return CreateMutexW(attributes, initialOwner, name);
}
inline HANDLE OpenMutex(DWORD desiredAccess, BOOL inheritHandle, LPCWSTR name) {
  return OpenMutexW(desiredAccess, inheritHandle, name);
}

// Critical sections: recursive locks of one process. OwningThread holds the owner's thread
// id, RecursionCount its depth, LockCount is -1 when free and counts holder and waiters
// otherwise; LockSemaphore carries the layer's lock. DebugInfo stays null.
struct RTL_CRITICAL_SECTION {
  void* DebugInfo;
  LONG LockCount;
  LONG RecursionCount;
  HANDLE OwningThread;
  HANDLE LockSemaphore;
  ULONG_PTR SpinCount;
};
using CRITICAL_SECTION = RTL_CRITICAL_SECTION;
using LPCRITICAL_SECTION = RTL_CRITICAL_SECTION*;
using PCRITICAL_SECTION = RTL_CRITICAL_SECTION*;

void InitializeCriticalSection(LPCRITICAL_SECTION section);
BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION section, DWORD spinCount);
void EnterCriticalSection(LPCRITICAL_SECTION section);
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section);
void LeaveCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);

// Waits: events, mutexes and threads (signalled when they end). Up to MAXIMUM_WAIT_OBJECTS
// handles; with waitAll the handles must name distinct objects.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                             DWORD milliseconds);
void Sleep(DWORD milliseconds);
// No asynchronous procedure calls are queued in this layer: always answers 0.
DWORD SleepEx(DWORD milliseconds, BOOL alertable);

// Atomic operations (full barriers); each answers the value Win32 answers.
LONG InterlockedIncrement(volatile LONG* addend);
LONG InterlockedDecrement(volatile LONG* addend);
LONG InterlockedExchange(volatile LONG* target, LONG value);
LONG InterlockedExchangeAdd(volatile LONG* addend, LONG value);
LONG InterlockedCompareExchange(volatile LONG* destination, LONG exchange, LONG comparand);
LONGLONG InterlockedIncrement64(volatile LONGLONG* addend);
LONGLONG InterlockedExchangeAdd64(volatile LONGLONG* addend, LONGLONG value);
