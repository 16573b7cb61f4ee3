// The stand-in's fault modes.
#include "faults.h"

#include <chrono>
#include <memory>
#include <thread>

#include "soapmessages.h"

namespace zx::webservice {
namespace {

constexpr auto kTrickle = std::chrono::milliseconds(100);
constexpr char kGarbage[] = "\x89PNG\r\n\x1a\n\xff\xfe<<<this is not a SOAP answer &&& \x01\x02\x03";

}  // namespace

std::optional<FaultMode> ParseFaultMode(std::string_view name) {
  if (name == "garbage") return FaultMode::Garbage;
  if (name == "http500") return FaultMode::Http500;
  if (name == "soapfault") return FaultMode::SoapFault;
  if (name == "truncated") return FaultMode::Truncated;
  if (name == "slow") return FaultMode::Slow;
  if (name == "slowpackages") return FaultMode::SlowPackages;
  if (name == "noanswer") return FaultMode::NoAnswer;
  return std::nullopt;
}

std::optional<FaultMode> FaultPlan::Take() {
  if (!active_) return std::nullopt;
  if (!limited_) return mode_;
  unsigned left = remaining_.load();
  while (left > 0 && !remaining_.compare_exchange_weak(left, left - 1)) {
  }
  return left > 0 ? std::optional<FaultMode>(mode_) : std::nullopt;
}

void AnswerWithFault(FaultMode mode, const std::string& answer, const std::string& contentType,
                     httplib::Response& response) {
  auto body = std::make_shared<std::string>(answer);
  auto sent = std::make_shared<bool>(false);
  switch (mode) {
    case FaultMode::Garbage:
      response.set_content(std::string(kGarbage, sizeof(kGarbage) - 1), "text/xml; charset=utf-8");
      return;
    case FaultMode::Http500:
      response.status = 500;
      response.set_content("<html><body>Internal Server Error</body></html>", "text/html");
      return;
    case FaultMode::SoapFault:
      response.status = 500;
      response.set_content(FaultEnvelope("soap:Server", "Server was unable to process request."),
                           "text/xml; charset=utf-8");
      return;
    case FaultMode::Truncated:
      response.set_content_provider(body->size(), contentType,
                                    [body, sent](std::size_t, std::size_t, httplib::DataSink& sink) {
                                      if (*sent) return false;  // closes the connection
                                      *sent = true;
                                      sink.write(body->data(), body->size() / 2);
                                      return true;
                                    });
      return;
    case FaultMode::Slow:
    case FaultMode::SlowPackages:
      response.set_content_provider(body->size(), contentType,
                                    [body](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                      std::this_thread::sleep_for(kTrickle);
                                      return sink.is_writable() && sink.write(body->data() + offset, 1);
                                    });
      return;
    case FaultMode::NoAnswer:
      for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
  }
}

}  // namespace zx::webservice
