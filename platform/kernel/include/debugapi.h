// Debug output (OutputDebugStringW/A): no debugger attaches to the layer's programs, so the
// text is written to the standard error stream only when the environment variable
// ZX_DEBUG_OUTPUT is set, and dropped otherwise. IsDebuggerPresent answers FALSE.
#pragma once
#include "wintypes.h"

void OutputDebugStringW(LPCWSTR text);
// The text is in the ANSI code page.
void OutputDebugStringA(LPCSTR text);
BOOL IsDebuggerPresent();
