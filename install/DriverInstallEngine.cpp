// CDriverInstallEngine: the engine step code and its stop handshake, the device scan run,
// WOW64 redirection and the shared install helpers.
#include "DriverInstallEngine.h"

#include <wincrypt.h>
#include <winuser.h>

#include <algorithm>

#include "DeviceScanner.h"
#include "EngineCallbacks.h"

CDriverInstallEngine::CDriverInstallEngine() {
  m_keyContainer = EnsureUserKeyContainer();
  m_difx = LoadLibraryW(_T("difxapi.dll"));
  if (HMODULE kernel = GetModuleHandleW(_T("kernel32")); kernel != nullptr) {
    const auto isWow64 = reinterpret_cast<IsWow64ProcessFn>(GetProcAddress(kernel, "IsWow64Process"));
    if (isWow64 != nullptr) isWow64(GetCurrentProcess(), &m_wow64);
    m_disableRedirection = reinterpret_cast<Wow64DisableFn>(GetProcAddress(kernel, "Wow64DisableWow64FsRedirection"));
    m_revertRedirection = reinterpret_cast<Wow64RevertFn>(GetProcAddress(kernel, "Wow64RevertWow64FsRedirection"));
  }
  m_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  m_idle = CreateEventW(nullptr, TRUE, TRUE, nullptr);
}

CDriverInstallEngine::~CDriverInstallEngine() {
  if (m_difx != nullptr) FreeLibrary(m_difx);
  if (m_event != nullptr) CloseHandle(m_event);
  if (m_idle != nullptr) CloseHandle(m_idle);
}

bool CDriverInstallEngine::WaitForStep(LONG code) {
  if (code < kStepStopScan || code > kStepStopLast) return false;
  m_stepCode.store(code);
  const HANDLE waits[2] = {m_event, m_idle};
  const ULONGLONG deadline = GetTickCount64() + kStopWaitMs;
  for (;;) {
    // The worker may be setting a text of this thread's windows (a message sent to this
    // thread): serve it, or neither could go on until the time-out.
    MSG pending;
    PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE);
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) break;
    const DWORD slice = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, kServeEveryMs));
    const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, slice);
    if (woken == WAIT_OBJECT_0) {
      ResetEvent(m_event);
      return true;
    }
    if (woken == WAIT_OBJECT_0 + 1) break;  // nothing runs that could answer
    if (woken != WAIT_TIMEOUT) break;
  }
  const bool idle = WaitForSingleObject(m_idle, 0) == WAIT_OBJECT_0;
  m_stepCode.store(kStepIdle);
  return idle;
}

bool CDriverInstallEngine::AcknowledgeStep() {
  m_stepCode.store(kStepIdle);
  return SetEvent(m_event) != FALSE;
}

CDriverInstallEngine::COperation::COperation(CDriverInstallEngine& engine) : m_engine(engine) {
  if (m_engine.m_operations.fetch_add(1) == 0) ResetEvent(m_engine.m_idle);
}

CDriverInstallEngine::COperation::~COperation() {
  if (m_engine.m_operations.fetch_sub(1) == 1) SetEvent(m_engine.m_idle);
}

int CDriverInstallEngine::RunDeviceScan(LPCTSTR scanPath) {
  COperation running(*this);
  m_scanPath = scanPath;
  m_stepCode.store(kStepIdle);
  try {
    CDeviceScanner scanner(ScanProgressCallback);
    return scanner.ScanDevices();
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
  return kStepFailed;
}

CDriverInstallEngine::CRedirectionOff::CRedirectionOff(const CDriverInstallEngine& engine) : m_engine(engine) {
  if (m_engine.m_wow64 && m_engine.m_disableRedirection != nullptr && m_engine.m_revertRedirection != nullptr)
    m_switched = m_engine.m_disableRedirection(&m_oldValue) != FALSE;
}

CDriverInstallEngine::CRedirectionOff::~CRedirectionOff() {
  if (m_switched) m_engine.m_revertRedirection(m_oldValue);
}

bool CDriverInstallEngine::EnsureUserKeyContainer() {
  HCRYPTPROV provider = 0;
  if (!CryptAcquireContextW(&provider, nullptr, MS_DEF_PROV_W, PROV_RSA_FULL, 0) &&
      !CryptAcquireContextW(&provider, nullptr, MS_DEF_PROV_W, PROV_RSA_FULL, CRYPT_NEWKEYSET))
    return false;
  bool both = true;
  for (const DWORD spec : {static_cast<DWORD>(AT_SIGNATURE), static_cast<DWORD>(AT_KEYEXCHANGE)}) {
    HCRYPTKEY key = 0;
    if (!CryptGetUserKey(provider, spec, &key) &&
        (static_cast<HRESULT>(GetLastError()) != NTE_NO_KEY || !CryptGenKey(provider, spec, 0, &key))) {
      both = false;
      continue;
    }
    CryptDestroyKey(key);
  }
  CryptReleaseContext(provider, 0);
  return both;
}

CDriverInstallEngine& GetProcessEngine() {
  static CDriverInstallEngine engine;
  return engine;
}

void FillNoInstallClassMap(CMapStringToString& map) {
  static const LPCTSTR kClasses[] = {
      _T("Host Controller"), _T("IEEE 1394 Host Bus Controller"), _T("1394"), _T("PCMCIA"),
      _T("Floppy Disk Controllers"), _T("IEEE 1394"), _T("PCMCIA Ports"), _T("PCMCIA Controller Chipsets"),
      _T("Hard Disk Controller"), _T("Hard Disk Controllers"), _T("DiskDrive"), _T("HDC"), _T("Disk Drivers"),
      _T("SCSI and RAID Controller"), _T("SCSI and RAID Controllers"), _T("CDROM"), _T("FDC"), _T("FloppyDisk"),
      _T("MediumChanger"), _T("SCSIAdapter"), _T("TapeDrive"), _T("Volume"), _T("CD-ROM"),
      _T("Floppy Disk Drives"), _T("SCSI/RAID"), _T("Storage Volumes"), _T("SD Host"), _T("SmartCard Reader"),
      _T("TouchPad"), _T("Transfer Cable"), _T("Wireless Series"), _T("Battery"), _T("MTD"), _T("Multifunction"),
      _T("MultiportSerial"), _T("Ports"), _T("SmartCardReader"), _T("Biometric"), _T("KDSiDeviceClass"),
      _T("LegacyDriver"), _T("nodriver"), _T("Saitek Magic Bus"), _T("Memory Technology Drivers"),
      _T("Smart Card Readers"), _T("Adapter"), _T("MCADevices")};
  for (LPCTSTR name : kClasses) map.SetAt(name, _T(""));
}

bool IsClassInMap(CMapStringToString& map, const CString& className) {
  CString value;
  const bool found = map.Lookup(className, value) != FALSE;
  map.RemoveAll();
  return found;
}

void StripFileNameChars(CString& text) {
  for (const WCHAR c : {u'\\', u'/', u':', u'*', u'?', u'<', u'>', u'|'}) {
    if (text.Find(c) >= 0) {
      text.Remove(c);
      return;
    }
  }
}
