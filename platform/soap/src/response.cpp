// Reading response envelopes: the result part of the operation, or the SOAP fault.
#include "zx/soapwire.h"

#include <algorithm>
#include <utility>

#include "zx/soapresultsink.h"
#include "zx/soapxml.h"
#include "zx/utf8text.h"

namespace zx::soap {
namespace {

// The text of a simple element; nullopt when it holds elements or bytes that are not UTF-8.
std::optional<std::u16string> SimpleText(pugi::xml_node node) {
  std::string text;
  if (!ElementText(node, text)) return std::nullopt;
  return inet::FromUtf8(text);
}

// Hands a text that Utf16Length accepted to the sink in pieces, each cut before a character's
// first byte; a text of one unit a byte (all ASCII) goes as it stands.
void SendToSink(std::string_view text, std::size_t units16, ResultSink& sink) {
  constexpr std::size_t kPieceBytes = 16 * 1024;
  if (units16 == text.size()) {
    for (std::size_t at = 0; at < text.size(); at += kPieceBytes) sink.TakeAscii(text.substr(at, kPieceBytes));
    return;
  }
  char16_t units[kPieceBytes];
  while (!text.empty()) {
    std::size_t cut = std::min(kPieceBytes, text.size());
    while (cut < text.size() && cut > 1 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    const std::string_view piece = text.substr(0, cut);
    const std::size_t count = *inet::Utf16Length(piece);
    inet::Utf8ToUtf16(piece, units);
    sink.Take(std::u16string_view(units, count));
    text.remove_prefix(cut);
  }
}

// The result text converted from where the document holds it straight into its string, or
// into the thread's sink (the string is then empty), after the characters sent on to it while
// the envelope came (`diverted`, when the text began there); false when it holds elements or
// bytes that are not UTF-8, or when memory ran out.
bool ReadResultText(pugi::xml_node node, const Diverted* diverted, ResultText& result) {
  std::string room;
  std::string_view text;
  if (!ElementTextView(node, room, text)) return false;
  const std::optional<std::size_t> units = inet::Utf16Length(text);
  if (!units || *units + (diverted ? diverted->units : 0) > 0x7FFFFFFFu) return false;
  ResultSink* const sink = CurrentResultSink();
  BSTR converted = SysAllocStringLen(nullptr, sink ? 0 : static_cast<UINT>(*units));
  if (!converted) return false;
  result = ResultText(converted);
  if (!sink) {
    inet::Utf8ToUtf16(text, converted);
    return true;
  }
  if (!diverted) sink->Begin(*units);
  SendToSink(text, *units, *sink);
  return true;
}

// The document's element names stand in the envelope's own bytes: the offset of a name's "<"
// (npos for a name found elsewhere).
std::size_t TagAt(const std::string& envelope, pugi::xml_node node) {
  const char* const name = node.name();
  const bool inside = name > envelope.data() && name < envelope.data() + envelope.size();
  return inside ? static_cast<std::size_t>(name - envelope.data()) - 1 : std::string::npos;
}

std::u16string FaultField(pugi::xml_node fault, const char* name) {
  for (pugi::xml_node child = fault.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element && LocalName(child.name()) == name)
      return SimpleText(child).value_or(std::u16string());
  }
  return {};
}

}  // namespace

ResultText& ResultText::operator=(ResultText&& other) noexcept {
  if (this != &other) {
    SysFreeString(text_);
    text_ = other.Release();
  }
  return *this;
}

ResultText::~ResultText() { SysFreeString(text_); }

std::u16string_view ResultText::operator*() const { return {text_, SysStringLen(text_)}; }

BSTR ResultText::Release() { return std::exchange(text_, nullptr); }

namespace {

Response ReadEnvelope(std::string& envelope, std::string_view serviceNamespace, const OperationDescription& operation,
                      std::optional<Diverted> diverted) {
  Response response;
  pugi::xml_document document;
  if (!document.load_buffer_inplace(envelope.data(), envelope.size(), pugi::parse_default | pugi::parse_ws_pcdata,
                                    pugi::encoding_utf8))
    return response;
  const pugi::xml_node root = document.document_element();
  if (!IsElement(root, kEnvelopeNamespace, "Envelope")) return response;
  const pugi::xml_node payload = FirstElement(ChildElement(root, kEnvelopeNamespace, "Body"));
  if (!payload) return response;

  if (IsElement(payload, kEnvelopeNamespace, "Fault")) {
    response.kind = Response::Fault;
    response.fault.m_strFaultCode = FaultField(payload, "faultcode");
    response.fault.m_strFaultString = FaultField(payload, "faultstring");
    response.fault.m_strFaultActor = FaultField(payload, "faultactor");
    response.fault.m_strDetail = FaultField(payload, "detail");
    return response;
  }
  if (!IsElement(payload, serviceNamespace, std::string(operation.name) + "Response")) return response;
  const pugi::xml_node result = ChildElement(payload, serviceNamespace, operation.resultPart);
  // Text sent on from another element than the result's cannot be taken back.
  if (diverted && (!result || TagAt(envelope, result) != diverted->elementAt)) return response;
  if (result && !IsNil(result) && !ReadResultText(result, diverted ? &*diverted : nullptr, response.result))
    return response;
  response.kind = Response::Result;
  return response;
}

}  // namespace

Response ReadResponse(std::string envelope, std::string_view serviceNamespace, const OperationDescription& operation,
                      std::optional<Diverted> diverted) {
  ResultSink* const sink = CurrentResultSink();
  if (sink && !diverted) sink->Begin(0);
  Response response = ReadEnvelope(envelope, serviceNamespace, operation, diverted);
  // Text sent on for anything but a result's text (a nil result too) is forgotten.
  if (sink && diverted && !(response.kind == Response::Result && response.result)) sink->Begin(0);
  return response;
}

}  // namespace zx::soap
