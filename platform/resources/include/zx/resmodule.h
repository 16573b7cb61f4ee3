// Which resource file a module's resources come from (platform-internal). A module's file
// "X.so", "X.dll" or "X.exe" (or a program "X") has its resources in "X.res" beside it; the
// main program (module handle null) in "<program>.res". Files are read once and kept for the
// process (resources stay valid as on Windows while the module is loaded); a file changed
// on disk is read again for later lookups.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "wintypes.h"
#include "zx/resfile.h"

namespace zx::res {

// "dir/name.so" -> "dir/name.res" (also for ".dll", ".exe" and names without extension).
std::string ResourceFilePath(const std::string& moduleHostPath);

// The resource file of a module: null with the last error set when the module is unknown
// (ERROR_MOD_NOT_FOUND), it has no resource file (ERROR_RESOURCE_DATA_NOT_FOUND) or the
// file is damaged (ERROR_BAD_FORMAT, and one line on stderr naming the file and the fault).
std::shared_ptr<const ResourceFile> ModuleResources(HMODULE module);
// The same for a file by host path (version information of a module file).
std::shared_ptr<const ResourceFile> FileResources(const std::string& resHostPath);

// The version record (RT_VERSION 1, else the first RT_VERSION) of a module file, from the
// resource file beside it: what GetFileVersionInfoW answers for the system's own modules,
// which are no PE images. False with the last error set when there is none.
bool ModuleVersionRecord(const std::string& moduleHostPath, std::vector<BYTE>& record);

// A module handle that stands for a resource file alone, for language resource libraries
// and tests; null (last error as above) when the file can't be used. Closed with
// CloseResourceModule.
HMODULE OpenResourceModule(const std::string& resHostPath);
bool CloseResourceModule(HMODULE module);

}  // namespace zx::res
