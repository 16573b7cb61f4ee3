// The machine root: the one folder that holds everything the system would find on a Windows
// machine (drive C:, the registry hives, the per-user runtime folder). Platform-internal.
#pragma once
#include <cstdint>
#include <string>

namespace zx::machine {

// The root folder: $ZX_MACHINE_ROOT, else $XDG_DATA_HOME/zephrinkx/machine, else
// $HOME/.local/share/zephrinkx/machine. Created (with its sub-folders) on first use.
std::string Root();
// Points the process at another root (tests make a fresh root each). Bumps RootGeneration.
void UseRoot(const std::string& hostFolder);
// Changes whenever UseRoot is called, so caches keyed by the root can notice.
std::uint64_t RootGeneration();

// <root>/drive_c: the folder that C:\ maps to.
std::string DriveCFolder();
// <root>/registry: one file set per hive.
std::string RegistryFolder();
// <root>/run-<uid>: per-user runtime folder of mode 0700 (named mutexes, channels).
std::string RuntimeFolder();
// The folder of the running executable (host path, no trailing slash).
std::string ProgramFolder();

// A value of the machine profile <root>/machine.ini, which describes the simulated Windows
// machine (UTF-8, "key=value" lines under "[section]" headers; names compared without regard
// to case; blanks around names and values dropped; ';' or '#' starts a comment line). Sections used:
// [Windows] (version), [Machine] (Administrator=0|1), [Memory] (sysinfoapi.h),
// [NetworkAdapters] (zx/netadapters.h), [Services] Winmgmt and [Win32_<class>] (wbemcli.h),
// [Drives] (drives without a medium besides C: and Z:, fileapi.h), [Locale] (winnls.h).
// Answers fallback when absent.
std::string ProfileValue(const std::string& section, const std::string& key,
                         const std::string& fallback);

}  // namespace zx::machine
