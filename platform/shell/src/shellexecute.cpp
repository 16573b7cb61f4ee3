// ShellExecuteEx and ShellExecute: programs start as processes; web addresses and documents
// go to the desktop's opener.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "errhandlingapi.h"
#include "handleapi.h"
#include "shellapi.h"
#include "winprocess.h"
#include "zx/casefold.h"
#include "zx/pathmap.h"
#include "zx/processes.h"

namespace {

bool IsWebAddress(std::u16string_view file) {
  for (const char16_t* scheme : {u"http:", u"https:", u"mailto:"}) {
    const std::u16string_view prefix(scheme);
    if (file.size() > prefix.size() && zx::EqualNoCase(std::u16string(file.substr(0, prefix.size())).c_str(), scheme))
      return true;
  }
  return false;
}

// A file name in double quotes names the file inside them, as the shell reads it.
std::u16string Unquoted(std::u16string file) {
  if (file.size() >= 2 && file.front() == u'"' && file.back() == u'"') file = file.substr(1, file.size() - 2);
  return file;
}

// A program for the shell: a host file its user may run, or any file named ".exe" (Windows runs
// those by their name; the host's execute mark is given when it starts).
bool IsProgramFile(const std::u16string& file, const std::string& host) {
  const bool exe = file.size() > 4 && zx::EqualNoCase(file.substr(file.size() - 4).c_str(), u".exe");
  return ::access(host.c_str(), X_OK) == 0 || exe;
}

// The desktop's opener on the host's search path, or empty.
std::string DesktopOpener() {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    const std::string candidate = (folder.empty() ? "." : folder) + "/xdg-open";
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

BOOL Fail(SHELLEXECUTEINFOW* info, DWORD error, int code) {
  info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(code));
  SetLastError(error);
  return FALSE;
}

BOOL Started(SHELLEXECUTEINFOW* info, HANDLE process) {
  if (info->fMask & SEE_MASK_NOCLOSEPROCESS) {
    info->hProcess = process;
  } else {
    CloseHandle(process);
  }
  info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(42));
  return TRUE;
}

BOOL OpenWithDesktop(SHELLEXECUTEINFOW* info, const std::string& target) {
  const std::string opener = DesktopOpener();
  if (opener.empty()) return Fail(info, ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC);
  DWORD error = 0;
  HANDLE process = zx::process::StartProgram(opener, {opener, target}, "", nullptr, error);
  if (!process) return Fail(info, error, SE_ERR_NOASSOC);
  return Started(info, process);
}

BOOL RunProgram(SHELLEXECUTEINFOW* info, const std::u16string& file, bool elevate) {
  std::u16string line = u"\"" + file + u"\"";
  if (info->lpParameters && *info->lpParameters) line += u" " + std::u16string(info->lpParameters);
  if (elevate) std::fprintf(stderr, "runas: %s starts without elevation\n", zx::process::Utf8(file).c_str());
  PROCESS_INFORMATION started{};
  const LPCWSTR folder = info->lpDirectory && *info->lpDirectory ? info->lpDirectory : nullptr;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, nullptr, &started)) {
    const DWORD error = GetLastError();
    return Fail(info, error, error == ERROR_FILE_NOT_FOUND ? SE_ERR_FNF
                             : error == ERROR_ACCESS_DENIED ? SE_ERR_ACCESSDENIED
                                                            : SE_ERR_PNF);
  }
  return Started(info, started.hProcess);
}

}  // namespace

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) {
  if (!info || info->cbSize != sizeof(SHELLEXECUTEINFOW)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  info->hProcess = nullptr;
  const std::u16string verb = info->lpVerb ? info->lpVerb : u"";
  const bool elevate = zx::EqualNoCase(verb.c_str(), u"runas");
  if (!verb.empty() && !elevate && !zx::EqualNoCase(verb.c_str(), u"open"))
    return Fail(info, ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC);
  const std::u16string file = Unquoted(info->lpFile ? info->lpFile : u"");
  if (file.empty()) return Fail(info, ERROR_FILE_NOT_FOUND, SE_ERR_FNF);
  if (IsWebAddress(file)) return OpenWithDesktop(info, zx::process::Utf8(file));
  std::string host;
  if (zx::process::ProgramHostPath(file, host) && IsProgramFile(file, host))
    return RunProgram(info, file, elevate);
  DWORD error = 0;
  if (zx::path::WindowsToHost(file, host, &error) && ::access(host.c_str(), F_OK) == 0)
    return OpenWithDesktop(info, host);
  return Fail(info, ERROR_FILE_NOT_FOUND, SE_ERR_FNF);
}

HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                        int showCommand) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = hwnd;
  info.lpVerb = verb;
  info.lpFile = file;
  info.lpParameters = parameters;
  info.lpDirectory = directory;
  info.nShow = showCommand;
  ShellExecuteExW(&info);
  return info.hInstApp;
}
