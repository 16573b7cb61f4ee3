// Reading calls and writing answers in the SOAP 1.1 document/literal form.
#include "soapmessages.h"

#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "zx/soapxml.h"

namespace zx::webservice {
namespace {

constexpr const char* kEnvelopeStart =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
    "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body>";
constexpr const char* kEnvelopeEnd = "</soap:Body></soap:Envelope>";

// Decoded bytes of base64 text (white space ignored); nullopt when it is not base64.
std::optional<std::string> FromBase64(std::string_view text) {
  std::array<int, 256> values;
  values.fill(-1);
  const std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (std::size_t i = 0; i < alphabet.size(); ++i) values[static_cast<unsigned char>(alphabet[i])] = static_cast<int>(i);
  std::string digits;
  for (const char c : text)
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') digits += c;
  if (digits.size() % 4 != 0) return std::nullopt;
  std::string out;
  for (std::size_t i = 0; i < digits.size(); i += 4) {
    // Only the last group may end in "=" or "==".
    const bool last = i + 4 == digits.size();
    const std::size_t padding = !last ? 0 : digits[i + 2] == '=' ? 2 : digits[i + 3] == '=' ? 1 : 0;
    std::uint32_t chunk = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      const char c = digits[i + k];
      const int value = k >= 4 - padding ? (c == '=' ? 0 : -1) : values[static_cast<unsigned char>(c)];
      if (value < 0) return std::nullopt;
      chunk = (chunk << 6) | static_cast<std::uint32_t>(value);
    }
    out += static_cast<char>(chunk >> 16);
    if (padding < 2) out += static_cast<char>((chunk >> 8) & 0xFF);
    if (padding < 1) out += static_cast<char>(chunk & 0xFF);
  }
  return out;
}

// Reads the operation's parts from its element, checking names and order.
bool ReadParts(pugi::xml_node element, const soap::OperationDescription& operation, SoapCall& call,
               std::string& error) {
  std::size_t index = 0;
  for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    if (index >= operation.parts.size() ||
        !soap::IsElement(child, soap::kServiceNamespace, operation.parts[index].name)) {
      error = std::string("unexpected element ") + child.name() + " in " + operation.name;
      return false;
    }
    const soap::PartDescription& part = operation.parts[index++];
    CallPart value;
    value.nil = soap::IsNil(child);
    if (!soap::ElementText(child, value.value)) {
      error = std::string("element ") + part.name + " holds elements";
      return false;
    }
    if (part.type == soap::PartType::Boolean) {
      if (value.value == "1") value.value = "true";
      if (value.value == "0") value.value = "false";
      if (value.value != "true" && value.value != "false") {
        error = std::string(part.name) + " is not a boolean";
        return false;
      }
    } else if (part.type == soap::PartType::Base64Binary) {
      auto bytes = FromBase64(value.value);
      if (!bytes) {
        error = std::string(part.name) + " is not base64";
        return false;
      }
      value.value = std::move(*bytes);
    }
    if (value.nil) value.value.clear();
    call.parts.push_back(std::move(value));
  }
  if (index != operation.parts.size()) {
    error = std::string(operation.name) + " lacks " + operation.parts[index].name;
    return false;
  }
  return true;
}

// The entity written for a markup character; null for any other character.
const char* EntityOf(char ch) {
  switch (ch) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '\r':
      return "&#xD;";
    default:
      return nullptr;
  }
}

}  // namespace

std::optional<SoapCall> ReadCall(std::string_view envelope,
                                 std::span<const soap::OperationDescription* const> operations,
                                 std::string& error) {
  pugi::xml_document document;
  if (!document.load_buffer(envelope.data(), envelope.size(), pugi::parse_default | pugi::parse_ws_pcdata,
                            pugi::encoding_utf8)) {
    error = "the request is not XML";
    return std::nullopt;
  }
  const pugi::xml_node root = document.document_element();
  const pugi::xml_node element =
      soap::FirstElement(soap::ChildElement(root, soap::kEnvelopeNamespace, "Body"));
  if (!soap::IsElement(root, soap::kEnvelopeNamespace, "Envelope") || !element) {
    error = "the request is not a SOAP envelope";
    return std::nullopt;
  }
  for (const soap::OperationDescription* operation : operations) {
    if (!soap::IsElement(element, soap::kServiceNamespace, operation->name)) continue;
    SoapCall call;
    call.operation = operation;
    if (!ReadParts(element, *operation, call, error)) return std::nullopt;
    return call;
  }
  error = std::string("no operation ") + element.name() + " here";
  return std::nullopt;
}

// Runs without markup characters are copied whole: an answer of megabytes is mostly such runs,
// looked through sixteen characters at a time.
void AppendEscapedXml(std::string& out, std::string_view text) {
  std::size_t run = 0;
  std::size_t at = 0;
  while (at < text.size()) {
#if defined(__SSE2__)
    if (text.size() - at >= 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
      const __m128i markup = _mm_or_si128(
          _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('&')), _mm_cmpeq_epi8(block, _mm_set1_epi8('<'))),
          _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('>')), _mm_cmpeq_epi8(block, _mm_set1_epi8('\r'))));
      if (_mm_movemask_epi8(markup) == 0) {
        at += 16;
        continue;
      }
    }
#endif
    const char* entity = EntityOf(text[at]);
    if (entity != nullptr) {
      out.append(text.substr(run, at - run));
      out += entity;
      run = at + 1;
    }
    ++at;
  }
  out.append(text.substr(run));
}

std::string EscapedXml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendEscapedXml(out, text);
  return out;
}

EnvelopeEnds ResultEnvelopeEnds(const soap::OperationDescription& operation) {
  const std::string response = std::string(operation.name) + "Response";
  return {std::string(kEnvelopeStart) + "<" + response + " xmlns=\"" + soap::kServiceNamespace + "\"><" +
              operation.resultPart + ">",
          "</" + std::string(operation.resultPart) + "></" + response + ">" + kEnvelopeEnd};
}

std::string ResultEnvelope(const soap::OperationDescription& operation, std::string_view result) {
  EnvelopeEnds ends = ResultEnvelopeEnds(operation);
  std::string out = std::move(ends.head);
  out.reserve(out.size() + result.size() + ends.tail.size() + 256);
  AppendEscapedXml(out, result);
  return out += ends.tail;
}

std::string FaultEnvelope(std::string_view faultCode, std::string_view faultText) {
  return std::string(kEnvelopeStart) + "<soap:Fault><faultcode>" + EscapedXml(faultCode) +
         "</faultcode><faultstring>" + EscapedXml(faultText) + "</faultstring><detail /></soap:Fault>" +
         kEnvelopeEnd;
}

}  // namespace zx::webservice
