// The update engine's progress callbacks: the device scan, the backup and the restore report
// each device, the install engine each status line. They copy the device records into the
// main window's list, move the progress bars and show status texts, and reach windows only
// through window texts and posted messages (they run on the worker thread).
#pragma once
#include <afx.h>

#include <atomic>
#include <functional>
#include <mutex>

#include "DeviceRecord.h"

// The main window's stop command (WM_COMMAND), which asks the update engine to stop a scan.
constexpr WORD kScanStopCommand = 5084;
// A progress bar's PBM_SETPOS.
constexpr UINT kProgressSetPos = 0x0402;

// How the callbacks reach windows; without one of its own a view uses SetWindowText and
// PostMessage.
class CWindowMessenger {
 public:
  virtual ~CWindowMessenger() = default;
  virtual void SetText(HWND window, const CString& text) = 0;
  virtual void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

enum EngineMode { kModeScan = 1, kModeBackup = 2, kModeRestore = 3 };

// What the callbacks update: the main window's state they use. The main window owns one
// and registers it (SetEngineProgressView) while it lives.
struct CEngineProgressView {
  CWindowMessenger* pMessenger = nullptr;  // null: the windows themselves

  std::atomic<int> nEngineMode{0};
  // The index of the next record each mode reports.
  int nScanIndex = 0;
  int nBackupIndex = 0;
  int nRestoreIndex = 0;
  CDeviceRecordArray deviceList;
  // Display number ("%d") to record index ("%d"), and the display counter.
  CMapStringToString displayToRecord;
  int nDisplayCounter = 0;

  HWND hMainWindow = nullptr;
  HWND hCountLabel = nullptr;
  HWND hStatusLabel = nullptr;
  HWND hStatusText = nullptr;  // the scanning page's status line
  HWND hBackupName = nullptr;
  HWND hBackupClass = nullptr;
  HWND hRestoreName = nullptr;
  HWND hRestoreClass = nullptr;
  HWND hProgress[3] = {};  // scan, backup, restore
  HWND hLogWindow = nullptr;

  std::atomic<bool> bOneClick{false};
  std::atomic<bool> bNotifyMode{false};
  std::atomic<bool> bLogOn{false};
  std::atomic<bool> bInstallReported{false};

  // The language texts "IDS_SCANNING_DRIVER" and "IDS_CREATING_BACKUP", looked up once by
  // the main window.
  CString strScanningDriver;
  CString strCreatingBackup;
  // Hands a status record (code, progress value, text) to the outside launcher; empty while
  // no launcher is linked.
  std::function<void(int code, int progress, const CString& text)> notifyPeer;

  // The install status lines written so far (the log window shows them all).
  CString logText;
  std::mutex logMutex;
};

void SetEngineProgressView(CEngineProgressView* view);
// In the one-click mode the launcher stops a scan by setting HKCU <product root>\SwiftTend
// ABORTSCAN to 1: whether it has.
bool LauncherAskedToStop();
CEngineProgressView* GetEngineProgressView();

// Reports one device of a scan, backup or restore (records null: a device left out) and the
// percentage done. Always TRUE.
BOOL ScanProgressCallback(CDeviceRecordArray* records, int percent);
// Shows one install status line; code 6 with a pointer marks the install as reported.
// Always 7.
int InstallStatusCallback(LPCTSTR text, void* pointer, int code);
