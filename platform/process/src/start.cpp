// Starting programs: CreateProcessW and the host spawn behind it and ShellExecuteEx.
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "errhandlingapi.h"
#include "processobject.h"
#include "winprocess.h"
#include "zx/cmdline.h"
#include "zx/pathmap.h"
#include "zx/processes.h"
#include "zx/spawngate.h"

extern char** environ;

namespace {

DWORD SpawnError(int code) {
  switch (code) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case EACCES: return ERROR_ACCESS_DENIED;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_BAD_EXE_FORMAT;
  }
}

// Windows runs any program file its user may read; a file written on the host (a downloaded
// setup program) lacks the host's execute mark. Gives it to the owner of a regular file that
// has none; true when the mark was added.
bool MarkRunnable(const std::string& program) {
  struct stat info {};
  if (::stat(program.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || (info.st_mode & S_IXUSR) != 0 ||
      info.st_uid != ::geteuid())
    return false;
  return ::chmod(program.c_str(), (info.st_mode & 07777) | S_IXUSR) == 0;
}

// The host lets the parent go on once the child's exec has begun, before the new image is
// mapped; Windows answers only when the program's image is in place. Waits (at most 2 s of
// host time) until the child's map holds its files, or it has ended.
void AwaitImage(DWORD processId) {
  for (int attempt = 0; attempt < 10000; ++attempt) {
    zx::process::HostProcess process;
    std::vector<zx::process::Module> modules;
    DWORD error = 0;
    if (!zx::process::Describe(processId, process) ||
        (zx::process::Modules(processId, modules, error) && !modules.empty()))
      return;
    ::usleep(200);
  }
}

}  // namespace

namespace zx::process {

HANDLE StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& folder, DWORD* processId, DWORD& error, const std::string& commandLine) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  // A Windows child inherits none of its parent's handles here (no caller asks for them): of
  // our open files it keeps only the standard streams.
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
  // The child's environment: ours, with the command line recorded for it (or none).
  const std::string prefix = std::string(zx::cmdline::kCommandLineVariable) + "=";
  const std::string recorded = prefix + commandLine;
  std::vector<char*> environment;
  for (char** entry = environ; entry && *entry; ++entry)
    if (std::string_view(*entry).substr(0, prefix.size()) != prefix) environment.push_back(*entry);
  if (!commandLine.empty()) environment.push_back(const_cast<char*>(recorded.c_str()));
  environment.push_back(nullptr);
  pid_t pid = 0;
  int result = 0;
  {
    // The spawn returns once the child has closed our files and begun its program.
    zx::file::StartingProgram starting;
    result = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environment.data());
    if (result == EACCES && MarkRunnable(program))
      result = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environment.data());
  }
  posix_spawn_file_actions_destroy(&actions);
  if (result != 0) {
    error = SpawnError(result);
    return nullptr;
  }
  if (processId) *processId = static_cast<DWORD>(pid);
  HANDLE process = InsertHandle(AdoptChild(static_cast<DWORD>(pid)));
  AwaitImage(static_cast<DWORD>(pid));
  return process;
}

}  // namespace zx::process

BOOL CreateProcessW(LPCWSTR applicationName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES,
                    LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCWSTR currentDirectory,
                    LPSTARTUPINFOW, LPPROCESS_INFORMATION processInformation) {
  std::vector<std::u16string> words = zx::cmdline::SplitCommandLine(commandLine ? commandLine : u"");
  const std::u16string program = applicationName ? std::u16string(applicationName)
                                                 : (words.empty() ? u"" : words.front());
  if (program.empty() || !processInformation) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string hostProgram, folder;
  if (!zx::process::ProgramHostPath(program, hostProgram)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  DWORD error = 0;
  if (currentDirectory && !zx::path::WindowsToHost(currentDirectory, folder, &error)) {
    SetLastError(error ? error : ERROR_DIRECTORY);
    return FALSE;
  }
  std::vector<std::string> arguments{hostProgram};
  for (std::size_t i = words.empty() ? 0 : 1; i < words.size(); ++i)
    arguments.push_back(zx::process::Utf8(words[i]));
  DWORD id = 0;
  HANDLE process = zx::process::StartProgram(hostProgram, arguments, folder, &id, error,
                                             zx::process::Utf8(commandLine ? commandLine : u""));
  if (!process) {
    SetLastError(error);
    return FALSE;
  }
  *processInformation = PROCESS_INFORMATION{process, nullptr, id, 0};
  return TRUE;
}
