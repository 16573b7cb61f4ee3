// Reads a whole file piece by piece for the digest classes, through the Win32 file API.
#pragma once
#include <windows.h>

#include <functional>

// Opens the file for reading with the given share mode and hands every piece to `sink` until
// ReadFile reports the end of the file (the size is never taken beforehand, so a file that
// grows or shrinks meanwhile is still read to its real end). False when the path is absent,
// the file cannot be opened or a read fails; the file is closed in every case.
bool ReadFileToEnd(LPCTSTR path, DWORD shareMode, const std::function<void(const BYTE*, DWORD)>& sink);
