// Fuzz target: hostile bytes as the response envelope of each web-service call the system
// makes (the update service's three operations and the misc service's uploads); the first
// byte picks the operation. Reading must never crash; a result or fault that reads must,
// written again as the service writes its answers, read back to the same values; read into a
// sink, the result's pieces must join to the same text.
// Links: pugixml::pugixml
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../platform/programs/webservice/soapmessages.cpp"
#include "zx/soapresultsink.h"
#include "zx/soapservices.h"
#include "zx/utf8text.h"

namespace {

const zx::soap::OperationDescription& OperationOf(std::uint8_t choice) {
  using namespace zx::soap;
  switch (choice % 6) {
    case 0: return GetUpdateInfoOperation();
    case 1: return GetUpdateInfoWithEncryptOptionsOperation();
    case 2: return GetDownloadInformationWithEncryptOptionsOperation();
    case 3: return UploadFileOperation();
    case 4: return MsUploadFeedbackOperation();
    default: return UploadFeedbackOperation();
  }
}

// Joins what it is handed.
class Joined : public zx::soap::ResultSink {
 public:
  void Begin(std::size_t) override { text.clear(); }
  void Take(std::u16string_view piece) override { text += piece; }
  std::u16string text;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto& operation = OperationOf(data[0]);
  const std::string_view envelope(reinterpret_cast<const char*>(data) + 1, size - 1);
  const zx::soap::Response response =
      zx::soap::ReadResponse(std::string(envelope), zx::soap::kServiceNamespace, operation);
  if (response.kind == zx::soap::Response::Result && response.result) {
    const auto text = zx::inet::ToUtf8(*response.result);
    if (!text) std::abort();
    const auto again = zx::soap::ReadResponse(zx::webservice::ResultEnvelope(operation, *text),
                                              zx::soap::kServiceNamespace, operation);
    if (again.kind != zx::soap::Response::Result || !again.result || *again.result != *response.result) std::abort();
    Joined joined;
    zx::soap::ScopedResultSink streamed(joined);
    const auto sunk = zx::soap::ReadResponse(std::string(envelope), zx::soap::kServiceNamespace, operation);
    if (sunk.kind != zx::soap::Response::Result || !sunk.result || !(*sunk.result).empty() ||
        joined.text != *response.result)
      std::abort();
  } else if (response.kind == zx::soap::Response::Fault) {
    const auto text = zx::inet::ToUtf8(response.fault.m_strFaultString);
    if (!text) std::abort();
    const auto again = zx::soap::ReadResponse(zx::webservice::FaultEnvelope("soap:Server", *text),
                                              zx::soap::kServiceNamespace, operation);
    if (again.kind != zx::soap::Response::Fault || again.fault.m_strFaultString != response.fault.m_strFaultString)
      std::abort();
  }
  return 0;
}
