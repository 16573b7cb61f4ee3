// The RPC transport: endpoint sockets in the runtime folder and the framing of one call.
// Rpc-component-internal.
//
// A call is one connection: the client sends a request frame, the server answers one reply
// frame and closes. Request: "ZXRP", interface GUID (16 bytes), major and minor version
// (2 bytes each), procedure number (4), payload length (4), payload. Reply: status (4),
// payload length (4), payload. Numbers little-endian.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "rpcdcep.h"

namespace zx::rpc {

constexpr std::uint32_t kMaxPayload = 16u << 20;

// Socket file name of an endpoint of a protocol sequence; false (with an RPC status) when
// the protocol sequence or the endpoint is not one we serve.
bool EndpointName(const std::u16string& protseq, const std::u16string& endpoint,
                  std::string& name, RPC_STATUS& status);
// Binds and listens on the endpoint's socket (fd >= 0), or answers -1 with a status.
int ListenOn(const std::string& name, RPC_STATUS& status);
// Connects to a served endpoint; -1 with RPC_S_SERVER_UNAVAILABLE when nobody serves it, or
// ERROR_ACCESS_DENIED when the server is another user's process.
int ConnectTo(const std::string& name, RPC_STATUS& status);
// The peer's uid and pid; false when they cannot be read.
bool PeerOf(int fd, unsigned& uid, unsigned& pid);

struct Request {
  RPC_SYNTAX_IDENTIFIER interfaceId{};
  std::uint32_t procNum = 0;
  std::vector<std::uint8_t> payload;
};
bool WriteRequest(int fd, const Request& request);
bool ReadRequest(int fd, Request& request);
bool WriteReply(int fd, RPC_STATUS status, const void* payload, std::uint32_t length);
bool ReadReply(int fd, RPC_STATUS& status, std::vector<std::uint8_t>& payload);

}  // namespace zx::rpc
