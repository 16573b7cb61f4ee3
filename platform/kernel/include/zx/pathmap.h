// Windows paths <-> host paths of the machine root. Every file call of the layer goes
// through this pair. C:\ maps to the machine root's drive_c folder, Z:\ to the host's /.
#pragma once
#include <string>
#include <string_view>

#include "wintypes.h"

namespace zx::path {

// Maps a Windows path (drive-absolute, or relative to the process's current folder; '\' or
// '/' separators; an optional "\\?\" prefix) to a host path. '.' and '..' are resolved
// lexically and never climb above the drive's folder; each existing component is matched
// without regard to case and takes the name found on disk. Refused paths (device names such
// as NUL or COM1, UNC paths, unmapped drives, characters Windows forbids) answer false and
// put a Win32 error code (ERROR_INVALID_NAME, ERROR_PATH_NOT_FOUND, ERROR_INVALID_DRIVE,
// ERROR_BAD_NETPATH) into *error when given.
bool WindowsToHost(std::u16string_view windowsPath, std::string& hostPath, DWORD* error = nullptr);

// Maps a host path back: inside the C: folder it answers "C:\...", anywhere else "Z:\...".
std::u16string HostToWindows(std::string_view hostPath);

}  // namespace zx::path
