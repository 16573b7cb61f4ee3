// The update engine's progress callbacks.
#include "EngineCallbacks.h"

#include <winuser.h>

#include "RegKeyAccess.h"
#include "Registry.h"

namespace {

// The windows themselves: texts set through the window's owner thread, messages posted.
class CWin32Messenger : public CWindowMessenger {
 public:
  void SetText(HWND window, const CString& text) override { SetWindowTextW(window, text); }
  void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    PostMessageW(window, message, wParam, lParam);
  }
};

CWindowMessenger& Messenger(CEngineProgressView& view) {
  static CWin32Messenger windows;
  return view.pMessenger != nullptr ? *view.pMessenger : windows;
}

std::atomic<CEngineProgressView*> g_view{nullptr};

// The launcher's status codes.
constexpr int kPeerScanProgress = 6;
constexpr int kPeerStatusLine = 14;


void ShowText(CEngineProgressView& view, HWND window, const CString& text) {
  if (window != nullptr) Messenger(view).SetText(window, text);
}

void ReportScanned(CEngineProgressView& view, CDeviceRecordArray& records) {
  const tagDeviceDriverInfo* record = records.GetAt(view.nScanIndex);
  if (record == nullptr) return;
  view.deviceList.ElementAtGrow(view.nScanIndex).CopyFrom(*record);
  CString display, index;
  display.Format(_T("%d"), view.nDisplayCounter);
  index.Format(_T("%d"), view.nScanIndex);
  view.displayToRecord.SetAt(display, index);
  ++view.nDisplayCounter;
  CString count;
  count.Format(_T("%d"), view.nDisplayCounter);
  ShowText(view, view.hCountLabel, count);
  if (view.bOneClick && LauncherAskedToStop() && view.hMainWindow != nullptr)
    Messenger(view).Post(view.hMainWindow, WM_COMMAND, kScanStopCommand, 0);
  const CString name = record->szText[kSlotDeviceName].Text();
  CString status;
  status.Format(_T("%s - %s"), view.strScanningDriver.GetString(), name.GetString());
  if ((view.bOneClick || view.bNotifyMode) && view.notifyPeer) view.notifyPeer(kPeerScanProgress, 1, status);
  if (!view.bOneClick && view.hStatusLabel != nullptr) {
    ShowText(view, view.hStatusLabel, name);
    ShowText(view, view.hStatusText, status);
  }
  ++view.nScanIndex;
}

void ReportBackedUp(CEngineProgressView& view, CDeviceRecordArray& records) {
  if (const tagDeviceDriverInfo* record = records.GetAt(view.nBackupIndex)) {
    const CString name = record->szText[kSlotDeviceName].Text();
    if (view.bNotifyMode && view.notifyPeer) {
      view.notifyPeer(kPeerStatusLine, -1, view.strCreatingBackup + name);
    } else {
      ShowText(view, view.hBackupName, name);
      ShowText(view, view.hBackupClass, record->szText[kSlotClassName].Text());
    }
  }
  ++view.nBackupIndex;
}

void ReportRestored(CEngineProgressView& view, CDeviceRecordArray& records) {
  if (const tagDeviceDriverInfo* record = records.GetAt(view.nRestoreIndex)) {
    ShowText(view, view.hRestoreName, record->szText[kSlotDeviceName].Text());
    ShowText(view, view.hRestoreClass, record->szText[kSlotClassName].Text());
  }
  ++view.nRestoreIndex;
}

}  // namespace

bool LauncherAskedToStop() {
  CString path;
  GetProductRegistryKey(path);
  CRegKeyAccess key(HKEY_CURRENT_USER, CRegKeyAccess::kReadOnly);
  DWORD abort = 0;
  return key.Open(HKEY_CURRENT_USER, path + _T("\\SwiftTend")) && key.ReadDword(_T("ABORTSCAN"), abort) && abort == 1;
}

void SetEngineProgressView(CEngineProgressView* view) { g_view.store(view); }

CEngineProgressView* GetEngineProgressView() { return g_view.load(); }

BOOL ScanProgressCallback(CDeviceRecordArray* records, int percent) {
  CEngineProgressView* view = g_view.load();
  if (view == nullptr) return TRUE;
  const int mode = view->nEngineMode.load();
  if (records != nullptr) {
    if (mode == kModeScan) ReportScanned(*view, *records);
    else if (mode == kModeBackup) ReportBackedUp(*view, *records);
    else if (mode == kModeRestore) ReportRestored(*view, *records);
  }
  if (mode >= kModeScan && mode <= kModeRestore && view->hProgress[mode - 1] != nullptr)
    Messenger(*view).Post(view->hProgress[mode - 1], kProgressSetPos, static_cast<WPARAM>(percent), 0);
  return TRUE;
}

int InstallStatusCallback(LPCTSTR text, void* pointer, int code) {
  constexpr int kAnswer = 7;
  CEngineProgressView* view = g_view.load();
  if (view == nullptr) return kAnswer;
  if (view->bLogOn) {
    CString log;
    {
      std::lock_guard<std::mutex> lock(view->logMutex);
      view->logText += text;
      view->logText += _T("\r\n");
      log = view->logText;
    }
    ShowText(*view, view->hLogWindow, log);
  } else {
    ShowText(*view, view->hStatusText, text);
  }
  if (code == 6 && pointer != nullptr) view->bInstallReported = true;
  return kAnswer;
}
