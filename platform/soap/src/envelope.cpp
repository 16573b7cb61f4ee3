// Request envelopes of SOAP 1.1 document/literal calls, and base64.
#include <string>

#include "zx/soapwire.h"
#include "zx/utf8text.h"

namespace zx::soap {
namespace {

// Characters XML 1.0 allows in text (surrogate pairs are checked by the UTF-8 conversion).
bool IsXmlCharacter(char16_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

// The escaped UTF-8 form of a text; nullopt when XML cannot carry it.
std::optional<std::string> EscapedText(BSTR text) {
  std::u16string escaped;
  const UINT length = SysStringLen(text);
  for (UINT i = 0; i < length; ++i) {
    const char16_t c = text[i];
    if (!IsXmlCharacter(c)) return std::nullopt;
    switch (c) {
      case u'&':
        escaped += u"&amp;";
        break;
      case u'<':
        escaped += u"&lt;";
        break;
      case u'>':
        escaped += u"&gt;";
        break;
      case u'\r':  // kept from the end-of-line folding of the reader
        escaped += u"&#xD;";
        break;
      default:
        escaped += c;
    }
  }
  return inet::ToUtf8(escaped);
}

}  // namespace

std::string Base64(const unsigned char* data, std::size_t size) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((size + 2) / 3 * 4);
  for (std::size_t i = 0; i < size; i += 3) {
    const std::uint32_t chunk = (data[i] << 16) | (i + 1 < size ? data[i + 1] << 8 : 0) |
                                (i + 2 < size ? data[i + 2] : 0);
    out += kAlphabet[(chunk >> 18) & 0x3F];
    out += kAlphabet[(chunk >> 12) & 0x3F];
    out += i + 1 < size ? kAlphabet[(chunk >> 6) & 0x3F] : '=';
    out += i + 2 < size ? kAlphabet[chunk & 0x3F] : '=';
  }
  return out;
}

std::optional<std::string> WriteRequest(std::string_view serviceNamespace,
                                        const OperationDescription& operation,
                                        std::span<const PartValue> values) {
  if (values.size() != operation.parts.size()) return std::nullopt;
  std::string body;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const PartDescription& part = operation.parts[i];
    const PartValue& value = values[i];
    const std::string name = part.name;
    switch (part.type) {
      case PartType::String: {
        if (!value.text) {
          body += "<" + name + " xsi:nil=\"true\"/>";
          break;
        }
        const auto text = EscapedText(value.text);
        if (!text) return std::nullopt;
        body += "<" + name + ">" + *text + "</" + name + ">";
        break;
      }
      case PartType::Boolean:
        body += "<" + name + ">" + (value.flag ? "true" : "false") + "</" + name + ">";
        break;
      case PartType::Base64Binary:
        if (!value.blob.data && value.blob.size > 0) return std::nullopt;
        body += "<" + name + ">" + Base64(value.blob.data, value.blob.size) + "</" + name + ">";
        break;
    }
  }
  const std::string element = operation.name;
  return std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>") +
         "<soap:Envelope xmlns:soap=\"" + kEnvelopeNamespace +
         "\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body><" +
         element + " xmlns=\"" + std::string(serviceNamespace) + "\">" + body + "</" + element +
         "></soap:Body></soap:Envelope>";
}

}  // namespace zx::soap
