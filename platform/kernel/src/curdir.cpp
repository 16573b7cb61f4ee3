// The process's current folder and the path-name functions built on the lexical path form:
// GetCurrentDirectory, SetCurrentDirectory, GetFullPathName, GetLongPathName and
// GetShortPathName (names are never shortened, so both answer the path as given).
#include <sys/stat.h>

#include <cstdint>
#include <mutex>

#include "fileapi.h"
#include "filetext.h"
#include "hostfiles.h"
#include "pathparse.h"
#include "zx/machine.h"
#include "zx/pathmap.h"

namespace zx::path {
namespace {

struct CurrentState {
  std::mutex lock;
  WindowsPath folder;
  std::uint64_t generation = 0;  // root generation the folder belongs to
};

CurrentState& State() {
  static CurrentState* state = new CurrentState;  // lives past static destruction
  return *state;
}

// The program folder as a Windows path.
WindowsPath ProgramFolder() {
  WindowsPath folder;
  Parse(HostToWindows(machine::ProgramFolder()), folder, nullptr);
  folder.trailingSeparator = false;
  return folder;
}

void SetCurrent(WindowsPath folder) {
  CurrentState& s = State();
  std::lock_guard<std::mutex> g(s.lock);
  folder.trailingSeparator = false;
  s.folder = std::move(folder);
  s.generation = machine::RootGeneration();
}

}  // namespace

WindowsPath CurrentFolder() {
  CurrentState& s = State();
  {
    std::lock_guard<std::mutex> g(s.lock);
    if (s.generation == machine::RootGeneration()) return s.folder;
  }
  SetCurrent(ProgramFolder());
  return CurrentFolder();
}

}  // namespace zx::path

namespace {

using zx::file::CopyOut;
using zx::file::Fail;
using zx::path::WindowsPath;

// The full path of name, with the offset of its last component (npos when it ends in a
// separator or is a root).
bool FullPath(LPCWSTR name, std::u16string& full, std::size_t& lastPart) {
  WindowsPath parsed;
  DWORD error = 0;
  if (name == nullptr || !zx::path::Parse(name, parsed, &error)) return Fail(name ? error : ERROR_INVALID_PARAMETER);
  full = zx::path::Format(parsed);
  lastPart = parsed.parts.empty() || parsed.trailingSeparator ? std::u16string::npos
                                                              : full.size() - parsed.parts.back().size();
  return true;
}

// Answers the path as given once it names an existing entry.
DWORD ExistingPathAsGiven(LPCWSTR path, LPWSTR buffer, DWORD length) {
  std::string host;
  if (!zx::path::MapArgument(path, host)) return 0;
  struct stat st {};
  if (::stat(host.c_str(), &st) != 0) return Fail(zx::file::MissingError(host));
  const std::u16string copy = path;  // the buffer may be the argument itself
  return CopyOut(copy, buffer, length);
}

}  // namespace

DWORD GetCurrentDirectoryW(DWORD bufferLength, LPWSTR buffer) {
  return CopyOut(zx::path::Format(zx::path::CurrentFolder()), buffer, bufferLength);
}

DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer) {
  return CopyOut(zx::path::Format(zx::path::CurrentFolder()), buffer, bufferLength);
}

BOOL SetCurrentDirectoryW(LPCWSTR pathName) {
  WindowsPath parsed;
  std::string host;
  if (!zx::path::MapArgument(pathName, host, &parsed)) return FALSE;
  struct stat st {};
  if (::stat(host.c_str(), &st) != 0) return Fail(zx::file::MissingError(host));
  if (!S_ISDIR(st.st_mode)) return Fail(ERROR_DIRECTORY);
  zx::path::SetCurrent(std::move(parsed));
  return TRUE;
}

BOOL SetCurrentDirectoryA(LPCSTR pathName) {
  return SetCurrentDirectoryW(zx::file::WideArg(pathName).get());
}

DWORD GetFullPathNameW(LPCWSTR fileName, DWORD bufferLength, LPWSTR buffer, LPWSTR* filePart) {
  std::u16string full;
  std::size_t lastPart = 0;
  if (!FullPath(fileName, full, lastPart)) return 0;
  const DWORD result = CopyOut(full, buffer, bufferLength);
  if (filePart != nullptr && result < bufferLength)
    *filePart = lastPart == std::u16string::npos ? nullptr : buffer + lastPart;
  return result;
}

DWORD GetFullPathNameA(LPCSTR fileName, DWORD bufferLength, LPSTR buffer, LPSTR* filePart) {
  std::u16string full;
  std::size_t lastPart = 0;
  if (!FullPath(zx::file::WideArg(fileName).get(), full, lastPart)) return 0;
  const DWORD result = CopyOut(full, buffer, bufferLength);
  if (filePart != nullptr && result < bufferLength)
    *filePart = lastPart == std::u16string::npos ? nullptr : buffer + lastPart;
  return result;
}

DWORD GetLongPathNameW(LPCWSTR shortPath, LPWSTR longPath, DWORD bufferLength) {
  return ExistingPathAsGiven(shortPath, longPath, bufferLength);
}

DWORD GetShortPathNameW(LPCWSTR longPath, LPWSTR shortPath, DWORD bufferLength) {
  return ExistingPathAsGiven(longPath, shortPath, bufferLength);
}
