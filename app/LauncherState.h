// What the launcher's inter-process calls share with the main program: the run flags they
// read and set, the main window's launcher values, and the arming of the one-click results
// popup. The calls arrive on RPC threads while the user-interface thread reads the same
// values, so every value is atomic.
#pragma once
#include <afx.h>

#include <atomic>
#include <mutex>

struct tagLauncherState {
  // The application's run flags.
  std::atomic<bool> bHiddenScanMode{false};
  std::atomic<bool> bLauncherBusy{false};
  std::atomic<bool> bProgressNotify{false};
  // The main window's: the install-cancel request and the last code of procedure 6.
  std::atomic<bool> bInstallCancel{false};
  std::atomic<LONG> nRequestCode{0};
  // The scanning page's stop request, and the scan engine's work value (non-zero while the
  // engine works on a step that a stop must not interrupt).
  std::atomic<bool> bScanStopRequest{false};
  std::atomic<LONG> nScanWork{0};

  // Hidden scan mode or progress notify: the launcher is told what happens.
  bool IsNotifying() const { return bHiddenScanMode || bProgressNotify; }
};

// The one-click results popup: armed at start, disarmed by the launcher's request to show
// it (which names the popup's parent), armed again once the popup has run.
class CPopupArming {
 public:
  // Disarms and keeps the parent; false when it was not armed.
  bool TryDisarm(HWND parent);
  void Rearm();
  HWND GetParent() const;

 private:
  mutable std::mutex m_lock;
  bool m_armed = true;
  HWND m_parent = nullptr;
};
