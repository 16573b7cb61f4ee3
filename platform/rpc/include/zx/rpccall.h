// One call of a named-pipe interface with raw request bytes, for the stand-in programs and the
// tests that play a peer: binds to the endpoint, sends the bytes as the procedure's input and
// hands back the reply's bytes.
#pragma once
#include <rpcdcep.h>

#include <cstdint>
#include <vector>

namespace zx::rpc {

RPC_STATUS CallRaw(const char16_t* endpoint, const RPC_SYNTAX_IDENTIFIER& interfaceId, unsigned procNum,
                   const std::vector<std::uint8_t>& input, std::vector<std::uint8_t>& reply);

}  // namespace zx::rpc
