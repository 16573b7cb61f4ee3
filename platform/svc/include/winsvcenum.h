// Listing the machine's services (EnumServicesStatusW) and a service's status with its
// process (QueryServiceStatusEx). Only a service that runs a program of ours has a process id
// (see winsvc.h); any other's is 0.
#pragma once
#include "winsvc.h"

#define SERVICE_DRIVER (SERVICE_KERNEL_DRIVER | SERVICE_FILE_SYSTEM_DRIVER | 0x00000008)
#define SERVICE_WIN32 (SERVICE_WIN32_OWN_PROCESS | SERVICE_WIN32_SHARE_PROCESS)
#define SERVICE_ACTIVE 0x00000001
#define SERVICE_INACTIVE 0x00000002
#define SERVICE_STATE_ALL (SERVICE_ACTIVE | SERVICE_INACTIVE)

struct ENUM_SERVICE_STATUSW {
  LPWSTR lpServiceName;
  LPWSTR lpDisplayName;
  SERVICE_STATUS ServiceStatus;
};
using LPENUM_SERVICE_STATUSW = ENUM_SERVICE_STATUSW*;

enum SC_STATUS_TYPE { SC_STATUS_PROCESS_INFO = 0 };

struct SERVICE_STATUS_PROCESS {
  DWORD dwServiceType;
  DWORD dwCurrentState;
  DWORD dwControlsAccepted;
  DWORD dwWin32ExitCode;
  DWORD dwServiceSpecificExitCode;
  DWORD dwCheckPoint;
  DWORD dwWaitHint;
  DWORD dwProcessId;
  DWORD dwServiceFlags;
};
using LPSERVICE_STATUS_PROCESS = SERVICE_STATUS_PROCESS*;

// The services of the types and states asked for, in the order of their keys, as records
// followed by their texts. A manager handle needs SC_MANAGER_ENUMERATE_SERVICE. When not all
// fit, the ones that do are answered with FALSE and ERROR_MORE_DATA, *bytesNeeded the bytes
// for the rest and *resumeHandle (when given) where to go on.
BOOL EnumServicesStatusW(SC_HANDLE manager, DWORD serviceType, DWORD serviceState,
                         LPENUM_SERVICE_STATUSW services, DWORD bufferSize, LPDWORD bytesNeeded,
                         LPDWORD servicesReturned, LPDWORD resumeHandle);
// SC_STATUS_PROCESS_INFO into a buffer of at least sizeof(SERVICE_STATUS_PROCESS).
BOOL QueryServiceStatusEx(SC_HANDLE service, SC_STATUS_TYPE infoLevel, LPBYTE buffer, DWORD bufferSize,
                          LPDWORD bytesNeeded);
