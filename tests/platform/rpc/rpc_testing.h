// What the RPC tests and their peer program share: the test interface and the records.
#pragma once
#include <cstdint>
#include <vector>

#include "rpc.h"

namespace zx::rpctest {

constexpr std::size_t kRecordSize = 1076;
// The interface id of the test interface (one version).
extern const RPC_SYNTAX_IDENTIFIER kInterfaceId;
// A record whose bytes follow a pattern of the seed.
std::vector<std::uint8_t> PatternRecord(std::uint8_t seed);
// Calls procedure procNum of the test interface at the named-pipe endpoint with the bytes;
// the reply lands in reply.
RPC_STATUS Call(const char16_t* endpoint, unsigned procNum, const std::vector<std::uint8_t>& bytes,
                std::vector<std::uint8_t>& reply);

}  // namespace zx::rpctest
