// Windows paths as drive letter and components: the lexical half of the path mapping, shared
// with the current-folder functions. Kernel-internal.
#pragma once
#include <sys/stat.h>

#include <string>
#include <string_view>
#include <vector>

#include "wintypes.h"

namespace zx::path {

struct WindowsPath {
  char16_t drive = u'C';               // upper-case letter
  std::vector<std::u16string> parts;   // never empty, ".", ".." or ending in a dot or blank
  bool trailingSeparator = false;      // the text ended in a separator after a component
};

// Splits text into drive and components as Windows does: relative forms resolve against the
// current folder, '/' and '\' both separate, '.' is dropped, '..' climbs but never above the
// drive's root, and trailing dots and blanks of a component go. "\\?\" is accepted before a
// drive path; UNC paths answer ERROR_BAD_NETPATH, device paths and an empty text fail too.
bool Parse(std::u16string_view text, WindowsPath& out, DWORD* error);
// "C:\dir\name" ("C:\" for the root), with the trailing separator when the text had one.
std::u16string Format(const WindowsPath& path);
// Characters no Windows name holds: controls and < > : " | ? *.
bool IsForbiddenInName(char16_t c);
// ERROR_INVALID_NAME for a component Windows refuses (device names such as NUL or COM1,
// also with an extension, or a character of <>:"|?* or a control character).
bool CheckNames(const WindowsPath& path, DWORD* error);
// What the mapping saw of the path's last component, so that callers need not look again.
struct MappedEntry {
  bool known = false;    // false for a drive's root, which the mapping does not look at
  bool exists = false;   // the entry exists (links followed)
  struct stat status {}; // its status (links followed) when it exists
};

// The host path of a checked path: each existing component takes the name found on disk
// without regard to case. ERROR_PATH_NOT_FOUND for drives other than C: and Z:, and
// ERROR_ACCESS_DENIED when a link inside the C: folder leads out of it.
bool MapToHost(const WindowsPath& path, std::string& host, DWORD* error, MappedEntry* entry = nullptr);

// The whole mapping of a Win32 path argument (Parse, CheckNames, MapToHost), with parsed
// and entry filled when given; on failure sets the last error (ERROR_INVALID_PARAMETER for
// null).
bool MapArgument(LPCWSTR windowsPath, std::string& host, WindowsPath* parsed = nullptr,
                 MappedEntry* entry = nullptr);

// The process's current folder (curdir.cpp): the program folder until SetCurrentDirectory,
// and again whenever the machine root changes.
WindowsPath CurrentFolder();

}  // namespace zx::path
