// String bindings, binding handles and the message calls of a client.
#include "bindings.h"

#include <unistd.h>

#include <map>
#include <memory>
#include <mutex>
#include <new>

#include "rpcdcep.h"
#include "wire.h"

namespace zx::rpc {
namespace {

struct Table {
  std::mutex lock;
  std::map<RPC_BINDING_HANDLE, std::unique_ptr<Binding>> live;
};
Table& Bindings() {
  static Table* table = new Table;
  return *table;
}

thread_local RPC_BINDING_HANDLE t_currentCall = nullptr;

const std::u16string kSpecial = u"\\@:[],";

void AppendEscaped(std::u16string& out, const WCHAR* text) {
  for (; text && *text; ++text) {
    if (kSpecial.find(*text) != std::u16string::npos) out += u'\\';
    out += *text;
  }
}

// Reads up to (not past) one of the stop characters, undoing the escapes.
std::u16string ReadPart(std::u16string_view text, std::size_t& at, std::u16string_view stops) {
  std::u16string part;
  while (at < text.size() && stops.find(text[at]) == std::u16string_view::npos) {
    if (text[at] == u'\\' && at + 1 < text.size()) ++at;
    part += text[at++];
  }
  return part;
}

}  // namespace

RPC_BINDING_HANDLE NewBinding(const Binding& binding) {
  auto made = std::make_unique<Binding>(binding);
  RPC_BINDING_HANDLE handle = made.get();
  Table& table = Bindings();
  std::lock_guard<std::mutex> guard(table.lock);
  table.live.emplace(handle, std::move(made));
  return handle;
}

bool FindBinding(RPC_BINDING_HANDLE handle, Binding& binding) {
  Table& table = Bindings();
  std::lock_guard<std::mutex> guard(table.lock);
  const auto found = table.live.find(handle);
  if (found == table.live.end()) return false;
  binding = *found->second;
  return true;
}

bool FreeBinding(RPC_BINDING_HANDLE handle) {
  Table& table = Bindings();
  std::lock_guard<std::mutex> guard(table.lock);
  return table.live.erase(handle) == 1;
}

RPC_BINDING_HANDLE CurrentCall() { return t_currentCall; }
void SetCurrentCall(RPC_BINDING_HANDLE handle) { t_currentCall = handle; }

}  // namespace zx::rpc

using namespace zx::rpc;

RPC_STATUS RpcStringBindingComposeW(RPC_WSTR objectUuid, RPC_WSTR protseq, RPC_WSTR networkAddress,
                                    RPC_WSTR endpoint, RPC_WSTR options, RPC_WSTR* stringBinding) {
  if (!stringBinding) return ERROR_INVALID_PARAMETER;
  std::u16string text;
  if (objectUuid && *objectUuid) {
    AppendEscaped(text, objectUuid);
    text += u'@';
  }
  AppendEscaped(text, protseq);
  text += u':';
  AppendEscaped(text, networkAddress);
  if ((endpoint && *endpoint) || (options && *options)) {
    text += u'[';
    AppendEscaped(text, endpoint);
    if (options && *options) {
      text += u',';
      AppendEscaped(text, options);
    }
    text += u']';
  }
  auto* copy = new (std::nothrow) WCHAR[text.size() + 1];
  if (!copy) return RPC_S_OUT_OF_RESOURCES;
  text.copy(copy, text.size());
  copy[text.size()] = 0;
  *stringBinding = copy;
  return RPC_S_OK;
}

RPC_STATUS RpcStringFreeW(RPC_WSTR* text) {
  if (!text) return ERROR_INVALID_PARAMETER;
  delete[] *text;
  *text = nullptr;
  return RPC_S_OK;
}

RPC_STATUS RpcBindingFromStringBindingW(RPC_WSTR stringBinding, RPC_BINDING_HANDLE* binding) {
  if (!binding) return ERROR_INVALID_PARAMETER;
  *binding = nullptr;
  if (!stringBinding) return RPC_S_INVALID_STRING_BINDING;
  const std::u16string_view text(stringBinding);
  std::size_t at = 0;
  std::u16string protseq = ReadPart(text, at, u"@:");
  if (at < text.size() && text[at] == u'@') protseq = ReadPart(text, ++at, u":");
  if (at == text.size() || text[at] != u':') return RPC_S_INVALID_STRING_BINDING;
  const std::u16string address = ReadPart(text, ++at, u"[");
  std::u16string endpoint;
  if (at < text.size()) {
    endpoint = ReadPart(text, ++at, u",]");
    ReadPart(text, at, u"]");
    if (at + 1 != text.size()) return RPC_S_INVALID_STRING_BINDING;
  }
  if (!address.empty() && address != u"localhost" && address != u".") return RPC_S_INVALID_NET_ADDR;
  Binding made;
  RPC_STATUS status = RPC_S_OK;
  if (!EndpointName(protseq, endpoint, made.endpoint, status)) return status;
  *binding = NewBinding(made);
  return RPC_S_OK;
}

RPC_STATUS RpcBindingFree(RPC_BINDING_HANDLE* binding) {
  if (!binding || !FreeBinding(*binding)) return RPC_S_INVALID_BINDING;
  *binding = nullptr;
  return RPC_S_OK;
}

RPC_STATUS I_RpcGetBuffer(PRPC_MESSAGE message) {
  if (!message || message->BufferLength > kMaxPayload) return ERROR_INVALID_PARAMETER;
  message->Buffer = new (std::nothrow) std::uint8_t[message->BufferLength ? message->BufferLength : 1]();
  return message->Buffer ? RPC_S_OK : RPC_S_OUT_OF_RESOURCES;
}

RPC_STATUS I_RpcFreeBuffer(PRPC_MESSAGE message) {
  if (!message) return ERROR_INVALID_PARAMETER;
  delete[] static_cast<std::uint8_t*>(message->Buffer);
  message->Buffer = nullptr;
  return RPC_S_OK;
}

RPC_STATUS I_RpcSendReceive(PRPC_MESSAGE message) {
  if (!message || !message->RpcInterfaceInformation) return ERROR_INVALID_PARAMETER;
  Binding binding;
  if (!FindBinding(message->Handle, binding) || binding.serverCall) return RPC_S_INVALID_BINDING;
  Request request;
  request.interfaceId = static_cast<RPC_CLIENT_INTERFACE*>(message->RpcInterfaceInformation)->InterfaceId;
  request.procNum = message->ProcNum;
  const auto* bytes = static_cast<const std::uint8_t*>(message->Buffer);
  if (bytes) request.payload.assign(bytes, bytes + message->BufferLength);
  RPC_STATUS status = RPC_S_OK;
  const int fd = ConnectTo(binding.endpoint, status);
  if (fd < 0) return status;
  std::vector<std::uint8_t> reply;
  const bool exchanged = WriteRequest(fd, request) && ReadReply(fd, status, reply);
  ::close(fd);
  if (!exchanged) return RPC_S_CALL_FAILED;
  if (status != RPC_S_OK) return status;
  I_RpcFreeBuffer(message);
  message->BufferLength = static_cast<unsigned>(reply.size());
  if (I_RpcGetBuffer(message) != RPC_S_OK) return RPC_S_OUT_OF_RESOURCES;
  std::copy(reply.begin(), reply.end(), static_cast<std::uint8_t*>(message->Buffer));
  return RPC_S_OK;
}

RPC_STATUS I_RpcBindingInqLocalClientPID(RPC_BINDING_HANDLE binding, unsigned long* pid) {
  if (!pid) return ERROR_INVALID_PARAMETER;
  Binding found;
  if (!FindBinding(binding ? binding : CurrentCall(), found) || !found.serverCall)
    return RPC_S_INVALID_BINDING;
  *pid = found.clientPid;
  return RPC_S_OK;
}
