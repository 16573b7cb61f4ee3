// The RPC server of the process: endpoints, registered interfaces, the listen loop and the
// dispatch of each call on a thread of its own, at most the endpoints' limit at a time.
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "bindings.h"
#include "rpcdcep.h"
#include "wire.h"
#include "zx/machine.h"

using namespace zx::rpc;

namespace {

constexpr int kCallTimeoutSeconds = 10;

struct Endpoint {
  std::string key;   // runtime folder and name: one machine root's endpoint
  std::string name;
  int fd = -1;
  unsigned maxCalls = 0;
};

struct Interface {
  RPC_SERVER_INTERFACE* spec = nullptr;
  RPC_IF_CALLBACK_FN callback = nullptr;
};

struct Server {
  std::mutex lock;
  std::condition_variable changed;
  std::vector<Endpoint> endpoints;
  std::vector<Interface> interfaces;
  bool listening = false;
  bool stopping = false;
  unsigned active = 0;
  int wake[2] = {-1, -1};
  std::thread background;
};

Server& TheServer() {
  static Server* server = [] {
    auto* made = new Server;
    if (::pipe2(made->wake, O_CLOEXEC | O_NONBLOCK) != 0) made->wake[0] = made->wake[1] = -1;
    return made;
  }();
  return *server;
}

bool SameInterface(const RPC_SYNTAX_IDENTIFIER& a, const RPC_SYNTAX_IDENTIFIER& b) {
  return a.SyntaxGUID == b.SyntaxGUID && a.SyntaxVersion.MajorVersion == b.SyntaxVersion.MajorVersion;
}

// What the registered interface answers to one request: a status and the reply bytes.
RPC_STATUS Dispatch(const Request& request, RPC_BINDING_HANDLE call, std::vector<std::uint8_t>& reply) {
  Interface found;
  {
    Server& server = TheServer();
    std::lock_guard<std::mutex> guard(server.lock);
    const auto at = std::find_if(server.interfaces.begin(), server.interfaces.end(), [&](const Interface& i) {
      return SameInterface(i.spec->InterfaceId, request.interfaceId);
    });
    if (at == server.interfaces.end()) return RPC_S_UNKNOWN_IF;
    found = *at;
  }
  const PRPC_DISPATCH_TABLE table = found.spec->DispatchTable;
  if (!table || request.procNum >= table->DispatchTableCount || !table->DispatchTable[request.procNum])
    return RPC_S_PROCNUM_OUT_OF_RANGE;
  if (found.callback && found.callback(found.spec, call) != RPC_S_OK) return ERROR_ACCESS_DENIED;
  std::vector<std::uint8_t> input = request.payload;
  RPC_MESSAGE message{};
  message.Handle = call;
  message.Buffer = input.data();
  message.BufferLength = static_cast<unsigned>(input.size());
  message.ProcNum = request.procNum;
  message.RpcInterfaceInformation = found.spec;
  SetCurrentCall(call);
  table->DispatchTable[request.procNum](&message);
  SetCurrentCall(nullptr);
  if (message.Buffer != input.data()) {
    const auto* bytes = static_cast<const std::uint8_t*>(message.Buffer);
    if (bytes) reply.assign(bytes, bytes + message.BufferLength);
    I_RpcFreeBuffer(&message);
  }
  return RPC_S_OK;
}

void Serve(int fd) {
  timeval timeout{kCallTimeoutSeconds, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  unsigned uid = 0, pid = 0;
  std::vector<std::uint8_t> reply;
  Request request;
  // The request is read whole before any answer, so that the answer is never lost to a reset
  // of a connection closed with unread bytes.
  if (ReadRequest(fd, request)) {
    if (!PeerOf(fd, uid, pid) || uid != ::getuid()) {
      WriteReply(fd, ERROR_ACCESS_DENIED, nullptr, 0);  // another user's process: never dispatched
    } else {
      Binding binding;
      binding.serverCall = true;
      binding.clientPid = pid;
      RPC_BINDING_HANDLE call = NewBinding(binding);
      const RPC_STATUS status = Dispatch(request, call, reply);
      FreeBinding(call);
      WriteReply(fd, status, reply.data(), static_cast<std::uint32_t>(reply.size()));
    }
  }
  ::close(fd);
  Server& server = TheServer();
  std::lock_guard<std::mutex> guard(server.lock);
  --server.active;
  server.changed.notify_all();
}

RPC_STATUS ListenLoop(unsigned maxCalls) {
  Server& server = TheServer();
  std::unique_lock<std::mutex> lock(server.lock);
  unsigned limit = std::max(1u, maxCalls);
  std::vector<pollfd> polls;
  for (const Endpoint& endpoint : server.endpoints) {
    limit = std::min(limit, endpoint.maxCalls);
    polls.push_back({endpoint.fd, POLLIN, 0});
  }
  polls.push_back({server.wake[0], POLLIN, 0});
  while (!server.stopping) {
    lock.unlock();
    for (pollfd& entry : polls) entry.revents = 0;
    const int ready = ::poll(polls.data(), polls.size(), -1);
    char drained[64];
    while (::read(server.wake[0], drained, sizeof drained) > 0) {
    }
    lock.lock();
    if (ready <= 0 || server.stopping) continue;
    for (std::size_t i = 0; i + 1 < polls.size() && !server.stopping; ++i) {
      if (!(polls[i].revents & POLLIN)) continue;
      const int client = ::accept4(polls[i].fd, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) continue;
      server.changed.wait(lock, [&] { return server.active < limit || server.stopping; });
      if (server.stopping) {
        ::close(client);
        break;
      }
      ++server.active;
      std::thread(Serve, client).detach();
    }
  }
  server.changed.wait(lock, [&] { return server.active == 0; });
  server.listening = false;
  server.stopping = false;
  server.changed.notify_all();
  return RPC_S_OK;
}

}  // namespace

RPC_STATUS RpcServerUseProtseqEpW(RPC_WSTR protseq, unsigned int maxCalls, RPC_WSTR endpoint,
                                  void* /*securityDescriptor*/) {
  if (!protseq || !endpoint) return ERROR_INVALID_PARAMETER;
  std::string name;
  RPC_STATUS status = RPC_S_OK;
  if (!EndpointName(protseq, endpoint, name, status)) return status;
  const std::string key = zx::machine::RuntimeFolder() + "/" + name;
  Server& server = TheServer();
  std::lock_guard<std::mutex> guard(server.lock);
  if (std::any_of(server.endpoints.begin(), server.endpoints.end(),
                  [&](const Endpoint& e) { return e.key == key; }))
    return RPC_S_OK;
  if (server.listening) return RPC_S_ALREADY_LISTENING;
  const int fd = ListenOn(name, status);
  if (fd < 0) return status;
  server.endpoints.push_back({key, name, fd, maxCalls ? maxCalls : RPC_C_PROTSEQ_MAX_REQS_DEFAULT});
  return RPC_S_OK;
}

RPC_STATUS RpcServerRegisterIfEx(RPC_IF_HANDLE interfaceSpec, UUID* managerType,
                                 RPC_MGR_EPV* managerEpv, unsigned int /*flags*/,
                                 unsigned int /*maxCalls*/, RPC_IF_CALLBACK_FN* securityCallback) {
  auto* spec = static_cast<RPC_SERVER_INTERFACE*>(interfaceSpec);
  if (!spec || managerType || managerEpv) return ERROR_INVALID_PARAMETER;
  Server& server = TheServer();
  std::lock_guard<std::mutex> guard(server.lock);
  for (Interface& known : server.interfaces) {
    if (!SameInterface(known.spec->InterfaceId, spec->InterfaceId)) continue;
    if (known.spec != spec) return RPC_S_ALREADY_REGISTERED;
    known.callback = securityCallback ? *securityCallback : nullptr;
    return RPC_S_OK;
  }
  server.interfaces.push_back({spec, securityCallback ? *securityCallback : nullptr});
  return RPC_S_OK;
}

RPC_STATUS RpcServerUnregisterIf(RPC_IF_HANDLE interfaceSpec, UUID* /*managerType*/,
                                 unsigned int /*waitForCallsToComplete*/) {
  Server& server = TheServer();
  std::lock_guard<std::mutex> guard(server.lock);
  const auto removed = std::erase_if(server.interfaces, [&](const Interface& i) {
    return !interfaceSpec || i.spec == interfaceSpec;
  });
  return removed ? RPC_S_OK : RPC_S_UNKNOWN_IF;
}

RPC_STATUS RpcServerListen(unsigned int /*minimumCallThreads*/, unsigned int maxCalls,
                           unsigned int dontWait) {
  Server& server = TheServer();
  {
    std::lock_guard<std::mutex> guard(server.lock);
    if (server.listening) return RPC_S_ALREADY_LISTENING;
    if (server.endpoints.empty()) return RPC_S_NO_PROTSEQS_REGISTERED;
    if (server.wake[0] < 0) return RPC_S_OUT_OF_RESOURCES;
    server.listening = true;
    server.stopping = false;
  }
  if (!dontWait) return ListenLoop(maxCalls);
  if (server.background.joinable()) server.background.join();
  server.background = std::thread(ListenLoop, maxCalls);
  return RPC_S_OK;
}

RPC_STATUS RpcMgmtStopServerListening(RPC_BINDING_HANDLE binding) {
  if (binding) return RPC_S_INVALID_BINDING;
  Server& server = TheServer();
  std::lock_guard<std::mutex> guard(server.lock);
  if (!server.listening) return RPC_S_NOT_LISTENING;
  server.stopping = true;
  const char wake = 1;
  [[maybe_unused]] const ssize_t written = ::write(server.wake[1], &wake, 1);
  server.changed.notify_all();
  return RPC_S_OK;
}

RPC_STATUS RpcMgmtWaitServerListen() {
  Server& server = TheServer();
  if (!server.background.joinable()) return RPC_S_NOT_LISTENING;
  server.background.join();
  return RPC_S_OK;
}
