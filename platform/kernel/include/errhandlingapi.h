// Per-thread last-error code.
#pragma once
#include "wintypes.h"

DWORD GetLastError();
void SetLastError(DWORD code);
