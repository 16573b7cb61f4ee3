// Fuzz target: hostile bytes as the response envelope of each web-service call the system
// makes (the update service's three operations and the misc service's uploads); the first
// byte picks the operation. Reading must never crash; a result or fault that reads must,
// written again as the service writes its answers, read back to the same values; read into a
// sink, the result's pieces must join to the same text. Read as it arrives (the first byte also
// picks the size of the blocks), the envelope must say the same as read whole: into a sink, a
// result must join to the same text, and anything else leave the sink empty.
// Links: pugixml::pugixml
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../platform/programs/webservice/soapmessages.cpp"
#include "zx/soapresultsink.h"
#include "zx/soapservices.h"
#include "zx/soapwire.h"
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

// The envelope read as it arrives, in blocks of `block` bytes.
zx::soap::Response Streamed(std::string_view envelope, std::size_t block, const zx::soap::OperationDescription& operation) {
  zx::soap::ResponseStream stream(operation.resultPart, envelope.size());
  for (std::size_t at = 0; at < envelope.size(); at += block) stream.Take(envelope.substr(at, block));
  return stream.Finish(zx::soap::kServiceNamespace, operation);
}

bool Same(const zx::soap::Response& a, const zx::soap::Response& b) {
  return a.kind == b.kind && static_cast<bool>(a.result) == static_cast<bool>(b.result) &&
         (!a.result || *a.result == *b.result) && a.fault.m_strFaultString == b.fault.m_strFaultString;
}

// Read whole and as it arrives, into a sink; aborts where they disagree.
void CompareStreamedIntoSink(std::string_view envelope, std::size_t block, const zx::soap::OperationDescription& operation) {
  Joined whole;
  Joined streamed;
  zx::soap::Response wholeResponse;
  zx::soap::Response streamedResponse;
  {
    zx::soap::ScopedResultSink sink(whole);
    wholeResponse = zx::soap::ReadResponse(std::string(envelope), zx::soap::kServiceNamespace, operation);
  }
  {
    zx::soap::ScopedResultSink sink(streamed);
    streamedResponse = Streamed(envelope, block, operation);
  }
  // A start tag of the result's name before the result's own: its text went on and was
  // forgotten, the envelope is malformed.
  if (streamedResponse.kind != zx::soap::Response::Result && !streamed.text.empty()) std::abort();
  if (streamedResponse.kind == zx::soap::Response::Malformed) return;
  if (!Same(wholeResponse, streamedResponse) || whole.text != streamed.text) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto& operation = OperationOf(data[0]);
  const std::size_t block = 1 + data[0] / 6;
  const std::string_view envelope(reinterpret_cast<const char*>(data) + 1, size - 1);
  const zx::soap::Response response =
      zx::soap::ReadResponse(std::string(envelope), zx::soap::kServiceNamespace, operation);
  if (!Same(response, Streamed(envelope, block, operation))) std::abort();
  CompareStreamedIntoSink(envelope, block, operation);
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
