// Walker over the running processes and their first module, bound at run time to the
// process-status library (PSAPI) or, when that is not complete, the Toolhelp snapshots.
#pragma once
#include <afx.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <windows.h>

#include "HelperApi.h"

class ZXHELPER_API CEnumProcess {
 public:
  enum { ENUM_METHOD_NONE = 0, ENUM_METHOD_PSAPI = 1, ENUM_METHOD_TOOLHELP = 2 };

  class ZXHELPER_API CProcessEntry {
   public:
    CProcessEntry();
    virtual ~CProcessEntry();
    CProcessEntry(const CProcessEntry&) = delete;
    CProcessEntry& operator=(const CProcessEntry&) = delete;
    LPWSTR lpFilename;  // 256 characters
    DWORD dwPID = 0;
    WORD hTask16 = 0;
    CString sFilename;
  };

  class ZXHELPER_API CModuleEntry {
   public:
    CModuleEntry();
    virtual ~CModuleEntry();
    CModuleEntry(const CModuleEntry&) = delete;
    CModuleEntry& operator=(const CModuleEntry&) = delete;
    LPWSTR lpFilename;  // 256 characters
    PVOID pLoadBase = nullptr;
    ULONG_PTR pPreferredBase = 0;
    CString sFilename;
  };

  CEnumProcess();
  virtual ~CEnumProcess();
  CEnumProcess(const CEnumProcess&) = delete;
  CEnumProcess& operator=(const CEnumProcess&) = delete;

  BOOL FirstProcess(CProcessEntry* entry);
  BOOL NextProcess(CProcessEntry* entry);
  BOOL FirstModule(DWORD processId, CModuleEntry* entry);
  DWORD GetMethod() const { return m_method; }

 private:
  using EnumProcessesFn = BOOL (*)(DWORD*, DWORD, LPDWORD);
  using EnumProcessModulesFn = BOOL (*)(HANDLE, HMODULE*, DWORD, LPDWORD);
  using GetModuleFileNameExFn = DWORD (*)(HANDLE, HMODULE, LPWSTR, DWORD);
  using SnapshotFn = HANDLE (*)(DWORD, DWORD);
  using ProcessWalkFn = BOOL (*)(HANDLE, LPPROCESSENTRY32W);
  using ModuleWalkFn = BOOL (*)(HANDLE, LPMODULEENTRY32W);

  void FillFromPsapi(DWORD processId, CProcessEntry* entry);
  void TakeToolhelpProcess(CProcessEntry* entry);
  ULONG_PTR PreferredBase(DWORD processId, PVOID loadBase) const;
  BOOL FirstModuleByPsapi(DWORD processId, CModuleEntry* entry);
  BOOL FirstModuleByToolhelp(DWORD processId, CModuleEntry* entry);

  bool m_psapiUsable = false;
  bool m_toolhelpUsable = false;
  DWORD m_method = ENUM_METHOD_NONE;
  HMODULE m_psapi = nullptr;
  DWORD m_capacity = 0;
  DWORD* m_processIds = nullptr;
  DWORD* m_currentProcess = nullptr;
  int m_remaining = 0;
  DWORD m_moduleCount = 0;
  HMODULE* m_modules = nullptr;
  HMODULE* m_currentModule = nullptr;
  EnumProcessesFn m_enumProcesses = nullptr;
  EnumProcessModulesFn m_enumProcessModules = nullptr;
  GetModuleFileNameExFn m_getModuleFileNameEx = nullptr;
  HANDLE m_processSnapshot = INVALID_HANDLE_VALUE;
  HANDLE m_moduleSnapshot = INVALID_HANDLE_VALUE;
  HMODULE m_kernel = nullptr;
  PROCESSENTRY32W m_processEntry{};
  MODULEENTRY32W m_moduleEntry{};
  SnapshotFn m_createSnapshot = nullptr;
  ProcessWalkFn m_process32First = nullptr;
  ProcessWalkFn m_process32Next = nullptr;
  ModuleWalkFn m_module32First = nullptr;
  ModuleWalkFn m_module32Next = nullptr;
};
