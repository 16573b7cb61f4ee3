// The process-status interface over /proc: process ids, module lists, names and extents.
#include "psapi.h"

#include <algorithm>
#include <cstring>

#include "errhandlingapi.h"
#include "processobject.h"
#include "zx/pathmap.h"
#include "zx/processes.h"

namespace {

// The modules of the process a handle names, or false with the last error set.
bool ModulesOf(HANDLE process, std::vector<zx::process::Module>& modules) {
  auto object = zx::process::ProcessOf(process);
  if (!object) return false;
  DWORD error = 0;
  if (zx::process::Modules(object->id, modules, error)) return true;
  SetLastError(error);
  return false;
}

const zx::process::Module* Find(const std::vector<zx::process::Module>& modules, HMODULE module) {
  if (modules.empty()) return nullptr;
  if (!module) return &modules.front();
  const auto base = reinterpret_cast<std::uintptr_t>(module);
  const auto at = std::find_if(modules.begin(), modules.end(),
                               [&](const zx::process::Module& m) { return m.base == base; });
  return at == modules.end() ? nullptr : &*at;
}

}  // namespace

BOOL EnumProcesses(DWORD* processIds, DWORD bytes, LPDWORD bytesReturned) {
  if (!processIds || !bytesReturned) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::vector<DWORD> ids;
  for (DWORD id : zx::process::ProcessIds()) {
    zx::process::HostProcess process;
    if (zx::process::Describe(id, process)) ids.push_back(id);
  }
  const std::size_t count = std::min<std::size_t>(ids.size(), bytes / sizeof(DWORD));
  std::copy_n(ids.begin(), count, processIds);
  *bytesReturned = static_cast<DWORD>(count * sizeof(DWORD));
  return TRUE;
}

BOOL EnumProcessModules(HANDLE process, HMODULE* modules, DWORD bytes, LPDWORD bytesNeeded) {
  if (!bytesNeeded || (bytes && !modules)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::vector<zx::process::Module> list;
  if (!ModulesOf(process, list)) return FALSE;
  const std::size_t count = std::min<std::size_t>(list.size(), bytes / sizeof(HMODULE));
  for (std::size_t i = 0; i < count; ++i) modules[i] = reinterpret_cast<HMODULE>(list[i].base);
  *bytesNeeded = static_cast<DWORD>(list.size() * sizeof(HMODULE));
  return TRUE;
}

DWORD GetModuleFileNameExW(HANDLE process, HMODULE module, LPWSTR fileName, DWORD size) {
  if (!fileName || size == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::vector<zx::process::Module> list;
  if (!ModulesOf(process, list)) return 0;
  const zx::process::Module* found = Find(list, module);
  if (!found) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  const std::u16string path = zx::path::HostToWindows(found->path);
  const std::size_t length = std::min<std::size_t>(path.size(), size - 1);
  std::copy_n(path.begin(), length, fileName);
  fileName[length] = 0;
  if (length < path.size()) SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return static_cast<DWORD>(length);
}

BOOL GetModuleInformation(HANDLE process, HMODULE module, LPMODULEINFO info, DWORD bytes) {
  if (!info || bytes < sizeof(MODULEINFO)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::vector<zx::process::Module> list;
  if (!ModulesOf(process, list)) return FALSE;
  const zx::process::Module* found = Find(list, module);
  if (!found) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *info = MODULEINFO{reinterpret_cast<LPVOID>(found->base), found->size, nullptr};
  return TRUE;
}
