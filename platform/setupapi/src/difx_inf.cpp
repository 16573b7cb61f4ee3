// The INF reader of the package installation: sections of "key = value, value" lines with
// comments, quoted values and %string% tokens, Windows-1252 or UTF-16LE text.
#include "difx_inf.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "objbase.h"
#include "setupapi.h"
#include "stringapiset.h"
#include "sysinfoapi.h"
#include "zx/casefold.h"
#include "zx/devicetree.h"

namespace zx::devices {
namespace {

constexpr std::uintmax_t kMaxInfBytes = 4u << 20;

struct Line {
  std::u16string key;
  std::vector<std::u16string> values;
};
using Sections = std::map<std::u16string, std::vector<Line>>;  // by lower-case name

std::u16string Lower(std::u16string text) {
  for (char16_t& c : text) c = FoldCase(c);
  return text;
}

std::u16string Trim(std::u16string_view text) {
  const auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r'; };
  std::size_t first = 0, last = text.size();
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return std::u16string(text.substr(first, last - first));
}

std::u16string Decode(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::u16string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
      text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return text;
  }
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  std::u16string text(static_cast<std::size_t>(length > 0 ? length : 0), u'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), length);
  return text;
}

// Splits a line's right-hand side at commas outside quotes; quotes are removed ("" is one).
std::vector<std::u16string> SplitValues(std::u16string_view text) {
  std::vector<std::u16string> values;
  std::u16string value;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'"') {
      if (quoted && i + 1 < text.size() && text[i + 1] == u'"') {
        value += u'"';
        ++i;
      } else {
        quoted = !quoted;
      }
    } else if (c == u',' && !quoted) {
      values.push_back(Trim(value));
      value.clear();
    } else {
      value += c;
    }
  }
  values.push_back(Trim(value));
  return values;
}

// The line without its comment (a ';' outside quotes).
std::u16string_view WithoutComment(std::u16string_view line) {
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == u'"') quoted = !quoted;
    if (line[i] == u';' && !quoted) return line.substr(0, i);
  }
  return line;
}

bool Parse(const std::u16string& text, Sections& sections) {
  std::vector<Line>* current = nullptr;
  std::size_t at = 0;
  while (at <= text.size()) {
    std::size_t end = text.find(u'\n', at);
    if (end == std::u16string::npos) end = text.size();
    const std::u16string line = Trim(WithoutComment(std::u16string_view(text).substr(at, end - at)));
    at = end + 1;
    if (line.empty()) continue;
    if (line.find(u'\0') != std::u16string::npos) return false;
    if (line.front() == u'[') {
      const std::size_t close = line.find(u']');
      if (close == std::u16string::npos) return false;
      current = &sections[Lower(Trim(std::u16string_view(line).substr(1, close - 1)))];
      continue;
    }
    if (current == nullptr) continue;  // text before the first section is ignored
    Line entry;
    const std::size_t equals = line.find(u'=');
    if (equals != std::u16string::npos) {
      entry.key = SplitValues(std::u16string_view(line).substr(0, equals)).front();
      entry.values = SplitValues(std::u16string_view(line).substr(equals + 1));
    } else {
      entry.values = SplitValues(line);
    }
    current->push_back(std::move(entry));
  }
  return true;
}

// Replaces %token% by its [Strings] value (%% is one %); an unknown token stays as written.
std::u16string Expand(const std::u16string& text, const std::map<std::u16string, std::u16string>& strings) {
  std::u16string out;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t open = text.find(u'%', at);
    if (open == std::u16string::npos) break;
    const std::size_t close = text.find(u'%', open + 1);
    if (close == std::u16string::npos) break;
    out += text.substr(at, open - at);
    const std::u16string token = text.substr(open + 1, close - open - 1);
    if (token.empty()) {
      out += u'%';
    } else {
      auto it = strings.find(Lower(token));
      out += it != strings.end() ? it->second : text.substr(open, close - open + 1);
    }
    at = close + 1;
  }
  return out + text.substr(std::min(at, text.size()));
}

const std::vector<Line>* Section(const Sections& sections, const std::u16string& name) {
  auto it = sections.find(Lower(name));
  return it == sections.end() ? nullptr : &it->second;
}

std::u16string Value(const std::vector<Line>& section, std::u16string_view key) {
  for (const Line& line : section)
    if (!line.values.empty() && Lower(line.key) == Lower(std::u16string(key))) return line.values.front();
  return {};
}

// "MM/DD/YYYY" as "M-D-YYYY"; empty when it is not a date.
std::u16string InfDateToDriverDate(const std::u16string& text) {
  std::u16string dashed = text;
  for (char16_t& c : dashed)
    if (c == u'/') c = u'-';
  FILETIME unused{};
  return ParseDriverDate(dashed, unused) ? NormalDriverDate(dashed) : std::u16string();
}

// The service a model's install section adds for the device (flag 0x2), else its first.
std::u16string ServiceOf(const Sections& sections, const std::u16string& installSection) {
  const std::vector<Line>* services = Section(sections, installSection + u".Services");
  if (services == nullptr) return {};
  std::u16string first;
  for (const Line& line : *services) {
    if (Lower(line.key) != u"addservice" || line.values.empty() || line.values[0].empty()) continue;
    if (first.empty()) first = line.values[0];
    if (line.values.size() > 1) {
      const std::u16string& flags = line.values[1];
      unsigned long value = 0;
      const bool hex = flags.size() > 2 && flags[0] == u'0' && (flags[1] == u'x' || flags[1] == u'X');
      for (std::size_t i = hex ? 2 : 0; i < flags.size(); ++i) {
        const char16_t c = FoldCase(flags[i]);
        const int digit = c >= u'0' && c <= u'9' ? c - u'0' : (hex && c >= u'a' && c <= u'f' ? c - u'a' + 10 : -1);
        if (digit < 0) break;
        value = value * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
      }
      if (value & 0x2) return line.values[0];
    }
  }
  return first;
}

// The running platform as models decorations name it: architecture and Windows version.
struct Platform {
  std::u16string architecture;  // "amd64" or "x86"
  unsigned long major = 0;
  unsigned long minor = 0;
  bool IsX86() const { return architecture == u"x86"; }
};

Platform RunningPlatform() {
  Platform platform;
  SYSTEM_INFO system{};
  GetNativeSystemInfo(&system);
  switch (system.wProcessorArchitecture) {
    case PROCESSOR_ARCHITECTURE_AMD64: platform.architecture = u"amd64"; break;
    default: platform.architecture = u"x86"; break;
  }
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (GetVersionExW(&version)) {
    platform.major = version.dwMajorVersion;
    platform.minor = version.dwMinorVersion;
  }
  return platform;
}

// How a models decoration ("NTamd64", "NT", "NTx86.6.1", "NT.10.0...") fits the platform:
// false when it is not for it (another architecture, a later Windows, or on any machine but
// an x86 one no architecture at all); else its rank, a decoration naming the architecture
// before a generic one, then the later version.
struct DecorationRank {
  int architecture = 0;
  unsigned long major = 0;
  unsigned long minor = 0;
  bool operator>(const DecorationRank& other) const {
    if (architecture != other.architecture) return architecture > other.architecture;
    return major != other.major ? major > other.major : minor > other.minor;
  }
};

bool RankDecoration(const std::u16string& decoration, const Platform& platform, DecorationRank& rank) {
  const std::u16string lower = Lower(decoration);
  if (lower.compare(0, 2, u"nt") != 0) return false;
  const std::size_t dot = lower.find(u'.', 2);
  const std::u16string architecture = lower.substr(2, dot == std::u16string::npos ? std::u16string::npos : dot - 2);
  if (architecture.empty() ? !platform.IsX86() : architecture != platform.architecture) return false;
  rank = DecorationRank{architecture.empty() ? 1 : 2, 0, 0};
  // The version fields; a field that is not a number (a product type) ends them.
  unsigned long* fields[] = {&rank.major, &rank.minor};
  std::size_t at = dot;
  for (unsigned long* field : fields) {
    if (at == std::u16string::npos || at + 1 >= lower.size() || lower[at + 1] < u'0' || lower[at + 1] > u'9') break;
    ++at;
    for (; at < lower.size() && lower[at] >= u'0' && lower[at] <= u'9'; ++at)
      *field = *field * 10 + static_cast<unsigned long>(lower[at] - u'0');
    if (at < lower.size() && lower[at] != u'.') break;
  }
  return rank.major < platform.major || (rank.major == platform.major && rank.minor <= platform.minor);
}

// The models section of a [Manufacturer] line for the platform, as Windows chooses it: the
// best fitting decorated section that exists ("Models.NTamd64" before "Models.NT"), else, on
// an x86 machine only, the undecorated one; null when none is for the platform.
const std::vector<Line>* ModelsSection(const Sections& sections, const Line& manufacturer, const Platform& platform) {
  const std::vector<Line>* chosen = nullptr;
  DecorationRank best;
  for (std::size_t i = 1; i < manufacturer.values.size(); ++i) {
    DecorationRank rank;
    if (manufacturer.values[i].empty() || !RankDecoration(manufacturer.values[i], platform, rank)) continue;
    const std::vector<Line>* models = Section(sections, manufacturer.values[0] + u"." + manufacturer.values[i]);
    if (models != nullptr && (chosen == nullptr || rank > best)) {
      chosen = models;
      best = rank;
    }
  }
  if (chosen != nullptr || !platform.IsX86()) return chosen;
  return Section(sections, manufacturer.values[0]);
}

// Whether any models section of a [Manufacturer] line exists, for whichever platform.
bool HasAnyModelsSection(const Sections& sections, const Line& manufacturer) {
  if (Section(sections, manufacturer.values[0]) != nullptr) return true;
  for (std::size_t i = 1; i < manufacturer.values.size(); ++i)
    if (!manufacturer.values[i].empty() && Section(sections, manufacturer.values[0] + u"." + manufacturer.values[i]) != nullptr)
      return true;
  return false;
}

// The decoration of a model's install section for the platform: ".NT<architecture>", else
// ".NT" when such a section exists, else none.
std::u16string InstallSectionExt(const Sections& sections, const std::u16string& installSection, const Platform& platform) {
  for (const std::u16string& ext : {u".NT" + platform.architecture, std::u16string(u".NT")})
    if (Section(sections, installSection + ext) != nullptr) return ext;
  return {};
}

// A plain file name (no folder, no parent reference).
bool IsPlainName(const std::u16string& name) {
  return !name.empty() && name.find_first_of(u"\\/:") == std::u16string::npos && name != u"." && name != u"..";
}

}  // namespace

DWORD ReadInfPackage(const std::string& hostPath, InfPackage& package) {
  package = InfPackage{};
  std::error_code ec;
  if (!std::filesystem::is_regular_file(hostPath, ec)) return ERROR_FILE_NOT_FOUND;
  if (std::filesystem::file_size(hostPath, ec) > kMaxInfBytes) return ERROR_GENERAL_SYNTAX;
  std::ifstream in(hostPath, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  if (!in) return ERROR_FILE_NOT_FOUND;
  package.bytes = content.str();

  Sections sections;
  if (!Parse(Decode(package.bytes), sections)) return ERROR_GENERAL_SYNTAX;
  std::map<std::u16string, std::u16string> strings;
  if (const std::vector<Line>* section = Section(sections, u"Strings"))
    for (const Line& line : *section)
      if (!line.key.empty() && !line.values.empty()) strings[Lower(line.key)] = line.values.front();
  const auto expand = [&strings](const std::u16string& text) { return Expand(text, strings); };

  const std::vector<Line>* version = Section(sections, u"Version");
  if (version == nullptr) return ERROR_WRONG_INF_STYLE;
  const std::u16string signature = Lower(Value(*version, u"Signature"));
  if (signature != u"$windows nt$" && signature != u"$chicago$" && signature != u"$windows 95$")
    return ERROR_WRONG_INF_STYLE;

  std::u16string driverVer;
  for (const Line& line : *version)
    if (Lower(line.key) == u"driverver") {
      driverVer = line.values.front();
      package.version = line.values.size() > 1 ? line.values[1] : std::u16string();
    }
  package.date = InfDateToDriverDate(driverVer);
  ULONGLONG packed = 0;
  if (package.date.empty() || (!package.version.empty() && !PackDriverVersion(package.version, packed)))
    return ERROR_GENERAL_SYNTAX;
  ParseDriverDate(package.date, package.dateData);

  package.classGuid = Lower(Value(*version, u"ClassGuid"));
  GUID guid{};
  if (package.classGuid.empty() || FAILED(CLSIDFromString(package.classGuid.c_str(), &guid)))
    return ERROR_INVALID_CLASS;
  package.className = expand(Value(*version, u"Class"));
  package.provider = expand(Value(*version, u"Provider"));
  package.catalog = Value(*version, u"CatalogFile");

  const std::vector<Line>* manufacturer = Section(sections, u"Manufacturer");
  if (manufacturer == nullptr) return ERROR_SECTION_NOT_FOUND;
  const Platform platform = RunningPlatform();
  bool forPlatform = false;
  for (const Line& line : *manufacturer) {
    if (line.values.empty() || line.values[0].empty()) continue;
    const std::vector<Line>* models = ModelsSection(sections, line, platform);
    if (models == nullptr) {
      // Models only for other machines give no driver for this one; none at all make the
      // INF damaged.
      if (!HasAnyModelsSection(sections, line)) return ERROR_SECTION_NOT_FOUND;
      continue;
    }
    forPlatform = true;
    for (const Line& model : *models) {
      if (model.values.size() < 2 || model.values[0].empty()) continue;
      InfModel entry{expand(model.key), model.values[0], {}, {}};
      for (std::size_t i = 1; i < model.values.size(); ++i)
        if (!model.values[i].empty()) entry.ids.push_back(model.values[i]);
      if (entry.ids.empty()) continue;
      entry.sectionExt = InstallSectionExt(sections, entry.section, platform);
      package.services.push_back(ServiceOf(sections, entry.section + entry.sectionExt));
      package.models.push_back(std::move(entry));
    }
  }
  if (!forPlatform) return ERROR_NO_DRIVER_SELECTED;
  if (package.models.empty()) return ERROR_LINE_NOT_FOUND;

  if (const std::vector<Line>* files = Section(sections, u"SourceDisksFiles"))
    for (const Line& line : *files) {
      const std::u16string name = line.key.empty() ? line.values.front() : line.key;
      if (IsPlainName(name)) package.sourceFiles.push_back(name);
    }
  return 0;
}

}  // namespace zx::devices
