// CRpcServer, CQVX_Utility_ServerBase, CRpcClient and CQVX_Utility_ClientBase.
#include "RpcBases.h"

#include <winreg.h>

#include <algorithm>

#include "GlobalConstants.h"
#include "Registry.h"

std::atomic<LONG> g_nLauncherState{0};
std::atomic<DWORD> g_dwRequestSequence{0};

namespace {

constexpr unsigned kEndpointCalls = 10;
constexpr unsigned kListenCalls = 1234;
constexpr DWORD kStopWaitMs = 2000;
constexpr DWORD kStopPollMs = 10;
constexpr int kTextCharacters = 259;

// Admits only callers on this computer whose process is known to the runtime, which itself
// answers only processes of this user.
RPC_STATUS SameUserCaller(RPC_IF_HANDLE, void* context) {
  unsigned long pid = 0;
  return I_RpcBindingInqLocalClientPID(context, &pid) == RPC_S_OK && pid != 0 ? RPC_S_OK
                                                                               : ERROR_ACCESS_DENIED;
}

void CopyText(LPCWSTR text, WCHAR* target) {
  if (text) lstrcpynW(target, text, kTextCharacters + 1);
}

}  // namespace

CRpcServer::CRpcServer(RPC_IF_HANDLE interfaceHandle, LPCWSTR endpoint)
    : m_hInterface(interfaceHandle), m_pszEndpoint(endpoint) {}

CRpcServer::~CRpcServer() {
  if (m_hListenThread) Stop();
}

DWORD CRpcServer::ListenThread(LPVOID) {
  return static_cast<DWORD>(RpcServerListen(1, kListenCalls, FALSE));
}

BOOL CRpcServer::Start(void* owner) {
  m_nState = 0;
  CString protseq = _T("ncacn_np");
  CString endpoint = m_pszEndpoint ? m_pszEndpoint : _T("");
  RPC_IF_CALLBACK_FN callback = SameUserCaller;
  const bool served =
      RpcServerUseProtseqEpW(protseq.GetBuffer(), kEndpointCalls, endpoint.GetBuffer(), nullptr) == RPC_S_OK &&
      RpcServerRegisterIfEx(m_hInterface, nullptr, nullptr, RPC_IF_ALLOW_CALLBACKS_WITH_NO_AUTH,
                            kListenCalls, &callback) == RPC_S_OK;
  if (served && !m_hListenThread) m_hListenThread = CreateThread(nullptr, 0, ListenThread, this, 0, nullptr);
  if (!served || !m_hListenThread) {
    m_nState = 4;
    return FALSE;
  }
  m_pOwner = owner;
  return TRUE;
}

BOOL CRpcServer::Stop() {
  bool stopped = RpcMgmtStopServerListening(nullptr) == RPC_S_OK;
  if (!m_hListenThread) return FALSE;
  // A listen thread that had not begun listening when asked to stop begins afterwards, so the
  // request is repeated until the thread ends.
  const DWORD start = GetTickCount();
  for (DWORD waited = 0; waited < kStopWaitMs; waited = GetTickCount() - start) {
    if (WaitForSingleObject(m_hListenThread, std::min(kStopPollMs, kStopWaitMs - waited)) != WAIT_TIMEOUT) break;
    stopped = RpcMgmtStopServerListening(nullptr) == RPC_S_OK || stopped;
  }
  DWORD exitCode = STILL_ACTIVE;
  GetExitCodeThread(m_hListenThread, &exitCode);
  CloseHandle(m_hListenThread);
  m_hListenThread = nullptr;
  return stopped && exitCode == 0;
}

CQVX_Utility_ServerBase::CQVX_Utility_ServerBase(RPC_IF_HANDLE interfaceHandle, LPCWSTR endpoint)
    : m_server(interfaceHandle, endpoint) {}

CQVX_Utility_ServerBase::~CQVX_Utility_ServerBase() = default;

CRpcClient::~CRpcClient() = default;

RPC_STATUS CRpcClient::Bind(LPCWSTR protseq, LPCWSTR endpoint, RPC_BINDING_HANDLE* binding) {
  CString sequence = protseq ? protseq : _T("");
  CString where = endpoint ? endpoint : _T("");
  CString address;
  RPC_WSTR text = nullptr;
  RPC_STATUS status = RpcStringBindingComposeW(nullptr, sequence.GetBuffer(), address.GetBuffer(),
                                               where.GetBuffer(), nullptr, &text);
  if (status != RPC_S_OK) return status;
  status = RpcBindingFromStringBindingW(text, binding);
  RpcStringFreeW(&text);
  return status;
}

void CRpcClient::Unbind(RPC_BINDING_HANDLE* binding) {
  if (binding && *binding) RpcBindingFree(binding);
}

CQVX_Utility_ClientBase::CQVX_Utility_ClientBase(int moduleCode) : m_nModuleCode(moduleCode) {}

CQVX_Utility_ClientBase::~CQVX_Utility_ClientBase() { ReleaseRequest(); }

CString CQVX_Utility_ClientBase::GetMarkerKeyPath() const {
  CString path = GetProductRegistryKeyText();
  path += _T("\\SwiftTend");
  if (m_nModuleCode == 8) path += _T("\\") + g_strProductName;
  return path;
}

int CQVX_Utility_ClientBase::ConnectLauncher(RPC_BINDING_HANDLE* binding) {
  if (Bind(_T("ncacn_np"), QVX_LAUNCHER_ENDPOINT, binding) != RPC_S_OK) g_nLauncherState = 4;
  CRegistry marker;
  marker.Open(HKEY_CURRENT_USER, GetMarkerKeyPath(), TRUE);
  return 1;
}

void CQVX_Utility_ClientBase::Disconnect(RPC_BINDING_HANDLE* binding) {
  if (binding) RpcBindingFree(binding);
  RegDeleteTreeW(HKEY_CURRENT_USER, GetMarkerKeyPath());
}

void CQVX_Utility_ClientBase::SendRequest(int requestCode, LPCWSTR text1, int number1, int number2,
                                          int number3, int number4, int number5, int number6,
                                          LPCWSTR text2, int number7) {
  const DWORD sequence = ++g_dwRequestSequence;
  ReleaseRequest();
  m_pRequest = new tagQVXStatusRequest{};
  m_pRequest->nRequestCode = requestCode;
  CopyText(text1, m_pRequest->szText1);
  CopyText(text2, m_pRequest->szText2);
  m_pRequest->nNumber1 = number1;
  m_pRequest->nNumber6 = number6;
  m_pRequest->nNumber2 = number2;
  m_pRequest->nNumber4 = number4;
  m_pRequest->nNumber5 = number5;
  m_pRequest->nNumber7 = number7;
  m_pRequest->dwSequence = sequence;
  SendStatus(m_nModuleCode, requestCode, number3);
  SendMessageText(m_nModuleCode);
}

void CQVX_Utility_ClientBase::ReleaseRequest() {
  delete m_pRequest;
  m_pRequest = nullptr;
}
