// The shared library's own module handle.
#pragma once
#include <windows.h>

#include "HelperApi.h"

ZXHELPER_API HMODULE GetHelperModuleHandle();
