// CProcessLister: whole process and module lists by PSAPI or Toolhelp, handed out record by
// record; FindProcessesByName on top of it.
#include "ProcessLister.h"

#include <winprocess.h>

#include <new>

#include "PathParts.h"

namespace {

constexpr DWORD kQueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
constexpr DWORD kBufferEntries = 4096;  // 16384 bytes of ids or handles

template <class Fn>
bool Bind(HMODULE module, LPCSTR name, Fn& target) {
  target = reinterpret_cast<Fn>(GetProcAddress(module, name));
  return target != nullptr;
}

}  // namespace

CProcessLister::CProcessLister() = default;

CProcessLister::~CProcessLister() {
  if (m_psapiLoaded && m_psapi) FreeLibrary(m_psapi);
  if (m_toolhelpLoaded && m_kernel) FreeLibrary(m_kernel);
}

CProcessLister::CProcessLister(const CProcessLister& other) { *this = other; }

// Every field is copied; the copy holds its own reference on each library, so both objects
// may free what they hold.
CProcessLister& CProcessLister::operator=(const CProcessLister& other) {
  if (this == &other) return *this;
  this->~CProcessLister();
  m_getModuleFileNameExW = other.m_getModuleFileNameExW;
  m_enumProcessModules = other.m_enumProcessModules;
  m_enumProcesses = other.m_enumProcesses;
  m_getModuleInformation = other.m_getModuleInformation;
  m_createSnapshot = other.m_createSnapshot;
  m_process32First = other.m_process32First;
  m_process32Next = other.m_process32Next;
  m_module32First = other.m_module32First;
  m_module32Next = other.m_module32Next;
  m_psapiLoaded = other.m_psapiLoaded;
  m_toolhelpLoaded = other.m_toolhelpLoaded;
  m_lastError = other.m_lastError;
  m_psapi = m_psapiLoaded ? LoadLibraryW(_T("psapi.dll")) : other.m_psapi;
  m_kernel = m_toolhelpLoaded ? LoadLibraryW(_T("kernel32.dll")) : other.m_kernel;
  return *this;
}

BOOL CProcessLister::Init(BOOL preferPsapi) {
  const bool loaded = preferPsapi ? (LoadPsapi() || LoadToolhelp()) : (LoadToolhelp() || LoadPsapi());
  m_lastError = loaded ? LISTER_OK : LISTER_NO_INTERFACE;
  return loaded;
}

BOOL CProcessLister::LoadPsapi() {
  m_psapi = LoadLibraryW(_T("psapi.dll"));
  if (!m_psapi) return FALSE;
  if (Bind(m_psapi, "GetModuleFileNameExW", m_getModuleFileNameExW) &&
      Bind(m_psapi, "EnumProcessModules", m_enumProcessModules) &&
      Bind(m_psapi, "EnumProcesses", m_enumProcesses) &&
      Bind(m_psapi, "GetModuleInformation", m_getModuleInformation)) {
    m_psapiLoaded = 1;
    return TRUE;
  }
  FreeLibrary(m_psapi);
  m_psapi = nullptr;
  m_lastError = LISTER_MISSING_ENTRY;
  return FALSE;
}

// The kernel library is loaded (not merely looked up) so that the reference freed later is
// one this object holds.
BOOL CProcessLister::LoadToolhelp() {
  m_kernel = LoadLibraryA("kernel32.dll");
  if (!m_kernel) return FALSE;
  if (Bind(m_kernel, "CreateToolhelp32Snapshot", m_createSnapshot) &&
      Bind(m_kernel, "Process32FirstW", m_process32First) &&
      Bind(m_kernel, "Process32NextW", m_process32Next) &&
      Bind(m_kernel, "Module32FirstW", m_module32First) &&
      Bind(m_kernel, "Module32NextW", m_module32Next)) {
    m_toolhelpLoaded = 1;
    return TRUE;
  }
  FreeLibrary(m_kernel);
  m_kernel = nullptr;
  m_lastError = LISTER_MISSING_ENTRY;
  return FALSE;
}

RecordList* CProcessLister::NewList() {
  RecordList* list = new (std::nothrow) RecordList;
  if (!list) m_lastError = LISTER_NO_MEMORY;
  return list;
}

RecordList* CProcessLister::CreateProcessList() {
  RecordList* list = NewList();
  if (!list) return nullptr;
  if (m_psapiLoaded) {
    m_lastError = FillProcessesByPsapi(*list);
  } else if (m_toolhelpLoaded) {
    m_lastError = FillProcessesByToolhelp(*list);
  }
  return list;
}

RecordList* CProcessLister::CreateModuleList(DWORD processId) {
  RecordList* list = NewList();
  if (!list) return nullptr;
  if (m_psapiLoaded) {
    m_lastError = FillModulesByPsapi(*list, processId);
  } else if (m_toolhelpLoaded) {
    m_lastError = FillModulesByToolhelp(*list, processId);
  }
  return list;
}

DWORD CProcessLister::FillProcessesByPsapi(RecordList& list) {
  std::vector<DWORD> ids(kBufferEntries);
  DWORD bytes = 0;
  if (!m_enumProcesses(ids.data(), kBufferEntries * sizeof(DWORD), &bytes)) return LISTER_OPEN_FAILED;
  for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
    HANDLE process = OpenProcess(kQueryAndRead, FALSE, ids[i]);
    if (!process) continue;
    ProcessRecord record{ids[i], {}};
    HMODULE first = nullptr;
    DWORD needed = 0;
    if (!m_enumProcessModules(process, &first, sizeof first, &needed) ||
        !m_getModuleFileNameExW(process, first, record.szName, MAX_PATH))
      lstrcpynW(record.szName, _T("-"), MAX_PATH);
    list.processes.push_back(record);
    CloseHandle(process);
  }
  return LISTER_OK;
}

DWORD CProcessLister::FillProcessesByToolhelp(RecordList& list) {
  HANDLE snapshot = m_createSnapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return LISTER_OPEN_FAILED;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = m_process32First(snapshot, &entry); more; more = m_process32Next(snapshot, &entry)) {
    ProcessRecord record{entry.th32ProcessID, {}};
    lstrcpynW(record.szName, entry.szExeFile, MAX_PATH);
    list.processes.push_back(record);
  }
  CloseHandle(snapshot);
  return LISTER_OK;
}

DWORD CProcessLister::FillModulesByPsapi(RecordList& list, DWORD processId) {
  std::vector<HMODULE> modules(kBufferEntries);
  HANDLE process = OpenProcess(kQueryAndRead, FALSE, processId);
  if (!process) return LISTER_OPEN_FAILED;
  DWORD needed = 0;
  if (!m_enumProcessModules(process, modules.data(), kBufferEntries * sizeof(HMODULE), &needed)) {
    CloseHandle(process);
    return LISTER_OPEN_FAILED;
  }
  const DWORD count = std::min<DWORD>(needed / sizeof(HMODULE), kBufferEntries);
  for (DWORD i = 0; i < count; ++i) {
    ModuleRecord record{};
    MODULEINFO info{};
    m_getModuleFileNameExW(process, modules[i], record.szPath, MAX_PATH);
    if (m_getModuleInformation(process, modules[i], &info, sizeof info)) {
      record.dwLoadAddress = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(info.lpBaseOfDll));
      record.dwImageSize = info.SizeOfImage;
    }
    list.modules.push_back(record);
  }
  CloseHandle(process);
  return LISTER_OK;
}

// Only modules actually read are recorded: a failed first query gives an empty list.
DWORD CProcessLister::FillModulesByToolhelp(RecordList& list, DWORD processId) {
  HANDLE snapshot = m_createSnapshot(TH32CS_SNAPMODULE, processId);
  if (snapshot == INVALID_HANDLE_VALUE) return LISTER_OPEN_FAILED;
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = m_module32First(snapshot, &entry); more; more = m_module32Next(snapshot, &entry)) {
    ModuleRecord record{static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry.modBaseAddr)),
                        entry.modBaseSize, {}};
    lstrcpynW(record.szPath, entry.szExePath, MAX_PATH);
    list.modules.push_back(record);
  }
  CloseHandle(snapshot);
  return LISTER_OK;
}

template <class Record>
BOOL CProcessLister::HandOut(RecordList* list, std::vector<Record>& records, Record* record,
                             DWORD index) {
  const DWORD at = index == LISTER_CURSOR ? list->cursor : index;
  const DWORD count = static_cast<DWORD>(records.size());
  if (at > count) {
    m_lastError = LISTER_BEYOND_END;
    return FALSE;
  }
  if (at == count) {
    m_lastError = LISTER_END_OF_LIST;
    return FALSE;
  }
  *record = records[at];
  ++list->cursor;
  m_lastError = LISTER_OK;
  return TRUE;
}

BOOL CProcessLister::GetNextProcess(RecordList* list, ProcessRecord* record, DWORD index) {
  if (!list || !record) return FALSE;
  return HandOut(list, list->processes, record, index);
}

BOOL CProcessLister::GetNextModule(RecordList* list, ModuleRecord* record, DWORD index) {
  if (!list || !record) return FALSE;
  return HandOut(list, list->modules, record, index);
}

int CProcessLister::GetProcessCount(const RecordList* list) const {
  return list ? static_cast<int>(list->processes.size()) : 0;
}

int CProcessLister::GetModuleCount(const RecordList* list) const {
  return list ? static_cast<int>(list->modules.size()) : 0;
}

void CProcessLister::FreeList(RecordList* list) { delete list; }

BOOL FindProcessesByName(const CString& name, CStringArray& names) {
  names.RemoveAll();
  CProcessLister lister;
  if (!lister.Init(FALSE)) return FALSE;
  RecordList* list = lister.CreateProcessList();
  if (!list) return FALSE;
  CString target = name;
  target.MakeLower();
  ProcessRecord record{};
  while (lister.GetNextProcess(list, &record, LISTER_CURSOR)) {
    if (record.szName[0] == 0) continue;
    const PathParts parts = SplitPathParts(CString(record.szName));
    CString fileName = parts.name + parts.extension;
    fileName.MakeLower();
    if (fileName == target) names.Add(CString(record.szName));
  }
  lister.FreeList(list);
  return names.GetSize() > 0;
}
