// CDriverInstallEngine: the install engine object. It holds the engine step code and event
// through which a page asks the running scan, backup, restore or install to stop, runs the
// device scan, binds the WOW64 redirection switch and offers the small services the install
// routines share.
#pragma once
#include <afx.h>

#include <atomic>

#include "DifxApiLibrary.h"

class CDeviceRecordArray;
struct tagInstallResultInfo;

// Engine step codes.
enum EngineStep {
  kStepStopScan = 18,
  kStepStopBackup = 19,
  kStepStopRestore = 20,
  kStepStopLast = 22,
  kStepCompleted = 32,
  kStepFailed = 33,
  kStepIdle = 35,
};

class CDriverInstallEngine : public CObject {
 public:
  // How long a stop request waits for the running operation's answer, serving the messages
  // other threads send to the waiting thread at least this often.
  static constexpr DWORD kStopWaitMs = 120000;
  static constexpr DWORD kServeEveryMs = 20;

  CDriverInstallEngine();
  ~CDriverInstallEngine() override;

  // The step code: 0 at construction, 35 idle, 18-22 a stop request. Read and written from
  // several threads.
  LONG GetStepCode() const { return m_stepCode.load(); }
  void SetStepCode(LONG code) { m_stepCode.store(code); }

  // Asks the running operation to stop (codes 18-22) and waits up to 120000 ms for its
  // answer: true when it answered, or when no operation runs (nothing left to stop); false
  // after the time-out, with the step code back at 35. Other codes answer false at once.
  // While it waits, texts the worker sets on the waiting thread's windows go through.
  bool WaitForStep(LONG code);
  // The operation's answer to a stop request it saw: the step code goes back to 35, then the
  // requester is released. False when the event could not be signalled.
  bool AcknowledgeStep();

  // Marks an operation (scan, backup, restore, install) running on a worker for its
  // lifetime, so that a stop request made after it ended does not wait in vain.
  class COperation {
   public:
    explicit COperation(CDriverInstallEngine& engine);
    ~COperation();
    COperation(const COperation&) = delete;
    COperation& operator=(const COperation&) = delete;

   private:
    CDriverInstallEngine& m_engine;
  };

  // Runs the device scan on the calling thread: keeps the scan path, sets the step code to
  // 35 and scans into the engine's progress callback. 32 done, 18 stopped, 33 failed.
  int RunDeviceScan(LPCTSTR scanPath);
  const CString& GetScanPath() const { return m_scanPath; }

  // File-system redirection of a 32-bit process on 64-bit Windows, switched off around the
  // installer and file-copy steps; nothing happens when the process does not run under WOW64.
  bool IsWow64() const { return m_wow64 != FALSE; }
  class CRedirectionOff {
   public:
    explicit CRedirectionOff(const CDriverInstallEngine& engine);
    ~CRedirectionOff();
    CRedirectionOff(const CRedirectionOff&) = delete;
    CRedirectionOff& operator=(const CRedirectionOff&) = delete;

   private:
    const CDriverInstallEngine& m_engine;
    PVOID m_oldValue = nullptr;
    bool m_switched = false;
  };

  // The DIFxAPI library loaded at set-up; null when the machine has none.
  HMODULE GetDifxModule() const { return m_difx; }
  // The DIFxAPI binding the installs go through.
  CDifxApiLibrary& GetDifxLibrary() { return m_difxLibrary; }

  // Where the 64-bit helper lies for a tool folder: its parent folder's
  // "amd64Helper\Wexor64.exe".
  static CString GetHelper64Path(const CString& toolFolder);
  // Hands an INF to the 64-bit helper program and waits for it (at most kHelperWaitMs):
  // whether the helper reported success through the value successName under rootName\keyPath.
  // False when an argument is empty, the helper is missing or cannot start, or it did not end
  // in time. The three values are deleted before the helper starts.
  static constexpr DWORD kHelperWaitMs = 120000;
  bool RunHelper64(const CString& toolFolder, const CString& hardwareId, const CString& infPath,
                   const CString& rootName, const CString& keyPath, const CString& successName,
                   const CString& pnpErrorName, const CString& difxErrorName);
  // A value the helper left, read as decimal text; 0 for an unknown root ("HKEY_CURRENT_USER"
  // and "HKEY_LOCAL_MACHINE" are known), a key or value that cannot be read.
  static DWORD ReadHelperResultDword(const CString& rootName, const CString& keyPath, const CString& valueName);
  // Deletes the value when it exists; false only for an unknown root name.
  static bool DeleteHelperResultValue(const CString& rootName, const CString& keyPath, const CString& valueName);

  // Makes sure the user's default key container exists and holds a signature and a key
  // exchange key pair (run at construction, its answer kept).
  static bool EnsureUserKeyContainer();
  bool HasUserKeyContainer() const { return m_keyContainer; }

  // Restarts Windows after the installs: enables SeShutdownPrivilege in the process token and
  // asks for a forced reboot (reason 0x80000001); ExitWindowsEx's answer, FALSE with
  // ERROR_PRIVILEGE_NOT_HELD when the token would not take the privilege.
  static BOOL RebootSystem();

  // Builds the install-error report of a result for the device at index of the records and
  // hands it to the misc service's feedback upload; the upload's outcome is not used. 1.
  int ReportInstallError(int index, CDeviceRecordArray* records, BOOL handled, tagInstallResultInfo info);
  // Adds the result's update to the record of installed updates, saved when it changed.
  void RecordInstalledUpdate(tagInstallResultInfo info);

 private:
  using IsWow64ProcessFn = BOOL (*)(HANDLE, PBOOL);
  using Wow64DisableFn = BOOL (*)(PVOID*);
  using Wow64RevertFn = BOOL (*)(PVOID);

  CString m_scanPath;
  std::atomic<LONG> m_stepCode{0};
  BOOL m_wow64 = FALSE;
  Wow64DisableFn m_disableRedirection = nullptr;
  Wow64RevertFn m_revertRedirection = nullptr;
  HANDLE m_event = nullptr;  // the operation's answer (manual reset)
  HANDLE m_idle = nullptr;   // set while no operation runs (manual reset)
  std::atomic<int> m_operations{0};
  HMODULE m_difx = nullptr;
  CDifxApiLibrary m_difxLibrary;
  bool m_keyContainer = false;
};

// The process-wide engine whose step code, event and WOW64 binding the operations use.
CDriverInstallEngine& GetProcessEngine();

// The device classes that are never installed from a package: each name with an empty value.
void FillNoInstallClassMap(CMapStringToString& map);
// Whether the class is in the map (exact, case-sensitive); the map is emptied afterwards.
bool IsClassInMap(CMapStringToString& map, const CString& className);
// Removes every occurrence of the first of \ / : * ? < > | (tested in that order) that the
// text holds; the other such characters stay.
void StripFileNameChars(CString& text);
