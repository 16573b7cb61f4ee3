// Peer program of the RPC tests: "client ROOT ENDPOINT" sends the pattern record of seed 3
// to procedure 0 and checks that the reply is the pattern record of seed 11, byte for byte.
// Exit 0 when it is, 1 when the call failed (status on stderr), 2 when the bytes differ.
#include <cstdio>
#include <string>

#include "rpc_testing.h"
#include "zx/machine.h"

int main(int argc, char** argv) {
  if (argc != 4 || std::string(argv[1]) != "client") return 64;
  zx::machine::UseRoot(argv[2]);
  const std::string endpoint = argv[3];
  const std::u16string wide(endpoint.begin(), endpoint.end());
  std::vector<std::uint8_t> reply;
  const RPC_STATUS status = zx::rpctest::Call(wide.c_str(), 0, zx::rpctest::PatternRecord(3), reply);
  if (status != RPC_S_OK) {
    std::fprintf(stderr, "call failed: %ld\n", static_cast<long>(status));
    return 1;
  }
  return reply == zx::rpctest::PatternRecord(11) ? 0 : 2;
}
