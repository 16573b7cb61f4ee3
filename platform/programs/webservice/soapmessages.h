// The stand-in's side of the SOAP exchange: reading a call of one of the maker's operations
// (parts checked by name, in wire order) and writing the result or fault envelope.
#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "zx/soapservices.h"

namespace zx::webservice {

struct CallPart {
  bool nil = false;
  std::string value;  // UTF-8 text, "true"/"false", or the decoded bytes of base64Binary
};

struct SoapCall {
  const soap::OperationDescription* operation = nullptr;
  std::vector<CallPart> parts;  // in the operation's wire order
  // The text of a string part; empty when nil.
  const std::string& Text(std::size_t index) const { return parts[index].value; }
  bool Flag(std::size_t index) const { return parts[index].value == "true"; }
};

// The call an envelope makes, or nullopt and why not.
std::optional<SoapCall> ReadCall(std::string_view envelope,
                                 std::span<const soap::OperationDescription* const> operations,
                                 std::string& error);

// XML text escaping of UTF-8 text (&, <, >, and CR kept as a character reference), as a text of
// its own or appended.
void AppendEscapedXml(std::string& out, std::string_view text);
std::string EscapedXml(std::string_view text);

std::string ResultEnvelope(const soap::OperationDescription& operation, std::string_view result);
// What a result envelope holds before and after its escaped result.
struct EnvelopeEnds {
  std::string head;
  std::string tail;
};
EnvelopeEnds ResultEnvelopeEnds(const soap::OperationDescription& operation);
// faultCode: "soap:Client" or "soap:Server".
std::string FaultEnvelope(std::string_view faultCode, std::string_view faultText);

}  // namespace zx::webservice
