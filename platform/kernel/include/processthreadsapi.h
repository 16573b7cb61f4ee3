// Threads and the current process: creating and ending threads, ids, pseudo-handles,
// priorities, the command line and ExitProcess.
#pragma once
#include "wintypes.h"

#ifndef WINAPI
#define WINAPI
#endif

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);
using PTHREAD_START_ROUTINE = LPTHREAD_START_ROUTINE;

#define CREATE_SUSPENDED 0x00000004
#define STILL_ACTIVE 259

#define THREAD_PRIORITY_IDLE (-15)
#define THREAD_PRIORITY_LOWEST (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_HIGHEST 2
#define THREAD_PRIORITY_TIME_CRITICAL 15
#define THREAD_PRIORITY_ERROR_RETURN 0x7FFFFFFF

// The thread object is signalled when the thread ends and stays valid until its last handle
// closes; closing the handle of a running thread leaves the thread running. The stack size
// is left to the host.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize,
                    LPTHREAD_START_ROUTINE startAddress, LPVOID parameter, DWORD creationFlags,
                    LPDWORD threadId);
// Answers the previous suspend count, or (DWORD)-1 on a bad handle.
DWORD ResumeThread(HANDLE thread);
// STILL_ACTIVE while the thread runs.
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
[[noreturn]] void ExitThread(DWORD exitCode);

// Thread ids are the host's thread ids, unique on the machine while the thread lives.
DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();
// Pseudo-handles: (HANDLE)-2 names the calling thread, (HANDLE)-1 the current process.
HANDLE GetCurrentThread();
HANDLE GetCurrentProcess();

// Priorities are recorded per thread; the host scheduler is left alone.
BOOL SetThreadPriority(HANDLE thread, int priority);
int GetThreadPriority(HANDLE thread);

// The process's command line in Windows form: the program as a Windows path (in quotes when
// it holds a blank), then the arguments, each quoted as Windows quotes them.
LPWSTR GetCommandLineW();
LPSTR GetCommandLineA();
inline LPWSTR GetCommandLine() { return GetCommandLineW(); }

// Flushes the C streams and ends the process with that exit code at once.
[[noreturn]] void ExitProcess(UINT exitCode);
