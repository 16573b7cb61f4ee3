// Binding handles of the RPC runtime: a client's binding names an endpoint; a server call's
// binding names the caller. Rpc-component-internal.
#pragma once
#include <string>

#include "rpcdce.h"

namespace zx::rpc {

struct Binding {
  std::string endpoint;  // socket name (client bindings)
  bool serverCall = false;
  unsigned clientPid = 0;  // server call bindings
};

// A new handle for the binding; the runtime keeps the set of live ones.
RPC_BINDING_HANDLE NewBinding(const Binding& binding);
// The binding a live handle names (copied out); false for anything else.
bool FindBinding(RPC_BINDING_HANDLE handle, Binding& binding);
bool FreeBinding(RPC_BINDING_HANDLE handle);

// The server call binding the calling thread is serving, or null.
RPC_BINDING_HANDLE CurrentCall();
void SetCurrentCall(RPC_BINDING_HANDLE handle);

}  // namespace zx::rpc
