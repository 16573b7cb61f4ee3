// The host's processes as the process component reads them from /proc. Platform-internal:
// other components (the shell's ShellExecuteEx) start programs through StartProgram.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "wintypes.h"

namespace zx::process {

// The fields of a "/proc/<pid>/stat" line the layer uses; false when the line has no
// "(command)" and state.
struct ProcessStat {
  std::string command;  // between the first "(" and the last ")"
  char state = 0;
  DWORD parentId = 0;
  DWORD threads = 0;
};
bool ParseProcessStat(std::string_view line, ProcessStat& stat);
// The first word of a "/proc/<pid>/cmdline" (words end with zero bytes).
std::string FirstCommandWord(std::string_view commandLine);
struct Module;
// The modules of a "/proc/<pid>/maps" text, one per mapped file (a path from "/"), in the
// order first mapped, each from its lowest to its highest mapped address; lines that are no
// whole mapping are passed over.
std::vector<Module> ParseModuleMaps(std::string_view maps);

// Ids of the running processes, ascending.
std::vector<DWORD> ProcessIds();

struct HostProcess {
  DWORD id = 0;
  DWORD parentId = 0;
  DWORD threads = 0;
  std::string executable;  // host path; empty when it cannot be read (another user's process)
  std::u16string name;     // base name, "X.exe" for a program of the program folder
};
// False when the process does not exist (any more).
bool Describe(DWORD processId, HostProcess& process);
// The name Windows would show for an executable at this host path.
std::u16string DisplayName(const std::string& executable);

struct Module {
  std::uintptr_t base = 0;
  DWORD size = 0;
  std::string path;  // host path
};
// The executable first, then every other file mapped into the process in address order.
// False with a Win32 error when the process's map cannot be read.
bool Modules(DWORD processId, std::vector<Module>& modules, DWORD& error);

// Starts a host program with its arguments (argv[0] is the program as given) in a folder
// ("" keeps ours); answers a process handle (and the id) or null with a Win32 error. A Windows
// command line (UTF-8) is recorded for the child, whose GetCommandLineW then answers it.
HANDLE StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& folder, DWORD* processId, DWORD& error,
                    const std::string& commandLine = {});

// Host path of a Windows program name: "X.exe" in the program folder is the file "X"; other
// names map through the machine's paths. False when no such file exists.
bool ProgramHostPath(std::u16string_view windowsProgram, std::string& hostPath);

std::string Utf8(std::u16string_view text);
std::u16string Utf16(std::string_view text);

}  // namespace zx::process
