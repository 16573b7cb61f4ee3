// Service control: the service control manager of the machine, its services' configuration
// and state. The table is the registry's HKLM\SYSTEM\CurrentControlSet\Services keys (Type,
// Start, ErrorControl, ImagePath, Group, DisplayName). A service's state is a record of the
// machine profile, machine.ini, "[Services] <name>=running|stopped|paused|disabled" (disabled:
// stopped, and it cannot start whatever its Start value says). Without a record a service runs
// when it starts automatically (Start 0-2) or is a driver that starts on demand (Start 3), and
// is stopped otherwise.
//
// One service runs a program: the Task Scheduler ("Schedule"), whose job runner
// "zxtaskscheduler" lies in the program folder. StartService starts that program
// ("zxtaskscheduler -service"), a stop ends it, and the service runs exactly while its process
// does (whatever the record says); it takes no pause. Where the program folder has no such
// program, the service is a record like the others.
//
// Opening the manager or a service for changes (anything beyond connecting, enumerating,
// querying and interrogating) needs an administrator (ERROR_ACCESS_DENIED otherwise).
#pragma once
#include "wintypes.h"

struct SC_HANDLE__;
using SC_HANDLE = SC_HANDLE__*;
using LPSC_HANDLE = SC_HANDLE*;

#define SC_MANAGER_CONNECT 0x0001
#define SC_MANAGER_CREATE_SERVICE 0x0002
#define SC_MANAGER_ENUMERATE_SERVICE 0x0004
#define SC_MANAGER_LOCK 0x0008
#define SC_MANAGER_QUERY_LOCK_STATUS 0x0010
#define SC_MANAGER_MODIFY_BOOT_CONFIG 0x0020
#define SC_MANAGER_ALL_ACCESS 0xF003F

#define SERVICE_QUERY_CONFIG 0x0001
#define SERVICE_CHANGE_CONFIG 0x0002
#define SERVICE_QUERY_STATUS 0x0004
#define SERVICE_ENUMERATE_DEPENDENTS 0x0008
#define SERVICE_START 0x0010
#define SERVICE_STOP 0x0020
#define SERVICE_PAUSE_CONTINUE 0x0040
#define SERVICE_INTERROGATE 0x0080
#define SERVICE_USER_DEFINED_CONTROL 0x0100
#define SERVICE_ALL_ACCESS 0xF01FF

#define SERVICE_KERNEL_DRIVER 0x00000001
#define SERVICE_FILE_SYSTEM_DRIVER 0x00000002
#define SERVICE_WIN32_OWN_PROCESS 0x00000010
#define SERVICE_WIN32_SHARE_PROCESS 0x00000020

#define SERVICE_BOOT_START 0x00000000
#define SERVICE_SYSTEM_START 0x00000001
#define SERVICE_AUTO_START 0x00000002
#define SERVICE_DEMAND_START 0x00000003
#define SERVICE_DISABLED 0x00000004
#define SERVICE_NO_CHANGE 0xFFFFFFFFu

#define SERVICE_STOPPED 0x00000001
#define SERVICE_START_PENDING 0x00000002
#define SERVICE_STOP_PENDING 0x00000003
#define SERVICE_RUNNING 0x00000004
#define SERVICE_CONTINUE_PENDING 0x00000005
#define SERVICE_PAUSE_PENDING 0x00000006
#define SERVICE_PAUSED 0x00000007

#define SERVICE_CONTROL_STOP 0x00000001
#define SERVICE_CONTROL_PAUSE 0x00000002
#define SERVICE_CONTROL_CONTINUE 0x00000003
#define SERVICE_CONTROL_INTERROGATE 0x00000004

#define SERVICE_ACCEPT_STOP 0x00000001
#define SERVICE_ACCEPT_PAUSE_CONTINUE 0x00000002

#ifndef ERROR_INVALID_ADDRESS
#define ERROR_INVALID_ADDRESS 487L
#endif
#ifndef ERROR_INVALID_SERVICE_CONTROL
#define ERROR_INVALID_SERVICE_CONTROL 1052L
#endif
#ifndef ERROR_SERVICE_REQUEST_TIMEOUT
#define ERROR_SERVICE_REQUEST_TIMEOUT 1053L
#endif
#ifndef ERROR_SERVICE_ALREADY_RUNNING
#define ERROR_SERVICE_ALREADY_RUNNING 1056L
#endif
#ifndef ERROR_SERVICE_DISABLED
#define ERROR_SERVICE_DISABLED 1058L
#endif
#ifndef ERROR_SERVICE_CANNOT_ACCEPT_CTRL
#define ERROR_SERVICE_CANNOT_ACCEPT_CTRL 1061L
#endif
#ifndef ERROR_SERVICE_NOT_ACTIVE
#define ERROR_SERVICE_NOT_ACTIVE 1062L
#endif
#ifndef ERROR_DATABASE_DOES_NOT_EXIST
#define ERROR_DATABASE_DOES_NOT_EXIST 1065L
#endif
#ifndef ERROR_INVALID_SERVICE_NAME
#define ERROR_INVALID_SERVICE_NAME 1213L
#endif

struct SERVICE_STATUS {
  DWORD dwServiceType;
  DWORD dwCurrentState;
  DWORD dwControlsAccepted;
  DWORD dwWin32ExitCode;
  DWORD dwServiceSpecificExitCode;
  DWORD dwCheckPoint;
  DWORD dwWaitHint;
};
using LPSERVICE_STATUS = SERVICE_STATUS*;

struct QUERY_SERVICE_CONFIGW {
  DWORD dwServiceType;
  DWORD dwStartType;
  DWORD dwErrorControl;
  LPWSTR lpBinaryPathName;
  LPWSTR lpLoadOrderGroup;
  DWORD dwTagId;
  LPWSTR lpDependencies;
  LPWSTR lpServiceStartName;
  LPWSTR lpDisplayName;
};
using LPQUERY_SERVICE_CONFIGW = QUERY_SERVICE_CONFIGW*;

// machineName null or empty (this machine); databaseName null or "ServicesActive".
SC_HANDLE OpenSCManagerW(LPCWSTR machineName, LPCWSTR databaseName, DWORD desiredAccess);
// ERROR_SERVICE_DOES_NOT_EXIST for a name the table lacks.
SC_HANDLE OpenServiceW(SC_HANDLE manager, LPCWSTR serviceName, DWORD desiredAccess);
BOOL CloseServiceHandle(SC_HANDLE service);
BOOL QueryServiceStatus(SC_HANDLE service, LPSERVICE_STATUS status);
// The configuration with its texts after the record in the same buffer; too small a buffer
// answers ERROR_INSUFFICIENT_BUFFER with *bytesNeeded.
BOOL QueryServiceConfigW(SC_HANDLE service, LPQUERY_SERVICE_CONFIGW config, DWORD bufferSize,
                         LPDWORD bytesNeeded);
// Changes type, start type, error control, image path, group or display name (SERVICE_NO_CHANGE
// and null leave a field as it is); accounts, passwords, tags and dependencies are not kept.
BOOL ChangeServiceConfigW(SC_HANDLE service, DWORD serviceType, DWORD startType, DWORD errorControl,
                          LPCWSTR binaryPathName, LPCWSTR loadOrderGroup, LPDWORD tagId,
                          LPCWSTR dependencies, LPCWSTR serviceStartName, LPCWSTR password,
                          LPCWSTR displayName);
BOOL StartServiceW(SC_HANDLE service, DWORD argumentCount, LPCWSTR* arguments);
// Stop, pause, continue and interrogate; the answer holds the new status.
BOOL ControlService(SC_HANDLE service, DWORD control, LPSERVICE_STATUS status);

inline SC_HANDLE OpenSCManager(LPCWSTR machineName, LPCWSTR databaseName, DWORD desiredAccess) {
  return OpenSCManagerW(machineName, databaseName, desiredAccess);
}
inline SC_HANDLE OpenService(SC_HANDLE manager, LPCWSTR serviceName, DWORD desiredAccess) {
  return OpenServiceW(manager, serviceName, desiredAccess);
}
inline BOOL QueryServiceConfig(SC_HANDLE service, LPQUERY_SERVICE_CONFIGW config, DWORD bufferSize,
                               LPDWORD bytesNeeded) {
  return QueryServiceConfigW(service, config, bufferSize, bytesNeeded);
}
inline BOOL StartService(SC_HANDLE service, DWORD argumentCount, LPCWSTR* arguments) {
  return StartServiceW(service, argumentCount, arguments);
}

// Listing services and the status with its process.
#include "winsvcenum.h"
