// Toolhelp snapshots of the process list and of one process's modules.
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "errhandlingapi.h"
#include "tlhelp32.h"
#include "zx/handles.h"
#include "zx/pathmap.h"
#include "zx/processes.h"

namespace {

class Snapshot : public zx::KernelObject {
 public:
  std::vector<PROCESSENTRY32W> processes;
  std::vector<MODULEENTRY32W> modules;
  std::size_t nextProcess = 0;
  std::size_t nextModule = 0;
};

void CopyText(const std::u16string& text, WCHAR* out, std::size_t capacity) {
  const std::size_t length = std::min(text.size(), capacity - 1);
  std::copy_n(text.begin(), length, out);
  out[length] = 0;
}

void TakeProcesses(Snapshot& snapshot) {
  for (DWORD id : zx::process::ProcessIds()) {
    zx::process::HostProcess process;
    if (!zx::process::Describe(id, process)) continue;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    entry.th32ProcessID = id;
    entry.cntThreads = process.threads;
    entry.th32ParentProcessID = process.parentId;
    entry.pcPriClassBase = 8;
    CopyText(process.name, entry.szExeFile, MAX_PATH);
    snapshot.processes.push_back(entry);
  }
}

bool TakeModules(Snapshot& snapshot, DWORD processId) {
  std::vector<zx::process::Module> modules;
  DWORD error = 0;
  if (!zx::process::Modules(processId, modules, error)) {
    SetLastError(error);
    return false;
  }
  for (const zx::process::Module& module : modules) {
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof entry;
    entry.th32ModuleID = 1;
    entry.th32ProcessID = processId;
    entry.GlblcntUsage = entry.ProccntUsage = 0xFFFF;
    entry.modBaseAddr = reinterpret_cast<BYTE*>(module.base);
    entry.modBaseSize = module.size;
    entry.hModule = reinterpret_cast<HMODULE>(module.base);
    const std::u16string path = zx::path::HostToWindows(module.path);
    CopyText(path.substr(path.find_last_of(u'\\') + 1), entry.szModule, MAX_MODULE_NAME32 + 1);
    CopyText(path, entry.szExePath, MAX_PATH);
    snapshot.modules.push_back(entry);
  }
  return true;
}

std::shared_ptr<Snapshot> SnapshotOf(HANDLE handle) {
  auto snapshot = zx::ReferenceHandleAs<Snapshot>(handle);
  if (!snapshot) SetLastError(ERROR_INVALID_HANDLE);
  return snapshot;
}

template <class Entry>
BOOL Next(HANDLE handle, Entry* entry, std::vector<Entry> Snapshot::*list,
          std::size_t Snapshot::*cursor, bool restart) {
  auto snapshot = SnapshotOf(handle);
  if (!snapshot) return FALSE;
  if (!entry || entry->dwSize < sizeof(Entry)) {
    SetLastError(ERROR_BAD_LENGTH);
    return FALSE;
  }
  if (restart) (*snapshot).*cursor = 0;
  std::size_t& at = (*snapshot).*cursor;
  if (at >= ((*snapshot).*list).size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  const DWORD size = entry->dwSize;
  *entry = ((*snapshot).*list)[at++];
  entry->dwSize = size;
  return TRUE;
}

}  // namespace

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId) {
  auto snapshot = std::make_shared<Snapshot>();
  if (flags & TH32CS_SNAPPROCESS) TakeProcesses(*snapshot);
  if (flags & (TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32)) {
    if (!TakeModules(*snapshot, processId ? processId : static_cast<DWORD>(::getpid())))
      return INVALID_HANDLE_VALUE;
  }
  return zx::InsertHandle(snapshot);
}

BOOL Process32FirstW(HANDLE snapshot, LPPROCESSENTRY32W entry) {
  return Next(snapshot, entry, &Snapshot::processes, &Snapshot::nextProcess, true);
}
BOOL Process32NextW(HANDLE snapshot, LPPROCESSENTRY32W entry) {
  return Next(snapshot, entry, &Snapshot::processes, &Snapshot::nextProcess, false);
}
BOOL Module32FirstW(HANDLE snapshot, LPMODULEENTRY32W entry) {
  return Next(snapshot, entry, &Snapshot::modules, &Snapshot::nextModule, true);
}
BOOL Module32NextW(HANDLE snapshot, LPMODULEENTRY32W entry) {
  return Next(snapshot, entry, &Snapshot::modules, &Snapshot::nextModule, false);
}
