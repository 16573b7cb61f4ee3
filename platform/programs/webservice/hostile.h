// Hostile update answers on request, for tests of the answer reader: the answer keeps its SOAP
// wire but its document is damaged in one way.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace zx::webservice {

enum class HostileAnswer {
  WrongDigest,  // the enciphered answer's digest names another text
  ForeignIds,   // extra groups for devices the request did not name (ids out of range)
  Malformed,    // the document cut in the middle of an element
  HugeText,     // an extra group whose texts run to megabytes
  Repeated,     // groups with repeated and missing elements
  Short,        // the enciphered answer cut to 31 characters, shorter than its digest field
};

// "wrongdigest", "foreignids", "malformed", "hugetext", "repeated", "short".
std::optional<HostileAnswer> ParseHostileAnswer(std::string_view name);

// The plain answer document damaged as the mode says (WrongDigest and Short leave it whole).
std::string DamagedDocument(HostileAnswer mode, const std::string& document);
// The enciphered text damaged as the mode says (only WrongDigest and Short change it).
std::string DamagedEncipheredText(HostileAnswer mode, std::string text);

}  // namespace zx::webservice
