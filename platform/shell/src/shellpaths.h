// Path helpers the shell's own functions share, built on the kernel's file API.
// Shell-internal.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "wintypes.h"

namespace zx::shell {

using Paths = std::vector<std::u16string>;

// folder + '\' + name (no doubled separator).
std::u16string Join(std::u16string_view folder, std::u16string_view name);
// The last component, and everything before its separator ("C:\" for an entry of a root).
std::u16string_view NameOf(std::u16string_view path);
std::u16string FolderOf(std::u16string_view path);
// GetFullPathName without a trailing separator (except a root's); false with the last error.
bool FullPath(std::u16string_view path, std::u16string& full);
bool IsFolder(DWORD attributes);
// Makes the folder and the missing folders above it; whether the folder exists afterwards.
bool MakeFolders(const std::u16string& path);
// The entries of a folder whose names match pattern, as full paths, without "." and "..".
Paths Children(const std::u16string& folder, std::u16string_view pattern, bool filesOnly);

}  // namespace zx::shell
