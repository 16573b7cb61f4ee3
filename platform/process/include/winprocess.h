// Processes: starting programs (CreateProcess), opening running processes by id, ending them,
// their exit codes and reading their memory. A process handle is signalled when the process
// ends, so WaitForSingleObject waits for it.
//
// Process ids are the host's. A program "X.exe" in the program folder runs the built program
// "X"; any other Windows path runs the host file it maps to.
#pragma once
#include "processthreadsapi.h"
#include "wintypes.h"

#define PROCESS_TERMINATE 0x0001
#define PROCESS_VM_READ 0x0010
#define PROCESS_QUERY_INFORMATION 0x0400
#define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
#define PROCESS_ALL_ACCESS 0x1FFFFF

#define CREATE_NO_WINDOW 0x08000000
#define NORMAL_PRIORITY_CLASS 0x00000020

struct STARTUPINFOW {
  DWORD cb;
  LPWSTR lpReserved;
  LPWSTR lpDesktop;
  LPWSTR lpTitle;
  DWORD dwX, dwY, dwXSize, dwYSize, dwXCountChars, dwYCountChars, dwFillAttribute;
  DWORD dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  LPBYTE lpReserved2;
  HANDLE hStdInput, hStdOutput, hStdError;
};
using LPSTARTUPINFOW = STARTUPINFOW*;
using STARTUPINFO = STARTUPINFOW;

struct PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;  // null: the host gives no handle to another process's first thread
  DWORD dwProcessId;
  DWORD dwThreadId;
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

// The command line is split as Windows splits it (quotes, backslashes before quotes); the
// program is applicationName when given, else the first word. The environment, inheritance
// and creation flags are accepted and the child gets this process's environment. The child
// starts in currentDirectory (a Windows path) when given. ERROR_FILE_NOT_FOUND when the
// program does not exist, ERROR_BAD_EXE_FORMAT when it cannot run.
BOOL CreateProcessW(LPCWSTR applicationName, LPWSTR commandLine,
                    LPSECURITY_ATTRIBUTES processAttributes, LPSECURITY_ATTRIBUTES threadAttributes,
                    BOOL inheritHandles, DWORD creationFlags, LPVOID environment,
                    LPCWSTR currentDirectory, LPSTARTUPINFOW startupInfo,
                    LPPROCESS_INFORMATION processInformation);
inline BOOL CreateProcess(LPCWSTR applicationName, LPWSTR commandLine,
                          LPSECURITY_ATTRIBUTES processAttributes,
                          LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles,
                          DWORD creationFlags, LPVOID environment, LPCWSTR currentDirectory,
                          LPSTARTUPINFOW startupInfo, LPPROCESS_INFORMATION processInformation) {
  return CreateProcessW(applicationName, commandLine, processAttributes, threadAttributes,
                        inheritHandles, creationFlags, environment, currentDirectory, startupInfo,
                        processInformation);
}

// ERROR_INVALID_PARAMETER for an id that names no process; ERROR_ACCESS_DENIED for a
// process of another user when terminate or memory access is asked for.
HANDLE OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId);
// Ends the process at once (the host's SIGKILL); its exit code becomes exitCode. Ending a
// process that has already ended fails with ERROR_ACCESS_DENIED, as on Windows.
BOOL TerminateProcess(HANDLE process, UINT exitCode);
// STILL_ACTIVE while it runs. A process this process started answers its own exit code;
// one it ended with TerminateProcess the code given there; any other ended process 0.
BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
DWORD GetProcessId(HANDLE process);
// Reads the process's memory (the host's /proc/<id>/mem); ERROR_NOACCESS when the range is
// not all readable (bytesRead then says how much was).
BOOL ReadProcessMemory(HANDLE process, LPCVOID baseAddress, LPVOID buffer, SIZE_T size,
                       SIZE_T* bytesRead);
