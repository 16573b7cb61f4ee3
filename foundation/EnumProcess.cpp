// CEnumProcess: the process walk through PSAPI ids or a Toolhelp snapshot, and the first
// module of a process with its preferred image base.
#include "EnumProcess.h"

#include <winprocess.h>

#include "PeImageBase.h"

namespace {

constexpr DWORD kGrowth = 256;
constexpr DWORD kNameCharacters = 256;
constexpr DWORD kQueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;

template <class Fn>
Fn Bind(HMODULE module, LPCSTR name) {
  return module ? reinterpret_cast<Fn>(GetProcAddress(module, name)) : nullptr;
}

void CopyName(LPCWSTR text, LPWSTR buffer) {
  lstrcpynW(buffer, text, kNameCharacters);
}

}  // namespace

CEnumProcess::CProcessEntry::CProcessEntry() : lpFilename(new WCHAR[kNameCharacters]()) {}
CEnumProcess::CProcessEntry::~CProcessEntry() { delete[] lpFilename; }
CEnumProcess::CModuleEntry::CModuleEntry() : lpFilename(new WCHAR[kNameCharacters]()) {}
CEnumProcess::CModuleEntry::~CModuleEntry() { delete[] lpFilename; }

CEnumProcess::CEnumProcess() {
  m_psapi = LoadLibraryW(_T("PSAPI"));
  if (m_psapi) {
    m_capacity = kGrowth;
    m_enumProcesses = Bind<EnumProcessesFn>(m_psapi, "EnumProcesses");
    m_enumProcessModules = Bind<EnumProcessModulesFn>(m_psapi, "EnumProcessModules");
    m_getModuleFileNameEx = Bind<GetModuleFileNameExFn>(m_psapi, "GetModuleFileNameEx");
  }
  m_kernel = LoadLibraryW(_T("Kernel32"));
  if (m_kernel) {
    m_processEntry.dwSize = sizeof m_processEntry;
    m_moduleEntry.dwSize = sizeof m_moduleEntry;
    m_createSnapshot = Bind<SnapshotFn>(m_kernel, "CreateToolhelp32Snapshot");
    m_process32First = Bind<ProcessWalkFn>(m_kernel, "Process32FirstW");
    m_process32Next = Bind<ProcessWalkFn>(m_kernel, "Process32NextW");
    m_module32First = Bind<ModuleWalkFn>(m_kernel, "Module32FirstW");
    m_module32Next = Bind<ModuleWalkFn>(m_kernel, "Module32NextW");
  }
  m_psapiUsable = m_enumProcesses && m_enumProcessModules && m_getModuleFileNameEx;
  m_toolhelpUsable = m_createSnapshot && m_process32First && m_process32Next && m_module32First &&
                     m_module32Next;
  if (m_psapiUsable) {
    m_method = ENUM_METHOD_PSAPI;
  } else if (m_toolhelpUsable) {
    m_method = ENUM_METHOD_TOOLHELP;
  }
}

CEnumProcess::~CEnumProcess() {
  delete[] m_processIds;
  delete[] m_modules;
  if (m_psapi) FreeLibrary(m_psapi);
  if (m_kernel) FreeLibrary(m_kernel);
  if (m_processSnapshot != INVALID_HANDLE_VALUE) CloseHandle(m_processSnapshot);
  if (m_moduleSnapshot != INVALID_HANDLE_VALUE) CloseHandle(m_moduleSnapshot);
}

BOOL CEnumProcess::FirstProcess(CProcessEntry* entry) {
  if (!entry) return FALSE;
  if (m_method == ENUM_METHOD_PSAPI) {
    DWORD bytes = 0;
    for (;;) {
      delete[] m_processIds;
      m_processIds = new DWORD[m_capacity];
      if (!m_enumProcesses(m_processIds, m_capacity * sizeof(DWORD), &bytes)) return FALSE;
      if (bytes < m_capacity * sizeof(DWORD)) break;
      m_capacity += kGrowth;
    }
    m_remaining = static_cast<int>(bytes / sizeof(DWORD));
    if (m_remaining < 1) return FALSE;
    m_currentProcess = m_processIds;
    FillFromPsapi(*m_currentProcess, entry);
    return TRUE;
  }
  if (m_method == ENUM_METHOD_TOOLHELP) {
    if (m_processSnapshot != INVALID_HANDLE_VALUE) CloseHandle(m_processSnapshot);
    m_processSnapshot = m_createSnapshot(TH32CS_SNAPPROCESS, 0);
    if (m_processSnapshot == INVALID_HANDLE_VALUE) return FALSE;
    if (!m_process32First(m_processSnapshot, &m_processEntry)) return FALSE;
    TakeToolhelpProcess(entry);
    return TRUE;
  }
  return FALSE;
}

BOOL CEnumProcess::NextProcess(CProcessEntry* entry) {
  if (!entry || m_method == ENUM_METHOD_NONE) return FALSE;
  entry->hTask16 = 0;
  if (m_method == ENUM_METHOD_PSAPI) {
    if (!m_currentProcess || --m_remaining < 1) return FALSE;
    ++m_currentProcess;
    FillFromPsapi(*m_currentProcess, entry);
    return TRUE;
  }
  if (m_processSnapshot == INVALID_HANDLE_VALUE ||
      !m_process32Next(m_processSnapshot, &m_processEntry))
    return FALSE;
  TakeToolhelpProcess(entry);
  return TRUE;
}

void CEnumProcess::TakeToolhelpProcess(CProcessEntry* entry) {
  entry->dwPID = m_processEntry.th32ProcessID;
  CopyName(m_processEntry.szExeFile, entry->lpFilename);
  entry->sFilename = entry->lpFilename;
}

void CEnumProcess::FillFromPsapi(DWORD processId, CProcessEntry* entry) {
  entry->dwPID = processId;
  HANDLE process = OpenProcess(kQueryAndRead, FALSE, processId);
  if (!process) {
    CopyName(_T("N/A (security restriction)"), entry->lpFilename);
  } else {
    HMODULE first = nullptr;
    DWORD needed = 0;
    if (m_enumProcessModules(process, &first, sizeof first, &needed) &&
        !m_getModuleFileNameEx(process, first, entry->lpFilename, kNameCharacters))
      CopyName(_T("N/A (error)"), entry->lpFilename);
    CloseHandle(process);
  }
  entry->sFilename = entry->lpFilename;
}

BOOL CEnumProcess::FirstModule(DWORD processId, CModuleEntry* entry) {
  if (!entry) return FALSE;
  if (m_method == ENUM_METHOD_PSAPI) return FirstModuleByPsapi(processId, entry);
  if (m_method == ENUM_METHOD_TOOLHELP) return FirstModuleByToolhelp(processId, entry);
  return FALSE;
}

BOOL CEnumProcess::FirstModuleByPsapi(DWORD processId, CModuleEntry* entry) {
  DWORD bytes = 0;
  for (;;) {
    delete[] m_modules;
    m_modules = new HMODULE[m_capacity];
    HANDLE process = OpenProcess(kQueryAndRead, FALSE, processId);
    if (!process) return FALSE;
    const BOOL listed = m_enumProcessModules(process, m_modules, m_capacity * sizeof(HMODULE), &bytes);
    CloseHandle(process);
    if (!listed) return FALSE;
    if (bytes < m_capacity * sizeof(HMODULE)) break;
    m_capacity += kGrowth;
  }
  m_moduleCount = bytes / sizeof(HMODULE);
  if (m_moduleCount == 0) return FALSE;
  m_currentModule = m_modules;
  HANDLE process = OpenProcess(kQueryAndRead, FALSE, processId);
  if (!process) return FALSE;
  if (!m_getModuleFileNameEx(process, *m_currentModule, entry->lpFilename, kNameCharacters))
    CopyName(_T("N/A (error)"), entry->lpFilename);
  CloseHandle(process);
  entry->pLoadBase = *m_currentModule;
  entry->pPreferredBase = PreferredBase(processId, entry->pLoadBase);
  entry->sFilename = entry->lpFilename;
  return TRUE;
}

BOOL CEnumProcess::FirstModuleByToolhelp(DWORD processId, CModuleEntry* entry) {
  if (m_moduleSnapshot != INVALID_HANDLE_VALUE) CloseHandle(m_moduleSnapshot);
  m_moduleSnapshot = m_createSnapshot(TH32CS_SNAPMODULE, processId);
  if (m_moduleSnapshot == INVALID_HANDLE_VALUE)
    m_moduleSnapshot = m_createSnapshot(TH32CS_SNAPMODULE32, processId);
  if (m_moduleSnapshot == INVALID_HANDLE_VALUE ||
      !m_module32First(m_moduleSnapshot, &m_moduleEntry))
    return FALSE;
  entry->pLoadBase = m_moduleEntry.modBaseAddr;
  CopyName(m_moduleEntry.szExePath, entry->lpFilename);
  entry->sFilename = entry->lpFilename;
  entry->pPreferredBase = PreferredBase(processId, entry->pLoadBase);
  return TRUE;
}

// The image base a PE module asked for: its optional header's ImageBase; 0 for anything else.
ULONG_PTR CEnumProcess::PreferredBase(DWORD processId, PVOID loadBase) const {
  if (m_method == ENUM_METHOD_NONE) return 0;
  HANDLE process = OpenProcess(PROCESS_VM_READ, FALSE, processId);
  if (!process) return 0;
  // The address is worked out as a number: a hostile offset must not wrap a pointer.
  const ULONG_PTR start = reinterpret_cast<ULONG_PTR>(loadBase);
  const ULONG_PTR base = PeImageBase([&](ULONG_PTR offset, BYTE* buffer, std::size_t size) {
    return ReadProcessMemory(process, reinterpret_cast<LPCVOID>(start + offset), buffer, size, nullptr) != FALSE;
  });
  CloseHandle(process);
  return base;
}
