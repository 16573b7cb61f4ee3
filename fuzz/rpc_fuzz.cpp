// Fuzz target: hostile bytes on an RPC connection, read as the server reads a call (request
// frame) and as the client reads the answer (reply frame), and sent to a served endpoint of
// this process, whose listener reads and dispatches them to an interface that echoes its
// payload. Reading must never crash or wait past the bytes; a frame that reads holds exactly
// its declared payload, within the limit, and written again reads back the same; a call of
// the served interface's procedure comes back with its payload, any other is refused.
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <thread>

#include "../platform/rpc/src/wire.h"
#include "fuzz_support.h"
#include "rpc.h"

namespace {

const RPC_SYNTAX_IDENTIFIER kInterfaceId = {
    {0x40fc296b, 0x47ca, 0x6710, {0xb3, 0x1d, 0x00, 0xdd, 0x01, 0x06, 0x62, 0xda}}, {1, 0}};

void Echo(PRPC_MESSAGE message) {
  const std::vector<std::uint8_t> bytes(static_cast<const std::uint8_t*>(message->Buffer),
                                        static_cast<const std::uint8_t*>(message->Buffer) + message->BufferLength);
  if (I_RpcGetBuffer(message) != RPC_S_OK) std::abort();
  std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(message->Buffer));
}

RPC_DISPATCH_FUNCTION g_functions[] = {Echo, nullptr};
RPC_DISPATCH_TABLE g_table = {2, g_functions, 0};
RPC_SERVER_INTERFACE g_interface = {sizeof(RPC_SERVER_INTERFACE), kInterfaceId, {}, &g_table, 0,
                                    nullptr, nullptr, nullptr, 0};

// The socket name of the endpoint this process serves (made and listened on at first use).
const std::string& Served() {
  static const std::string name = [] {
    zx::fuzz::ScratchRoot();
    std::u16string protseq = u"ncacn_np", endpoint = u"\\pipe\\zxfuzz_rpc";
    std::string socket;
    RPC_STATUS status = 0;
    if (!zx::rpc::EndpointName(protseq, endpoint, socket, status) ||
        RpcServerUseProtseqEpW(protseq.data(), 10, endpoint.data(), nullptr) != RPC_S_OK ||
        RpcServerRegisterIfEx(&g_interface, nullptr, nullptr, RPC_IF_ALLOW_CALLBACKS_WITH_NO_AUTH,
                              RPC_C_LISTEN_MAX_CALLS_DEFAULT, nullptr) != RPC_S_OK)
      std::abort();
    std::thread([] { RpcServerListen(1, RPC_C_LISTEN_MAX_CALLS_DEFAULT, FALSE); }).detach();
    return socket;
  }();
  return name;
}

// Sends the bytes to the served endpoint and reads its reply; false when none came.
bool CallServed(const std::uint8_t* data, std::size_t size, RPC_STATUS& status, std::vector<std::uint8_t>& reply) {
  RPC_STATUS connected = 0;
  int fd = -1;
  // The listener may still be starting.
  for (int tries = 0; fd < 0 && tries < 1000; ++tries) {
    fd = zx::rpc::ConnectTo(Served(), connected);
    if (fd < 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (fd < 0) std::abort();
  std::size_t sent = 0;
  while (sent < size) {
    const ssize_t n = ::send(fd, data + sent, size - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<std::size_t>(n);
  }
  ::shutdown(fd, SHUT_WR);
  const bool read = zx::rpc::ReadReply(fd, status, reply);
  ::close(fd);
  return read;
}

// A connection whose far end sent the bytes and closed: the near end's descriptor.
int Received(const std::uint8_t* data, std::size_t size) {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) std::abort();
  const int buffer = static_cast<int>(size) + 4096;
  ::setsockopt(ends[0], SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
  ::setsockopt(ends[1], SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
  std::size_t sent = 0;
  while (sent < size) {
    const ssize_t n = ::send(ends[0], data + sent, size - sent, MSG_NOSIGNAL);
    if (n <= 0) std::abort();
    sent += static_cast<std::size_t>(n);
  }
  ::close(ends[0]);
  return ends[1];
}

// The bytes written to a connection by `write`.
template <class Write>
std::vector<std::uint8_t> Written(Write write) {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) std::abort();
  if (!write(ends[0])) std::abort();
  ::close(ends[0]);
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[4096];
  for (ssize_t n; (n = ::read(ends[1], chunk, sizeof chunk)) > 0;) bytes.insert(bytes.end(), chunk, chunk + n);
  ::close(ends[1]);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Frames larger than the writer's socket buffer would need a second thread to read back.
  if (size > 65536) return 0;
  int fd = Received(data, size);
  zx::rpc::Request request;
  const bool readRequest = zx::rpc::ReadRequest(fd, request);
  ::close(fd);
  if (readRequest) {
    if (request.payload.size() > zx::rpc::kMaxPayload) std::abort();
    const auto again = Written([&](int out) { return zx::rpc::WriteRequest(out, request); });
    if (again.size() > size || std::memcmp(again.data(), data, again.size()) != 0) std::abort();
  }

  // A whole request is also sent to the served endpoint as a call.
  if (readRequest) {
    RPC_STATUS served = 0;
    std::vector<std::uint8_t> echoed;
    if (!CallServed(data, size, served, echoed)) std::abort();
    const bool ours = std::memcmp(&request.interfaceId, &kInterfaceId, sizeof kInterfaceId) == 0;
    const bool other = std::memcmp(&request.interfaceId.SyntaxGUID, &kInterfaceId.SyntaxGUID, sizeof(GUID)) != 0;
    if (ours && request.procNum == 0 && (served != RPC_S_OK || echoed != request.payload)) std::abort();
    if ((other || request.procNum != 0) && served == RPC_S_OK) std::abort();
  }

  fd = Received(data, size);
  RPC_STATUS status = 0;
  std::vector<std::uint8_t> payload;
  const bool readReply = zx::rpc::ReadReply(fd, status, payload);
  ::close(fd);
  if (readReply) {
    if (payload.size() > zx::rpc::kMaxPayload) std::abort();
    const auto again = Written([&](int out) {
      return zx::rpc::WriteReply(out, status, payload.data(), static_cast<std::uint32_t>(payload.size()));
    });
    if (again.size() > size || std::memcmp(again.data(), data, again.size()) != 0) std::abort();
  }
  return 0;
}
