// Waiting on a worker from a window's thread while the worker may still send to its windows.
#pragma once
#include <windows.h>
#include <wininput.h>

#include "HelperApi.h"

// Waits for the object (a worker thread) to be signalled, answering in the meantime the
// messages other threads send to this thread's windows, so that a worker that sends to them
// cannot deadlock the wait.
ZXHELPER_API void WaitForWorkerServingSends(HANDLE worker);
