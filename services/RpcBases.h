// Bases of the inter-process calls between the main program and the launcher: the server
// that serves an interface on a named-pipe endpoint with a listening thread, and the client
// that binds to the launcher, marks its presence in the registry and builds the status
// request record its derived class sends.
#pragma once
#include <afx.h>
#include <rpc.h>
#include <windows.h>

#include <atomic>
#include <cstddef>

#include "HelperApi.h"

// The status request record sent to the launcher: 1076 bytes, little-endian.
struct tagQVXStatusRequest {
  LONG nReserved;        // 0
  LONG nRequestCode;
  WCHAR szText1[260];    // at most 259 characters, terminated
  WCHAR szText2[260];
  LONG nNumber1;
  LONG nNumber6;
  LONG nNumber2;
  LONG nNumber4;
  LONG nNumber5;
  LONG nNumber7;
  DWORD dwSequence;      // the request sequence number after its increment for this request
};
static_assert(sizeof(tagQVXStatusRequest) == 1076);
static_assert(offsetof(tagQVXStatusRequest, szText2) == 528);
static_assert(offsetof(tagQVXStatusRequest, nNumber1) == 1048);
static_assert(offsetof(tagQVXStatusRequest, dwSequence) == 1072);

// The launcher's state: 0 at load, 4 when it cannot be reached, 1 after other call errors.
extern ZXHELPER_API std::atomic<LONG> g_nLauncherState;
// The request sequence number, 0 at load; the first request of a process carries 1.
extern ZXHELPER_API std::atomic<DWORD> g_dwRequestSequence;

// The endpoints of the two interfaces.
#define QVX_SERVER_ENDPOINT _T("\\pipe\\zephrinkxlauncher_rpcecho_tunevo")
#define QVX_LAUNCHER_ENDPOINT _T("\\pipe\\zephrinkxlauncher_rpcecho_homeserver")

class ZXHELPER_API CRpcServer {
 public:
  CRpcServer(RPC_IF_HANDLE interfaceHandle, LPCWSTR endpoint);
  ~CRpcServer();
  CRpcServer(const CRpcServer&) = delete;
  CRpcServer& operator=(const CRpcServer&) = delete;

  // Serves the endpoint (at most 10 calls at a time, callers of this user only) and starts
  // the listening thread; false and state 4 when any step fails.
  BOOL Start(void* owner);
  // Stops listening and waits up to 2000 ms for the thread; true when it ended with code 0.
  // The thread handle is closed and cleared either way.
  BOOL Stop();
  void* GetOwner() const { return m_pOwner; }
  LONG GetState() const { return m_nState; }
  BOOL IsListening() const { return m_hListenThread != nullptr; }

 private:
  static DWORD ListenThread(LPVOID parameter);

  void* m_pOwner = nullptr;
  HANDLE m_hListenThread = nullptr;
  RPC_IF_HANDLE m_hInterface;
  LPCWSTR m_pszEndpoint;
  LONG m_nState = 0;
};

// The abstract server of eight operations: the derived server's stubs route the calls of its
// interface to these slots.
class ZXHELPER_API CQVX_Utility_ServerBase {
 public:
  CQVX_Utility_ServerBase(RPC_IF_HANDLE interfaceHandle, LPCWSTR endpoint);
  virtual ~CQVX_Utility_ServerBase();
  virtual void Operation0(PRPC_MESSAGE message) = 0;
  virtual void Operation1(PRPC_MESSAGE message) = 0;
  virtual void Operation2(PRPC_MESSAGE message) = 0;
  virtual void Operation3(PRPC_MESSAGE message) = 0;
  virtual void Operation4(PRPC_MESSAGE message) = 0;
  virtual void Operation5(PRPC_MESSAGE message) = 0;
  virtual void Operation6(PRPC_MESSAGE message) = 0;
  virtual void Operation7(PRPC_MESSAGE message) = 0;
  CRpcServer& GetServer() { return m_server; }

 protected:
  CRpcServer m_server;
};

class ZXHELPER_API CRpcClient {
 public:
  CRpcClient() = default;
  virtual ~CRpcClient();
  CRpcClient(const CRpcClient&) = delete;
  CRpcClient& operator=(const CRpcClient&) = delete;
  // Binds to the endpoint on this computer; answers the RPC status (0 on success).
  virtual RPC_STATUS Bind(LPCWSTR protseq, LPCWSTR endpoint, RPC_BINDING_HANDLE* binding);
  virtual void Unbind(RPC_BINDING_HANDLE* binding);
  virtual BOOL Connect() = 0;
  virtual void Disconnect() = 0;
};

class ZXHELPER_API CQVX_Utility_ClientBase : public CRpcClient {
 public:
  explicit CQVX_Utility_ClientBase(int moduleCode);
  ~CQVX_Utility_ClientBase() override;

  // Binds to the launcher (launcher state 4 when that fails) and creates the marker key;
  // answers 1.
  int ConnectLauncher(RPC_BINDING_HANDLE* binding);
  // Frees the binding and deletes the marker key with everything below it.
  void Disconnect(RPC_BINDING_HANDLE* binding);
  using CRpcClient::Disconnect;
  // Builds a new status record (texts cut to 259 characters) with the next sequence number,
  // then calls SendStatus and SendMessageText.
  void SendRequest(int requestCode, LPCWSTR text1, int number1, int number2, int number3,
                   int number4, int number5, int number6, LPCWSTR text2, int number7);
  void ReleaseRequest();
  const tagQVXStatusRequest* GetRequest() const { return m_pRequest; }
  int GetModuleCode() const { return m_nModuleCode; }
  // HKCU path of the marker key: the product key, "SwiftTend" and the module's name.
  CString GetMarkerKeyPath() const;

  virtual void SendMessageText(int moduleCode) = 0;
  virtual void SendStatus(int moduleCode, int requestCode, int number3) = 0;

 protected:
  tagQVXStatusRequest* m_pRequest = nullptr;
  LONG m_nFlag = 1;
  LONG m_nModuleCode;
  LONG m_nReserved = 0;
};
