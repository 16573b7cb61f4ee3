// Misbehaviour on request, for tests of the clients: in place of its real answer the stand-in
// sends garbage, HTTP 500, a SOAP fault, a cut body, a body that trickles, or nothing at all.
#pragma once
#include <httplib.h>

#include <atomic>
#include <optional>
#include <string>
#include <string_view>

namespace zx::webservice {

// SlowPackages trickles the packages only and answers every other request as it should.
enum class FaultMode { Garbage, Http500, SoapFault, Truncated, Slow, NoAnswer, SlowPackages };

// "garbage", "http500", "soapfault", "truncated", "slow", "noanswer", "slowpackages".
std::optional<FaultMode> ParseFaultMode(std::string_view name);

// Which requests misbehave: the first `count` (all of them when count is 0).
class FaultPlan {
 public:
  FaultPlan(std::optional<FaultMode> mode, unsigned count)
      : mode_(mode.value_or(FaultMode::Garbage)), active_(mode.has_value()), remaining_(count), limited_(count > 0) {}
  // The fault for the next request, if it gets one.
  std::optional<FaultMode> Take();

 private:
  const FaultMode mode_;
  const bool active_;
  std::atomic<unsigned> remaining_;
  const bool limited_;
};

// Sends the fault instead of `answer` (the body that would have gone out with `contentType`).
// NoAnswer blocks the handler for good; Slow sends one byte every 100 ms while the client
// listens; Truncated announces the whole length and closes after half of it.
void AnswerWithFault(FaultMode mode, const std::string& answer, const std::string& contentType,
                     httplib::Response& response);

}  // namespace zx::webservice
