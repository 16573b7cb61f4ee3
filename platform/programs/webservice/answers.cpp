// Update answers and download information from the catalogue.
#include "answers.h"

#include <pugixml.hpp>

#include "soapmessages.h"
#include "zx/percentescape.h"

namespace zx::webservice {
namespace {

// Answer elements after the ids, in the order they are written; "signer" closes a group.
const char* const kGroupFields[] = {"infdate",      "infpath",        "version",         "isSpecificCase",
                                    "md5",          "isInstall",      "downloadid",      "severity",
                                    "riskLevel",    "liburl",         "CompatibleIdIdx", "featurescore",
                                    "signaturescore", "signer"};

std::string Element(const std::string& name, std::string_view text) {
  return "<" + name + ">" + EscapedXml(text) + "</" + name + ">";
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool LoadRequest(pugi::xml_document& document, std::string_view request) {
  return static_cast<bool>(document.load_buffer(request.data(), request.size(), pugi::parse_default,
                                                pugi::encoding_utf8)) &&
         document.document_element();
}


}  // namespace

UpdateAnswers::UpdateAnswers(const Catalogue& catalogue) : catalogue_(catalogue) {
  for (const CatalogueEntry& entry : catalogue.entries()) {
    std::vector<std::string>& ends = groupEnds_.emplace_back();
    for (const std::string& id : entry.hardwareIds) {
      std::string end = Element("hardwareid", id);
      for (const char* field : kGroupFields) end += Element(field, entry.answer.at(field));
      ends.push_back(end + "</driver>");
    }
  }
}

std::optional<std::string> UpdateAnswers::Answer(std::string_view request) const {
  pugi::xml_document document;
  if (!LoadRequest(document, request)) return std::nullopt;
  std::string answer = "<newdataset>";
  for (pugi::xml_node device : document.document_element().children("device")) {
    const std::string groupStart = "<driver>" + Element("driverid", Trimmed(device.child("driverid").text().get()));
    const std::string ids = device.child("matchingid").text().get();
    std::size_t start = 0;
    while (start <= ids.size()) {
      std::size_t end = ids.find('|', start);
      if (end == std::string::npos) end = ids.size();
      const std::string id = Lowered(Trimmed(ids.substr(start, end - start)));
      start = end + 1;
      if (id.empty()) continue;
      const Catalogue::IdMatches* matches = catalogue_.EntriesForId(id);
      if (matches == nullptr) continue;
      const std::string identifier = Element("hardwareidentifier", id);
      for (const auto& [entryIndex, idIndex] : *matches)
        answer.append(groupStart).append(identifier).append(groupEnds_[entryIndex][idIndex]);
    }
  }
  return answer + "</newdataset>";
}

std::optional<std::string> DownloadAnswer(const Catalogue& catalogue, std::string_view request,
                                          const std::string& packageBase) {
  pugi::xml_document document;
  if (!LoadRequest(document, request)) return std::nullopt;
  const std::string id = Trimmed(document.document_element().child("device").child("hardwareid").text().get());
  const CatalogueEntry* entry = id.empty() ? nullptr : catalogue.FindHardwareId(id);
  if (!entry) return std::string("<newdataset />");
  return "<newdataset><download>" + Element("url", packageBase + zx::inet::PercentEscaped(entry->packageFile, &zx::inet::IsUnreserved)) +
         Element("hashstring", entry->answer.at("md5")) + "</download></newdataset>";
}

}  // namespace zx::webservice
