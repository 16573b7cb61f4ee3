// The test interface's client side and records, shared by the tests and the peer program.
#include "rpc_testing.h"

#include <algorithm>
#include <string>

namespace zx::rpctest {

const RPC_SYNTAX_IDENTIFIER kInterfaceId = {
    {0x5a7e0c11, 0x2b4d, 0x4f60, {0x9a, 0x41, 0x0d, 0x7c, 0x33, 0x85, 0x12, 0xe9}}, {1, 0}};

std::vector<std::uint8_t> PatternRecord(std::uint8_t seed) {
  std::vector<std::uint8_t> record(kRecordSize);
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(i * 7 + seed);
  return record;
}

RPC_STATUS Call(const char16_t* endpoint, unsigned procNum, const std::vector<std::uint8_t>& bytes,
                std::vector<std::uint8_t>& reply) {
  RPC_WSTR text = nullptr;
  std::u16string protseq = u"ncacn_np", where = endpoint;
  RPC_STATUS status = RpcStringBindingComposeW(nullptr, protseq.data(), nullptr, where.data(), nullptr, &text);
  RPC_BINDING_HANDLE binding = nullptr;
  if (status == RPC_S_OK) status = RpcBindingFromStringBindingW(text, &binding);
  RpcStringFreeW(&text);
  if (status != RPC_S_OK) return status;
  RPC_CLIENT_INTERFACE client{};
  client.Length = sizeof client;
  client.InterfaceId = kInterfaceId;
  RPC_MESSAGE message{};
  message.Handle = binding;
  message.ProcNum = procNum;
  message.RpcInterfaceInformation = &client;
  message.BufferLength = static_cast<unsigned>(bytes.size());
  status = I_RpcGetBuffer(&message);
  if (status == RPC_S_OK) {
    std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(message.Buffer));
    status = I_RpcSendReceive(&message);
  }
  if (status == RPC_S_OK) {
    const auto* data = static_cast<const std::uint8_t*>(message.Buffer);
    reply.assign(data, data + message.BufferLength);
  }
  I_RpcFreeBuffer(&message);
  RpcBindingFree(&binding);
  return status;
}

}  // namespace zx::rpctest
