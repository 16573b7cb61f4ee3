// CKXServer: the interface the main program serves to the launcher in hidden scan mode, on
// the named pipe "\pipe\zephrinkxlauncher_rpcecho_tunevo". Eight procedures, each answering
// a 32-bit result; procedures 4 and 6 take one 32-bit input. The procedures reach the main
// window only by posting commands, setting timers and changing the shared launcher state.
// A call whose input is not exactly what its procedure takes is answered with no bytes and
// changes nothing.
#pragma once
#include <afx.h>

#include "LauncherState.h"
#include "RpcBases.h"

// The windows the served procedures reach; the main window fills them in before the server
// starts. The download-and-install window comes and goes: `SetDownloadInstallWindow`.
struct tagKXServerWindows {
  HWND hMainWindow = nullptr;       // gets the popup and exit timers
  HWND hScanHomePage = nullptr;     // scan now
  HWND hScanningPage = nullptr;     // stop
  HWND hResultsPage = nullptr;      // download
  HWND hDownloadInstall = nullptr;  // cancel
};

// The commands the procedures post, and the main window's timers they set.
inline constexpr WORD kCommandScanNow = 5083;
inline constexpr WORD kCommandStop = 5084;
inline constexpr WORD kCommandDownload = 5085;
inline constexpr UINT_PTR kPopupTimerId = 20101327;
inline constexpr UINT kPopupTimerMs = 1;
inline constexpr UINT_PTR kExitTimerId = 20100406;
inline constexpr UINT kExitTimerMs = 64;

// The served interface: {d5e687c8-4f74-404d-853f-bd241742d5dc} version 1.0.
extern RPC_SERVER_INTERFACE g_KXServerInterface;

class CKXServer : public CQVX_Utility_ServerBase {
 public:
  CKXServer(tagLauncherState& state, CPopupArming& popup, const tagKXServerWindows& windows);
  ~CKXServer() override;
  CKXServer(const CKXServer&) = delete;
  CKXServer& operator=(const CKXServer&) = delete;

  // Serves the interface with the launcher state as the server's owner; this object answers
  // the calls of the process until Stop. False when the server could not start.
  BOOL Start();
  // Stops listening (waiting up to 2000 ms) and answers no more calls; a call in progress
  // ends first.
  BOOL Stop();
  // The download-and-install window that a cancel reaches while it is open (null once it has
  // closed).
  void SetDownloadInstallWindow(HWND window) { m_downloadInstall = window; }

  // The eight procedures.
  LONG ClearBusyAndScan();
  LONG SetBusy();
  LONG StartUpdate();
  LONG CancelInstall();
  LONG ShowResultsPopup(DWORD window);
  LONG RequestExit();
  LONG SetCode(LONG code);
  LONG IsNotifying();

  // The slots the interface's stubs call: the call's input read, the procedure run, its
  // result written as the reply.
  void Operation0(PRPC_MESSAGE message) override;
  void Operation1(PRPC_MESSAGE message) override;
  void Operation2(PRPC_MESSAGE message) override;
  void Operation3(PRPC_MESSAGE message) override;
  void Operation4(PRPC_MESSAGE message) override;
  void Operation5(PRPC_MESSAGE message) override;
  void Operation6(PRPC_MESSAGE message) override;
  void Operation7(PRPC_MESSAGE message) override;

  // The procedures' inputs: a procedure without input takes no bytes, one with an input
  // takes exactly four (little-endian). False for any other length.
  static bool ReadCallInput(const RPC_MESSAGE& message, bool takesInput, DWORD& input);

 private:
  template <class Procedure>
  void Serve(PRPC_MESSAGE message, Procedure procedure);
  static void Post(HWND window, WORD command);

  tagLauncherState& m_state;
  CPopupArming& m_popup;
  tagKXServerWindows m_windows;
  std::atomic<HWND> m_downloadInstall;
  bool m_serving = false;
};
