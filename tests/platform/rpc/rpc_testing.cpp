// The test interface's client side and records, shared by the tests and the peer program.
#include "rpc_testing.h"

#include "zx/rpccall.h"

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
  return zx::rpc::CallRaw(endpoint, kInterfaceId, procNum, bytes, reply);
}

}  // namespace zx::rpctest
