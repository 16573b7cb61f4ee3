// The catalogue the stand-in answers update requests from: "catalogue.ini" in the catalogue
// folder, one section per driver package, beside the package files themselves.
//
//   [realtek-hda]                                  ; the package's name
//   hardwareids = HDAUDIO\FUNC_01&VEN_10EC&DEV_0662|HDAUDIO\FUNC_01&VEN_10EC
//   version     = 6.0.1.7541
//   date        = 2015-06-19
//   inf         = extract\realtek\hdart.inf
//   package     = realtek-hda.zip                  ; a file of the folder, served at /packages/<file>
//
// Optional keys and their defaults: md5 (the MD5 of the package file), signer (1), severity
// (2), riskLevel (0), isInstall (1), isSpecificCase (0), CompatibleIdIdx (0), featurescore,
// signaturescore and liburl (empty), downloadid (the section's position, from 1). Key names
// are compared without regard to case; ';' or '#' starts a comment line; the file is UTF-8.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zx::webservice {

struct CatalogueEntry {
  std::string name;
  std::vector<std::string> hardwareIds;
  std::string packageFile;
  // Text of each element of an update answer ("version", "md5", "signer" ...) but the ids.
  std::map<std::string, std::string> answer;
};

class Catalogue {
 public:
  // An empty folder name gives an empty catalogue. Fails with a message when the file does
  // not read, a required key is missing or a package file is not a plain file of the folder.
  static std::optional<Catalogue> Load(const std::string& folder, std::string& error);

  const std::vector<CatalogueEntry>& entries() const { return entries_; }
  const std::string& folder() const { return folder_; }
  // The first entry that lists the hardware id (compared without regard to case).
  const CatalogueEntry* FindHardwareId(const std::string& id) const;
  // Every entry that lists the lower-case id, in catalogue order: the entry's index and the
  // index of its own spelling of the id (the first when it lists the id twice); null when none.
  using IdMatches = std::vector<std::pair<std::size_t, std::size_t>>;
  const IdMatches* EntriesForId(const std::string& lowerId) const;
  // The entry whose package file has exactly this name.
  const CatalogueEntry* FindPackage(const std::string& file) const;

 private:
  std::string folder_;
  std::vector<CatalogueEntry> entries_;
  std::unordered_map<std::string, IdMatches> byId_;  // built once the entries are read
};

// Lower-case ASCII copy.
std::string Lowered(std::string text);

}  // namespace zx::webservice
