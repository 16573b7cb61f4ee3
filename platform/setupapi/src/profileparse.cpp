// Reading machine profile text: records, fields, and the line of the first mistake.
#include <fstream>
#include <sstream>
#include <unordered_set>

#include "profilecheck.h"
#include "profiletext.h"
#include "zx/machineprofile.h"

namespace zx::devices {
namespace {

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
  return text;
}

// What the parser is filling: a device or a service, with the single-valued keys it has seen.
struct OpenRecord {
  enum Kind { None, Device, Service } kind = None;
  std::size_t line = 0;
  ProfileDevice device;
  ProfileDriver driver;
  bool driverFields = false;
  ProfileService service;
  std::unordered_set<std::u16string> seen;
};

class Parser {
 public:
  explicit Parser(MachineProfile& out) : out_(out) {}
  // Handles one line; false with problem set.
  bool Line(std::u16string_view line, std::size_t number);
  // Closes the open record; false with problem set (line_ names the record).
  bool Close();
  const std::string& problem() const { return problem_; }
  std::size_t problemLine() const { return problemLine_; }

 private:
  bool Fail(std::string problem, std::size_t line) {
    problem_ = std::move(problem);
    problemLine_ = line;
    return false;
  }
  bool DeviceField(const std::u16string& key, std::u16string_view value);
  bool DriverField(const std::u16string& key, std::u16string_view value);
  bool ServiceField(const std::u16string& key, std::u16string_view value);
  bool Number(std::u16string_view value, std::optional<DWORD>& target);

  MachineProfile& out_;
  OpenRecord record_;
  std::size_t line_ = 0;
  std::string problem_;
  std::size_t problemLine_ = 0;
};

bool Parser::Line(std::u16string_view text, std::size_t number) {
  line_ = number;
  for (char16_t c : text)
    if (c < 0x20 && c != u'\t') return Fail("control character in the line", number);
  const std::u16string_view line = Trim(text);
  if (line.empty() || line[0] == u';' || line[0] == u'#') return true;
  const std::size_t blank = line.find_first_of(u" \t");
  const std::u16string_view word = line.substr(0, blank);
  // "service = x" is a field; "service x" opens a record.
  const std::u16string_view rest = blank == std::u16string_view::npos ? u"" : Trim(line.substr(blank));
  const bool header = rest.empty() || rest[0] != u'=';
  const bool opensDevice = header && SameText(word, u"device");
  const bool opensService = header && SameText(word, u"service");
  if (opensDevice || opensService) {
    if (!Close()) return false;
    const std::u16string_view name = rest;
    record_ = OpenRecord{};
    record_.line = number;
    if (opensDevice) {
      if (!IsValidInstanceId(name)) return Fail("bad instance id (enumerator\\device\\instance)", number);
      record_.kind = OpenRecord::Device;
      record_.device.line = number;
      record_.device.instanceId = name;
    } else {
      if (!IsValidName(name)) return Fail("bad service name", number);
      record_.kind = OpenRecord::Service;
      record_.service.line = number;
      record_.service.name = name;
    }
    return true;
  }
  const std::size_t equals = line.find(u'=');
  if (equals == std::u16string_view::npos) return Fail("expected 'key = value'", number);
  if (record_.kind == OpenRecord::None) return Fail("a field before any device or service line", number);
  const std::u16string key = Lower(Trim(line.substr(0, equals)));
  const std::u16string_view value = Trim(line.substr(equals + 1));
  const bool repeatable = key == u"hwid" || key == u"compatid";
  if (!repeatable && !record_.seen.insert(key).second)
    return Fail("'" + WideToUtf8(key) + "' given twice", number);
  return record_.kind == OpenRecord::Device ? DeviceField(key, value) : ServiceField(key, value);
}

bool Parser::Number(std::u16string_view value, std::optional<DWORD>& target) {
  target = ParseNumber(value);
  return target ? true : Fail("not a number: '" + WideToUtf8(value) + "'", line_);
}

bool Parser::DeviceField(const std::u16string& key, std::u16string_view value) {
  ProfileDevice& device = record_.device;
  if (key == u"name") device.name = value;
  else if (key == u"friendly") device.friendlyName = value;
  else if (key == u"hwid" || key == u"compatid") {
    if (value.empty()) return Fail("empty " + WideToUtf8(key), line_);
    (key == u"hwid" ? device.hardwareIds : device.compatibleIds).emplace_back(value);
  } else if (key == u"class") device.className = value;
  else if (key == u"classguid") device.classGuid = value;
  else if (key == u"classdesc") device.classDescription = value;
  else if (key == u"mfg") device.mfg = value;
  else if (key == u"service") device.service = value;
  else if (key == u"location") device.location = value;
  else if (key == u"configflags") return Number(value, device.configFlags);
  else if (key == u"status") return Number(value, device.status);
  else if (key == u"problem") return Number(value, device.problem);
  else if (key == u"present") {
    if (!SameText(value, u"yes") && !SameText(value, u"no")) return Fail("present is yes or no", line_);
    device.present = SameText(value, u"yes");
  } else return DriverField(key, value);
  return true;
}

bool Parser::DriverField(const std::u16string& key, std::u16string_view value) {
  ProfileDriver& driver = record_.driver;
  record_.driverFields = true;
  if (key == u"inf") driver.inf = value;
  else if (key == u"section") driver.section = value;
  else if (key == u"version") driver.version = value;
  else if (key == u"date") driver.date = value;
  else if (key == u"provider") driver.provider = value;
  else if (key == u"signer") driver.signer = value;
  else if (key == u"matching") driver.matchingId = value;
  else if (key == u"driverdesc") driver.description = value;
  else if (key == u"rank") return Number(value, driver.rank);
  else return Fail("unknown device field '" + WideToUtf8(key) + "'", line_);
  return true;
}

bool Parser::ServiceField(const std::u16string& key, std::u16string_view value) {
  ProfileService& service = record_.service;
  if (key == u"display") service.display = value;
  else if (key == u"image") service.image = value;
  else if (key == u"group") service.group = value;
  else if (key == u"company") service.company = value;
  else if (key == u"type") return Number(value, service.type);
  else if (key == u"start") {
    static constexpr std::u16string_view kStarts[] = {u"boot", u"system", u"auto", u"demand", u"disabled"};
    for (DWORD i = 0; i < 5; ++i)
      if (SameText(value, kStarts[i])) service.start = i;
    if (!service.start && !Number(value, service.start)) return false;
    if (*service.start > 4) return Fail("start is boot, system, auto, demand, disabled or 0-4", line_);
  } else if (key == u"state") {
    if (SameText(value, u"running")) service.state = ServiceState::Running;
    else if (SameText(value, u"stopped")) service.state = ServiceState::Stopped;
    else if (SameText(value, u"paused")) service.state = ServiceState::Paused;
    else if (SameText(value, u"disabled")) service.state = ServiceState::Disabled;
    else return Fail("state is running, stopped, paused or disabled", line_);
  } else return Fail("unknown service field '" + WideToUtf8(key) + "'", line_);
  return true;
}

bool Parser::Close() {
  if (record_.kind == OpenRecord::Service) out_.services.push_back(std::move(record_.service));
  if (record_.kind == OpenRecord::Device) {
    if (record_.driverFields) {
      if (record_.driver.inf.empty()) return Fail("driver fields without 'inf'", record_.line);
      record_.device.driver = std::move(record_.driver);
    }
    const std::string problem = CheckDevice(record_.device);
    if (!problem.empty()) return Fail(problem, record_.line);
    out_.devices.push_back(std::move(record_.device));
  }
  record_ = OpenRecord{};
  return true;
}

}  // namespace

bool ParseProfile(std::string_view text, std::string_view fileName, MachineProfile& profile,
                  std::string& error) {
  MachineProfile read;
  Parser parser(read);
  const auto failed = [&](std::size_t line, const std::string& problem) {
    error = std::string(fileName) + ":" + std::to_string(line) + ": " + problem;
    return false;
  };
  std::size_t number = 0;
  while (!text.empty() || number == 0) {
    ++number;
    const std::size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    if (number == 1 && raw.substr(0, 3) == "\xEF\xBB\xBF") raw.remove_prefix(3);
    std::u16string line;
    if (!Utf8ToWide(raw, line)) return failed(number, "not UTF-8 text");
    if (!parser.Line(line, number)) return failed(parser.problemLine(), parser.problem());
  }
  if (!parser.Close()) return failed(parser.problemLine(), parser.problem());
  std::size_t line = 0;
  const std::string problem = CheckUnique(read, line);
  if (!problem.empty()) return failed(line, problem);
  profile = std::move(read);
  return true;
}

bool LoadProfileFile(const std::string& hostPath, MachineProfile& profile, std::string& error) {
  std::ifstream file(hostPath, std::ios::binary);
  if (!file) {
    error = hostPath + ": cannot be read";
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  return ParseProfile(text.str(), hostPath, profile, error);
}

}  // namespace zx::devices
