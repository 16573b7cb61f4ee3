// The image base a PE module asked for, read from its headers wherever they lie (another
// process's memory, a file's bytes).
#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>

#include "HelperApi.h"

// Reads `size` bytes at `offset` from the module's start into `buffer`; false when they
// cannot be read.
using PeHeaderReader = std::function<bool(ULONG_PTR offset, BYTE* buffer, std::size_t size)>;

// The optional header's ImageBase of an image starting "MZ" whose NT headers (at the DOS
// header's offset) start "PE\0\0"; 0 for anything else.
ZXHELPER_API ULONG_PTR PeImageBase(const PeHeaderReader& read);
