// Request envelopes of SOAP 1.1 document/literal calls, and base64.
#include <algorithm>
#include <string>

#include "zx/soapwire.h"
#include "zx/utf8text.h"

namespace zx::soap {
namespace {

// Characters XML 1.0 allows in text (surrogate pairs are checked by the UTF-8 conversion).
bool IsXmlCharacter(char16_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

// The entity written for a markup character; null for any other character.
const char* EntityOf(char16_t c) {
  switch (c) {
    case u'&':
      return "&amp;";
    case u'<':
      return "&lt;";
    case u'>':
      return "&gt;";
    case u'\r':  // kept from the end-of-line folding of the reader
      return "&#xD;";
    default:
      return nullptr;
  }
}

// Whether a unit goes into the envelope as the one byte it is.
bool IsPlainAscii(char16_t c) { return c < 0x80 && IsXmlCharacter(c) && EntityOf(c) == nullptr; }

// Appends the escaped UTF-8 form of a text; false when XML cannot carry it. Runs of ASCII, all
// of an enciphered request, are copied a run at a time; other characters go one by one, those
// beyond ASCII through the UTF-8 conversion.
bool AppendEscapedText(std::string& out, BSTR text) {
  const std::u16string_view units(text, SysStringLen(text));
  std::size_t at = 0;
  while (at < units.size()) {
    std::size_t end = at;
    while (end < units.size() && IsPlainAscii(units[end])) ++end;
    if (end > at) {
      const std::size_t had = out.size();
      out.resize(had + (end - at));
      std::transform(units.begin() + static_cast<std::ptrdiff_t>(at), units.begin() + static_cast<std::ptrdiff_t>(end),
                     out.begin() + static_cast<std::ptrdiff_t>(had), [](char16_t c) { return static_cast<char>(c); });
      at = end;
      continue;
    }
    const char16_t c = units[at];
    if (!IsXmlCharacter(c)) return false;
    if (const char* entity = EntityOf(c)) {
      out += entity;
      ++at;
      continue;
    }
    end = at;
    while (end < units.size() && units[end] >= 0x80) {
      if (!IsXmlCharacter(units[end])) return false;
      ++end;
    }
    const auto utf8 = inet::ToUtf8(units.substr(at, end - at));
    if (!utf8) return false;
    out += *utf8;
    at = end;
  }
  return true;
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
        body.reserve(body.size() + SysStringLen(value.text) + 2 * name.size() + 5);
        body += "<" + name + ">";
        if (!AppendEscapedText(body, value.text)) return std::nullopt;
        body += "</" + name + ">";
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
  std::string envelope = std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>") +
                         "<soap:Envelope xmlns:soap=\"" + kEnvelopeNamespace +
                         "\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                         "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body><" +
                         element + " xmlns=\"" + std::string(serviceNamespace) + "\">";
  const std::string end = "</" + element + "></soap:Body></soap:Envelope>";
  envelope.reserve(envelope.size() + body.size() + end.size());
  return envelope.append(body).append(end);
}

}  // namespace zx::soap
