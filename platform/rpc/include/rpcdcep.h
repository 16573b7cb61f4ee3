// The message calls under interface stubs. A stub marshals its arguments into a buffer from
// I_RpcGetBuffer, names the operation by ProcNum and sends it with I_RpcSendReceive, which
// answers the reply in the same message. On the server the interface's dispatch table entry
// ProcNum is called with the request in Buffer; it sets BufferLength, calls I_RpcGetBuffer
// and writes its reply there. Bytes travel unchanged (the caller's byte order).
#pragma once
#include "rpcdce.h"

struct RPC_VERSION {
  unsigned short MajorVersion;
  unsigned short MinorVersion;
};

struct RPC_SYNTAX_IDENTIFIER {
  GUID SyntaxGUID;
  RPC_VERSION SyntaxVersion;
};
using PRPC_SYNTAX_IDENTIFIER = RPC_SYNTAX_IDENTIFIER*;

struct RPC_MESSAGE {
  RPC_BINDING_HANDLE Handle;  // client: the binding; server: the call's binding
  unsigned long DataRepresentation;
  void* Buffer;
  unsigned int BufferLength;
  unsigned int ProcNum;
  PRPC_SYNTAX_IDENTIFIER TransferSyntax;
  void* RpcInterfaceInformation;  // client: its RPC_CLIENT_INTERFACE
  void* ReservedForRuntime;
  void* ManagerEpv;
  void* ImportContext;
  unsigned long RpcFlags;
};
using PRPC_MESSAGE = RPC_MESSAGE*;

using RPC_DISPATCH_FUNCTION = void (*)(PRPC_MESSAGE message);

struct RPC_DISPATCH_TABLE {
  unsigned int DispatchTableCount;
  RPC_DISPATCH_FUNCTION* DispatchTable;
  LONG_PTR Reserved;
};
using PRPC_DISPATCH_TABLE = RPC_DISPATCH_TABLE*;

struct RPC_SERVER_INTERFACE {
  unsigned int Length;
  RPC_SYNTAX_IDENTIFIER InterfaceId;
  RPC_SYNTAX_IDENTIFIER TransferSyntax;
  PRPC_DISPATCH_TABLE DispatchTable;
  unsigned int RpcProtseqEndpointCount;
  void* RpcProtseqEndpoint;
  void* DefaultManagerEpv;
  const void* InterpreterInfo;
  unsigned int Flags;
};

struct RPC_CLIENT_INTERFACE {
  unsigned int Length;
  RPC_SYNTAX_IDENTIFIER InterfaceId;
  RPC_SYNTAX_IDENTIFIER TransferSyntax;
  PRPC_DISPATCH_TABLE DispatchTable;
  unsigned int RpcProtseqEndpointCount;
  void* RpcProtseqEndpoint;
  ULONG_PTR Reserved;
  const void* InterpreterInfo;
  unsigned int Flags;
};

// Gives Buffer a fresh block of BufferLength bytes (the runtime frees it).
RPC_STATUS I_RpcGetBuffer(PRPC_MESSAGE message);
// Sends the request and waits for the reply; the request buffer is freed and Buffer and
// BufferLength then hold the reply (free with I_RpcFreeBuffer). The server's status
// (ERROR_ACCESS_DENIED, RPC_S_UNKNOWN_IF, RPC_S_PROCNUM_OUT_OF_RANGE) or the transport's
// (RPC_S_SERVER_UNAVAILABLE, RPC_S_CALL_FAILED) when it fails.
RPC_STATUS I_RpcSendReceive(PRPC_MESSAGE message);
RPC_STATUS I_RpcFreeBuffer(PRPC_MESSAGE message);
// The process id of the caller of a call in progress (binding: the call's handle, or null
// for the call the thread is serving).
RPC_STATUS I_RpcBindingInqLocalClientPID(RPC_BINDING_HANDLE binding, unsigned long* pid);
