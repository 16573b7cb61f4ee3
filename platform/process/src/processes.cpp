// OpenProcess, TerminateProcess, GetExitCodeProcess, GetProcessId and ReadProcessMemory.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "errhandlingapi.h"
#include "processobject.h"
#include "winprocess.h"

namespace {

using zx::process::ProcessOf;

// A process of another user is out of reach unless we are the superuser.
bool OwnedByUs(DWORD id) {
  struct stat info{};
  if (::stat(("/proc/" + std::to_string(id)).c_str(), &info) != 0) return false;
  return ::geteuid() == 0 || info.st_uid == ::geteuid();
}

}  // namespace

HANDLE OpenProcess(DWORD desiredAccess, BOOL /*inheritHandle*/, DWORD processId) {
  if (processId == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto object = zx::process::ObjectOfProcess(processId);
  if (!object) return nullptr;
  if ((desiredAccess & (PROCESS_TERMINATE | PROCESS_VM_READ)) && !OwnedByUs(processId)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  return zx::InsertHandle(object);
}

BOOL TerminateProcess(HANDLE process, UINT exitCode) {
  auto object = ProcessOf(process);
  if (!object) return FALSE;
  if (object->id == static_cast<DWORD>(::getpid())) ::_exit(static_cast<int>(exitCode & 0xFF));
  {
    std::lock_guard<std::mutex> guard(zx::WaitLock());
    if (object->Ended()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    if (::kill(static_cast<pid_t>(object->id), SIGKILL) != 0) {
      SetLastError(errno == EPERM ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE);
      return FALSE;
    }
    object->terminatedWith = exitCode;
  }
  zx::NotifyWaiters();
  return TRUE;
}

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
  auto object = ProcessOf(process);
  if (!object) return FALSE;
  if (!exitCode) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> guard(zx::WaitLock());
  *exitCode = object->ExitCode();
  return TRUE;
}

DWORD GetProcessId(HANDLE process) {
  auto object = ProcessOf(process);
  return object ? object->id : 0;
}

BOOL ReadProcessMemory(HANDLE process, LPCVOID baseAddress, LPVOID buffer, SIZE_T size,
                       SIZE_T* bytesRead) {
  auto object = ProcessOf(process);
  if (!object) return FALSE;
  if (bytesRead) *bytesRead = 0;
  const int fd = ::open(("/proc/" + std::to_string(object->id) + "/mem").c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  const auto offset = static_cast<off_t>(reinterpret_cast<std::uintptr_t>(baseAddress));
  const ssize_t got = ::pread(fd, buffer, size, offset);
  ::close(fd);
  if (got > 0 && bytesRead) *bytesRead = static_cast<SIZE_T>(got);
  if (got < 0 || static_cast<SIZE_T>(got) != size) {
    SetLastError(ERROR_NOACCESS);
    return FALSE;
  }
  return TRUE;
}
