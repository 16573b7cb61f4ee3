// System file protection: whether Windows guards a file against replacement. The files the
// service protects are those of the Windows folder (C:\Windows and below). The service runs
// unless the machine profile says "FileProtection=0" under [Machine].
#pragma once
#include "wintypes.h"

// TRUE for a protected file. FALSE with ERROR_FILE_NOT_FOUND for a file the service does not
// protect; FALSE with another error when it cannot answer: ERROR_SERVICE_NOT_ACTIVE (the
// service is off), ERROR_INVALID_PARAMETER (no path) or the path mapping's error. The server
// handle is ignored (the local service answers). C linkage: callers bind it by name.
extern "C" BOOL SfcIsFileProtected(HANDLE rpcHandle, LPCWSTR protectedFileName);
