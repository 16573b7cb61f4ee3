// One raw call of a named-pipe interface (zx/rpccall.h).
#include "zx/rpccall.h"

#include <rpc.h>

#include <algorithm>
#include <string>

namespace zx::rpc {

RPC_STATUS CallRaw(const char16_t* endpoint, const RPC_SYNTAX_IDENTIFIER& interfaceId, unsigned procNum,
                   const std::vector<std::uint8_t>& input, std::vector<std::uint8_t>& reply) {
  std::u16string protseq = u"ncacn_np", where = endpoint;
  RPC_WSTR text = nullptr;
  RPC_STATUS status = RpcStringBindingComposeW(nullptr, protseq.data(), nullptr, where.data(), nullptr, &text);
  RPC_BINDING_HANDLE binding = nullptr;
  if (status == RPC_S_OK) status = RpcBindingFromStringBindingW(text, &binding);
  RpcStringFreeW(&text);
  if (status != RPC_S_OK) return status;
  RPC_CLIENT_INTERFACE client{};
  client.Length = sizeof client;
  client.InterfaceId = interfaceId;
  RPC_MESSAGE message{};
  message.Handle = binding;
  message.ProcNum = procNum;
  message.RpcInterfaceInformation = &client;
  message.BufferLength = static_cast<unsigned>(input.size());
  status = I_RpcGetBuffer(&message);
  if (status == RPC_S_OK) {
    std::copy(input.begin(), input.end(), static_cast<std::uint8_t*>(message.Buffer));
    status = I_RpcSendReceive(&message);
  }
  if (status == RPC_S_OK) {
    const auto* bytes = static_cast<const std::uint8_t*>(message.Buffer);
    reply.assign(bytes, bytes + message.BufferLength);
  }
  I_RpcFreeBuffer(&message);
  RpcBindingFree(&binding);
  return status;
}

}  // namespace zx::rpc
