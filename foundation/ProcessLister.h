// Lists of running processes or of one process's modules, taken at once into fixed-size
// records and handed out one by one; and the names of the processes running a given program.
#pragma once
#include <afx.h>
#include <afxcoll.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <windows.h>

#include <vector>

#include "HelperApi.h"

struct ProcessRecord {
  DWORD dwProcessId;
  WCHAR szName[MAX_PATH];
};

struct ModuleRecord {
  DWORD dwLoadAddress;  // the low 32 bits of the load address
  DWORD dwImageSize;
  WCHAR szPath[MAX_PATH];
};

struct RecordList {
  DWORD cursor = 0;
  std::vector<ProcessRecord> processes;
  std::vector<ModuleRecord> modules;
};

// Last-error codes of CProcessLister.
enum : DWORD {
  LISTER_OK = 0,
  LISTER_NO_INTERFACE = 1,
  LISTER_MISSING_ENTRY = 2,
  LISTER_NO_MEMORY = 3,
  LISTER_OPEN_FAILED = 4,
  LISTER_END_OF_LIST = 5,
  LISTER_BEYOND_END = 6,
};

// Index that stands for the list's cursor.
constexpr DWORD LISTER_CURSOR = 0xFFFFFFFF;

class ZXHELPER_API CProcessLister {
 public:
  CProcessLister();
  ~CProcessLister();
  CProcessLister(const CProcessLister& other);
  CProcessLister& operator=(const CProcessLister& other);

  BOOL Init(BOOL preferPsapi);
  BOOL LoadPsapi();
  BOOL LoadToolhelp();

  RecordList* CreateProcessList();
  RecordList* CreateModuleList(DWORD processId);
  BOOL GetNextProcess(RecordList* list, ProcessRecord* record, DWORD index);
  BOOL GetNextModule(RecordList* list, ModuleRecord* record, DWORD index);
  int GetProcessCount(const RecordList* list) const;
  int GetModuleCount(const RecordList* list) const;
  void FreeList(RecordList* list);
  DWORD GetLastErrorCode() const { return m_lastError; }

 private:
  DWORD FillProcessesByPsapi(RecordList& list);
  DWORD FillProcessesByToolhelp(RecordList& list);
  DWORD FillModulesByPsapi(RecordList& list, DWORD processId);
  DWORD FillModulesByToolhelp(RecordList& list, DWORD processId);
  template <class Record>
  BOOL HandOut(RecordList* list, std::vector<Record>& records, Record* record, DWORD index);
  RecordList* NewList();

  DWORD (*m_getModuleFileNameExW)(HANDLE, HMODULE, LPWSTR, DWORD) = nullptr;
  BOOL (*m_enumProcessModules)(HANDLE, HMODULE*, DWORD, LPDWORD) = nullptr;
  BOOL (*m_enumProcesses)(DWORD*, DWORD, LPDWORD) = nullptr;
  BOOL (*m_getModuleInformation)(HANDLE, HMODULE, LPMODULEINFO, DWORD) = nullptr;
  HANDLE (*m_createSnapshot)(DWORD, DWORD) = nullptr;
  BOOL (*m_process32First)(HANDLE, LPPROCESSENTRY32W) = nullptr;
  BOOL (*m_process32Next)(HANDLE, LPPROCESSENTRY32W) = nullptr;
  BOOL (*m_module32First)(HANDLE, LPMODULEENTRY32W) = nullptr;
  BOOL (*m_module32Next)(HANDLE, LPMODULEENTRY32W) = nullptr;
  HMODULE m_psapi = nullptr;
  HMODULE m_kernel = nullptr;
  BYTE m_psapiLoaded = 0;
  BYTE m_toolhelpLoaded = 0;
  DWORD m_lastError = LISTER_OK;
};

// Fills names with the stored names of the running processes whose program file (name and
// extension) equals name, case ignored; true when there is at least one.
ZXHELPER_API BOOL FindProcessesByName(const CString& name, CStringArray& names);
