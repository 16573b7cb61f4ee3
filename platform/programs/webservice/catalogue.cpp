// Reading the catalogue folder.
#include "catalogue.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "exchange.h"

namespace zx::webservice {
namespace {

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Answer elements and the catalogue keys that feed them, with their defaults.
struct AnswerField {
  const char* element;
  const char* key;
  const char* fallback;  // null: required
};
const AnswerField kAnswerFields[] = {
    {"infdate", "date", nullptr},         {"infpath", "inf", nullptr},
    {"version", "version", nullptr},      {"isSpecificCase", "isspecificcase", "0"},
    {"isInstall", "isinstall", "1"},      {"severity", "severity", "2"},
    {"riskLevel", "risklevel", "0"},      {"liburl", "liburl", ""},
    {"CompatibleIdIdx", "compatibleididx", "0"}, {"featurescore", "featurescore", ""},
    {"signaturescore", "signaturescore", ""}, {"signer", "signer", "1"},
};

std::string FileMd5(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return Md5Hex(bytes.str());
}

bool IsPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

std::vector<std::string> SplitIds(const std::string& text) {
  std::vector<std::string> ids;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('|', start);
    if (end == std::string::npos) end = text.size();
    const std::string id = Trimmed(text.substr(start, end - start));
    if (!id.empty()) ids.push_back(id);
    start = end + 1;
  }
  return ids;
}

using Section = std::map<std::string, std::string>;

// Sections of the ini text in file order; keys lower-cased.
std::optional<std::vector<std::pair<std::string, Section>>> ReadSections(std::istream& in, std::string& error) {
  std::vector<std::pair<std::string, Section>> sections;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    line = Trimmed(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      sections.emplace_back(Trimmed(line.substr(1, line.size() - 2)), Section());
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || sections.empty()) {
      error = "catalogue.ini line " + std::to_string(number) + " is neither a section nor a key";
      return std::nullopt;
    }
    sections.back().second[Lowered(Trimmed(line.substr(0, equals)))] = Trimmed(line.substr(equals + 1));
  }
  return sections;
}

}  // namespace

std::string Lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::optional<Catalogue> Catalogue::Load(const std::string& folder, std::string& error) {
  Catalogue catalogue;
  catalogue.folder_ = folder;
  if (folder.empty()) return catalogue;
  const std::filesystem::path base(folder);
  std::ifstream in(base / "catalogue.ini", std::ios::binary);
  if (!in) {
    error = "cannot read " + (base / "catalogue.ini").string();
    return std::nullopt;
  }
  const auto sections = ReadSections(in, error);
  if (!sections) return std::nullopt;
  for (const auto& section : *sections) {
    const std::string& name = section.first;
    const Section& keys = section.second;
    auto value = [&](const char* key) -> const std::string* {
      const auto it = keys.find(key);
      return it == keys.end() ? nullptr : &it->second;
    };
    CatalogueEntry entry;
    entry.name = name;
    const std::string* ids = value("hardwareids");
    const std::string* package = value("package");
    if (ids) entry.hardwareIds = SplitIds(*ids);
    if (entry.hardwareIds.empty() || !package || !IsPlainName(*package) ||
        !std::filesystem::is_regular_file(base / *package)) {
      error = "entry [" + name + "] needs hardwareids and a package file of the folder";
      return std::nullopt;
    }
    entry.packageFile = *package;
    for (const AnswerField& field : kAnswerFields) {
      const std::string* text = value(field.key);
      if (!text && !field.fallback) {
        error = "entry [" + name + "] needs " + field.key;
        return std::nullopt;
      }
      entry.answer[field.element] = text ? *text : field.fallback;
    }
    const std::string* md5 = value("md5");
    entry.answer["md5"] = md5 ? *md5 : FileMd5(base / *package);
    const std::string* downloadId = value("downloadid");
    entry.answer["downloadid"] = downloadId ? *downloadId : std::to_string(catalogue.entries_.size() + 1);
    catalogue.entries_.push_back(std::move(entry));
  }
  for (std::size_t e = 0; e < catalogue.entries_.size(); ++e) {
    const std::vector<std::string>& ids = catalogue.entries_[e].hardwareIds;
    for (std::size_t i = 0; i < ids.size(); ++i) {
      IdMatches& matches = catalogue.byId_[Lowered(ids[i])];
      if (matches.empty() || matches.back().first != e) matches.emplace_back(e, i);
    }
  }
  return catalogue;
}

const CatalogueEntry* Catalogue::FindHardwareId(const std::string& id) const {
  const std::string wanted = Lowered(id);
  for (const CatalogueEntry& entry : entries_) {
    for (const std::string& own : entry.hardwareIds)
      if (Lowered(own) == wanted) return &entry;
  }
  return nullptr;
}

const Catalogue::IdMatches* Catalogue::EntriesForId(const std::string& lowerId) const {
  const auto it = byId_.find(lowerId);
  return it == byId_.end() ? nullptr : &it->second;
}

const CatalogueEntry* Catalogue::FindPackage(const std::string& file) const {
  for (const CatalogueEntry& entry : entries_)
    if (entry.packageFile == file) return &entry;
  return nullptr;
}

}  // namespace zx::webservice
