// The hostile update answers.
#include "hostile.h"

#include <algorithm>

namespace zx::webservice {
namespace {

std::string Group(const std::string& driverId, const std::string& inner) {
  return "<driver><driverid>" + driverId + "</driverid>" + inner + "<signer>1</signer></driver>";
}

// Inserts text before the closing tag of the root (at the end when there is none).
std::string BeforeRootEnd(const std::string& document, const std::string& text) {
  const std::size_t end = document.rfind("</");
  return end == std::string::npos ? document + text : document.substr(0, end) + text + document.substr(end);
}

}  // namespace

std::optional<HostileAnswer> ParseHostileAnswer(std::string_view name) {
  if (name == "wrongdigest") return HostileAnswer::WrongDigest;
  if (name == "foreignids") return HostileAnswer::ForeignIds;
  if (name == "malformed") return HostileAnswer::Malformed;
  if (name == "hugetext") return HostileAnswer::HugeText;
  if (name == "repeated") return HostileAnswer::Repeated;
  if (name == "short") return HostileAnswer::Short;
  return std::nullopt;
}

std::string DamagedDocument(HostileAnswer mode, const std::string& document) {
  const std::string id = "<hardwareidentifier>pci\\ven_8086&amp;dev_0085</hardwareidentifier><version>99.0</version>";
  switch (mode) {
    case HostileAnswer::WrongDigest:
    case HostileAnswer::Short:
      return document;
    case HostileAnswer::ForeignIds:
      return BeforeRootEnd(document, Group("1024", id) + Group("-1", id) + Group("99999999999999999999", id) +
                                         Group("2147483647", id) + Group("65536", id));
    case HostileAnswer::Malformed:
      return document.substr(0, document.size() / 2) + "<driver><driverid>1</drive";
    case HostileAnswer::HugeText:
      return BeforeRootEnd(document, Group("0", "<hardwareidentifier>" + std::string(4 << 20, 'h') +
                                                    "</hardwareidentifier><version>" + std::string(1 << 20, '9') +
                                                    "</version><featurescore>" + std::string(1 << 20, 'f') +
                                                    "</featurescore>"));
    case HostileAnswer::Repeated:
      return BeforeRootEnd(document, "<driver><driverid>0</driverid><driverid>0</driverid><version>1</version>"
                                     "<version>2</version></driver><driver><signer>1</signer><signer>1</signer>"
                                     "</driver><driver><hardwareidentifier/><signer/></driver>");
  }
  return document;
}

std::string DamagedEncipheredText(HostileAnswer mode, std::string text) {
  if (mode == HostileAnswer::WrongDigest && !text.empty()) text[0] = text[0] == '0' ? '1' : '0';
  if (mode == HostileAnswer::Short) text.resize(std::min<std::size_t>(text.size(), 31));
  return text;
}

}  // namespace zx::webservice
