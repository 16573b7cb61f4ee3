// The RPC runtime: string bindings, binding handles and the server's endpoints, interfaces
// and listening.
//
// Only local calls exist. The protocol sequences "ncacn_np" (named pipes, endpoint
// "\pipe\<name>") and "ncalrpc" (endpoint "<name>") both name a Unix domain socket
// run-<uid>/rpc/<name> in the machine root (name lower-cased; characters other than letters,
// digits, '.', '-' and '_' become '_'). The folder has mode 0700 and each end checks the
// other's uid, so a process of another user can neither call nor serve: its calls are
// answered ERROR_ACCESS_DENIED. A call to an endpoint nobody serves fails with
// RPC_S_SERVER_UNAVAILABLE (1722).
#pragma once
#include "guiddef.h"
#include "wintypes.h"

using RPC_STATUS = LONG;
using RPC_BINDING_HANDLE = void*;
using handle_t = RPC_BINDING_HANDLE;
using RPC_IF_HANDLE = void*;
using RPC_WSTR = WCHAR*;
using RPC_MGR_EPV = void;
// Asked before each call is dispatched; anything but RPC_S_OK refuses the call with
// ERROR_ACCESS_DENIED. context is the call's binding handle.
using RPC_IF_CALLBACK_FN = RPC_STATUS (*)(RPC_IF_HANDLE interfaceHandle, void* context);

#define RPC_S_OK 0
#define RPC_S_ACCESS_DENIED 5L
#define RPC_S_INVALID_STRING_BINDING 1700L
#define RPC_S_INVALID_BINDING 1702L
#define RPC_S_PROTSEQ_NOT_SUPPORTED 1703L
#define RPC_S_INVALID_ENDPOINT_FORMAT 1706L
#define RPC_S_INVALID_NET_ADDR 1707L
#define RPC_S_ALREADY_REGISTERED 1711L
#define RPC_S_ALREADY_LISTENING 1713L
#define RPC_S_NO_PROTSEQS_REGISTERED 1714L
#define RPC_S_NOT_LISTENING 1715L
#define RPC_S_UNKNOWN_IF 1717L
#define RPC_S_CANT_CREATE_ENDPOINT 1720L
#define RPC_S_OUT_OF_RESOURCES 1721L
#define RPC_S_CALL_FAILED 1726L
#define RPC_S_PROTOCOL_ERROR 1728L
#define RPC_S_DUPLICATE_ENDPOINT 1740L
#define RPC_S_PROCNUM_OUT_OF_RANGE 1745L
#define RPC_X_BAD_STUB_DATA 1783L

#define RPC_C_LISTEN_MAX_CALLS_DEFAULT 1234
#define RPC_C_PROTSEQ_MAX_REQS_DEFAULT 10
#define RPC_IF_AUTOLISTEN 0x0001
#define RPC_IF_ALLOW_CALLBACKS_WITH_NO_AUTH 0x0010

// "[objectUuid@]protseq:[networkAddress][endpoint,options]"; free with RpcStringFreeW.
RPC_STATUS RpcStringBindingComposeW(RPC_WSTR objectUuid, RPC_WSTR protseq, RPC_WSTR networkAddress,
                                    RPC_WSTR endpoint, RPC_WSTR options, RPC_WSTR* stringBinding);
// The network address must name this computer: empty, "localhost" or ".".
RPC_STATUS RpcBindingFromStringBindingW(RPC_WSTR stringBinding, RPC_BINDING_HANDLE* binding);
RPC_STATUS RpcStringFreeW(RPC_WSTR* text);
// Frees the binding and clears the handle.
RPC_STATUS RpcBindingFree(RPC_BINDING_HANDLE* binding);

// Serves an endpoint: at most maxCalls calls (of all interfaces) are dispatched at a time,
// later callers wait for a free place. Using the same endpoint again answers RPC_S_OK;
// an endpoint another process serves answers RPC_S_DUPLICATE_ENDPOINT.
RPC_STATUS RpcServerUseProtseqEpW(RPC_WSTR protseq, unsigned int maxCalls, RPC_WSTR endpoint,
                                  void* securityDescriptor);
// interfaceSpec is an RPC_SERVER_INTERFACE (rpcdcep.h); the manager arguments must be null.
RPC_STATUS RpcServerRegisterIfEx(RPC_IF_HANDLE interfaceSpec, UUID* managerType,
                                 RPC_MGR_EPV* managerEpv, unsigned int flags,
                                 unsigned int maxCalls, RPC_IF_CALLBACK_FN* securityCallback);
RPC_STATUS RpcServerUnregisterIf(RPC_IF_HANDLE interfaceSpec, UUID* managerType,
                                 unsigned int waitForCallsToComplete);
// Dispatches calls until RpcMgmtStopServerListening; with dontWait it answers at once and
// the runtime listens on its own thread. One listen at a time per process.
RPC_STATUS RpcServerListen(unsigned int minimumCallThreads, unsigned int maxCalls,
                           unsigned int dontWait);
// Stops the process's listening (binding must be null): RpcServerListen returns RPC_S_OK
// once the calls in progress have ended. RPC_S_NOT_LISTENING when nothing listens.
RPC_STATUS RpcMgmtStopServerListening(RPC_BINDING_HANDLE binding);
// Waits until a listen started with dontWait has ended.
RPC_STATUS RpcMgmtWaitServerListen();
