// CKXServer: the served interface's stubs and the eight procedures.
#include "KXServer.h"

#include <cstring>
#include <shared_mutex>

namespace {

// The server that answers the calls of the process; the stubs hold the lock while a call
// runs, so the server is never stopped under a running call.
std::shared_mutex g_servedLock;
CKXServer* g_served = nullptr;

template <void (CKXServer::*Slot)(PRPC_MESSAGE)>
void Stub(PRPC_MESSAGE message) {
  std::shared_lock<std::shared_mutex> lock(g_servedLock);
  if (g_served) (g_served->*Slot)(message);
}

RPC_DISPATCH_FUNCTION g_stubs[] = {
    Stub<&CKXServer::Operation0>, Stub<&CKXServer::Operation1>, Stub<&CKXServer::Operation2>,
    Stub<&CKXServer::Operation3>, Stub<&CKXServer::Operation4>, Stub<&CKXServer::Operation5>,
    Stub<&CKXServer::Operation6>, Stub<&CKXServer::Operation7>,
};
RPC_DISPATCH_TABLE g_dispatch = {8, g_stubs, 0};

void WriteResult(PRPC_MESSAGE message, LONG result) {
  message->BufferLength = sizeof(LONG);
  if (I_RpcGetBuffer(message) != RPC_S_OK) return;
  auto* bytes = static_cast<BYTE*>(message->Buffer);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<BYTE>(static_cast<DWORD>(result) >> (8 * i));
}

}  // namespace

RPC_SERVER_INTERFACE g_KXServerInterface = {
    sizeof(RPC_SERVER_INTERFACE),
    {{0xd5e687c8, 0x4f74, 0x404d, {0x85, 0x3f, 0xbd, 0x24, 0x17, 0x42, 0xd5, 0xdc}}, {1, 0}},
    {},
    &g_dispatch,
    0,
    nullptr,
    nullptr,
    nullptr,
    0};

CKXServer::CKXServer(tagLauncherState& state, CPopupArming& popup, const tagKXServerWindows& windows)
    : CQVX_Utility_ServerBase(&g_KXServerInterface, QVX_SERVER_ENDPOINT),
      m_state(state),
      m_popup(popup),
      m_windows(windows),
      m_downloadInstall(windows.hDownloadInstall) {}

CKXServer::~CKXServer() { Stop(); }

BOOL CKXServer::Start() {
  {
    std::unique_lock<std::shared_mutex> lock(g_servedLock);
    if (g_served && g_served != this) return FALSE;  // one served object a process
    g_served = this;
  }
  m_serving = true;
  if (m_server.Start(&m_state)) return TRUE;
  Stop();
  return FALSE;
}

BOOL CKXServer::Stop() {
  if (!m_serving) return FALSE;
  m_serving = false;
  const BOOL stopped = m_server.IsListening() ? m_server.Stop() : FALSE;
  std::unique_lock<std::shared_mutex> lock(g_servedLock);
  if (g_served == this) g_served = nullptr;
  return stopped;
}

void CKXServer::Post(HWND window, WORD command) {
  if (IsWindow(window)) PostMessageW(window, WM_COMMAND, command, 0);
}

LONG CKXServer::ClearBusyAndScan() {
  m_state.bLauncherBusy = false;
  Post(m_windows.hScanHomePage, kCommandScanNow);
  return 1;
}

LONG CKXServer::SetBusy() {
  m_state.bLauncherBusy = true;
  m_state.bScanStopRequest = true;
  if (m_state.nScanWork == 0) Post(m_windows.hScanningPage, kCommandStop);
  return 1;
}

LONG CKXServer::StartUpdate() {
  m_state.bProgressNotify = true;
  Post(m_windows.hResultsPage, kCommandDownload);
  return 1;
}

LONG CKXServer::CancelInstall() {
  m_state.bInstallCancel = true;
  Post(m_downloadInstall.load(), IDCANCEL);
  return 1;
}

LONG CKXServer::ShowResultsPopup(DWORD window) {
  if (!m_popup.TryDisarm(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(window)))) return 0;
  if (IsWindow(m_windows.hMainWindow)) SetTimer(m_windows.hMainWindow, kPopupTimerId, kPopupTimerMs, nullptr);
  return 1;
}

LONG CKXServer::RequestExit() {
  if (IsWindow(m_windows.hMainWindow)) SetTimer(m_windows.hMainWindow, kExitTimerId, kExitTimerMs, nullptr);
  return 1;
}

LONG CKXServer::SetCode(LONG code) {
  m_state.nRequestCode = code;
  if (code == 7) {
    SetBusy();
  } else {
    CancelInstall();
  }
  return 1;
}

LONG CKXServer::IsNotifying() { return m_state.IsNotifying() ? 1 : 0; }

bool CKXServer::ReadCallInput(const RPC_MESSAGE& message, bool takesInput, DWORD& input) {
  const unsigned expected = takesInput ? sizeof(DWORD) : 0;
  if (message.BufferLength != expected || (expected != 0 && message.Buffer == nullptr)) return false;
  if (takesInput) {
    const auto* bytes = static_cast<const BYTE*>(message.Buffer);
    input = static_cast<DWORD>(bytes[0]) | static_cast<DWORD>(bytes[1]) << 8 | static_cast<DWORD>(bytes[2]) << 16 |
            static_cast<DWORD>(bytes[3]) << 24;
  }
  return true;
}

template <class Procedure>
void CKXServer::Serve(PRPC_MESSAGE message, Procedure procedure) {
  DWORD unused = 0;
  if (ReadCallInput(*message, false, unused)) WriteResult(message, (this->*procedure)());
}

void CKXServer::Operation0(PRPC_MESSAGE message) { Serve(message, &CKXServer::ClearBusyAndScan); }
void CKXServer::Operation1(PRPC_MESSAGE message) { Serve(message, &CKXServer::SetBusy); }
void CKXServer::Operation2(PRPC_MESSAGE message) { Serve(message, &CKXServer::StartUpdate); }
void CKXServer::Operation3(PRPC_MESSAGE message) { Serve(message, &CKXServer::CancelInstall); }
void CKXServer::Operation4(PRPC_MESSAGE message) {
  DWORD window = 0;
  if (ReadCallInput(*message, true, window)) WriteResult(message, ShowResultsPopup(window));
}
void CKXServer::Operation5(PRPC_MESSAGE message) { Serve(message, &CKXServer::RequestExit); }
void CKXServer::Operation6(PRPC_MESSAGE message) {
  DWORD code = 0;
  if (ReadCallInput(*message, true, code)) WriteResult(message, SetCode(static_cast<LONG>(code)));
}
void CKXServer::Operation7(PRPC_MESSAGE message) { Serve(message, &CKXServer::IsNotifying); }
