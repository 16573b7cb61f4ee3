// Storing a driver package and installing its driver on the matching present devices: the
// INF folder's oemN.inf, the driver store's package folder, and the devices' Class keys.
#include "difx_install.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "errhandlingapi.h"
#include "profiletext.h"
#include "regkey.h"
#include "zx/casefold.h"
#include "zx/pathmap.h"

namespace zx::devices {
namespace {

namespace fs = std::filesystem;

constexpr char16_t kDriverStore[] = u"C:\\Windows\\System32\\DriverStore\\FileRepository";

bool Same(std::u16string_view a, std::u16string_view b) {
  return CompareNoCase(a.data(), a.size(), b.data(), b.size()) == 0;
}

std::u16string Lower(std::u16string text) {
  for (char16_t& c : text) c = FoldCase(c);
  return text;
}

std::string Utf8(const std::u16string& text) { return WideToUtf8(text); }

std::string HostOf(std::u16string_view windowsPath) {
  std::string host;
  zx::path::WindowsToHost(windowsPath, host, nullptr);
  return host;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// Writes through a temporary file renamed over the target, so no half-written file remains.
bool WriteWhole(const fs::path& path, const std::string& bytes) {
  const fs::path temporary = path.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      std::error_code ec;
      fs::remove(temporary, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temporary, path, ec);
  if (ec) fs::remove(temporary, ec);
  return !ec;
}

// "oem<N>.inf" -> N; -1 for other names.
long OemNumber(const std::string& name) {
  if (name.size() < 8 || name.compare(0, 3, "oem") != 0 || name.compare(name.size() - 4, 4, ".inf") != 0) return -1;
  long value = 0;
  for (std::size_t i = 3; i < name.size() - 4; ++i) {
    if (name[i] < '0' || name[i] > '9' || value > 100000000) return -1;
    value = value * 10 + (name[i] - '0');
  }
  return value;
}

// The driver store folder of a package: the INF's name and a digest of its text.
std::u16string StoreFolderName(const std::u16string& infName, const std::string& bytes) {
  unsigned long long hash = 1469598103934665603ull;
  for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016llx", hash);
  std::u16string name = Lower(infName) + u"_amd64_";
  for (const char* d = digits; *d; ++d) name += static_cast<char16_t>(*d);
  return name;
}

// (date, version) of an installed driver is newer than the package's.
bool InstalledIsNewer(const InstalledDriver& installed, const InfPackage& package) {
  FILETIME date{};
  if (!ParseDriverDate(installed.date, date)) return false;
  const ULONGLONG installedDate = (static_cast<ULONGLONG>(date.dwHighDateTime) << 32) | date.dwLowDateTime;
  const ULONGLONG packageDate =
      (static_cast<ULONGLONG>(package.dateData.dwHighDateTime) << 32) | package.dateData.dwLowDateTime;
  if (installedDate != packageDate) return installedDate > packageDate;
  ULONGLONG installedVersion = 0, packageVersion = 0;
  return PackDriverVersion(installed.version, installedVersion) && PackDriverVersion(package.version, packageVersion) &&
         installedVersion > packageVersion;
}

// The model of the package that fits one of the ids, hardware ids first; false when none does.
bool FindModel(const InfPackage& package, const std::vector<std::u16string>& hardwareIds,
               const std::vector<std::u16string>& compatibleIds, InstallTarget& target) {
  const auto search = [&](const std::vector<std::u16string>& ids, DWORD baseRank) {
    for (std::size_t i = 0; i < ids.size(); ++i)
      for (std::size_t m = 0; m < package.models.size(); ++m)
        for (const std::u16string& id : package.models[m].ids)
          if (Same(id, ids[i])) {
            target.model = m;
            target.matchedId = Lower(id);
            target.rank = baseRank + static_cast<DWORD>(i);
            return true;
          }
    return false;
  };
  return search(hardwareIds, 0x0000) || search(compatibleIds, 0x2000);
}

// The driver key a device gets: its own when that lies in the package's class, else a new
// key in that class (created with the class's name when the class is new).
bool DriverKeyFor(const InfPackage& package, const InstallTarget& target, std::u16string& driverKey) {
  const std::size_t slash = target.currentDriverKey.find(u'\\');
  if (slash != std::u16string::npos && Same(target.currentDriverKey.substr(0, slash), package.classGuid)) {
    driverKey = target.currentDriverKey;
    return true;
  }
  RegKey classKey;
  if (!classKey.Create(std::u16string(kClassKey) + u"\\" + package.classGuid)) return false;
  if (classKey.Text(u"Class").empty() && !package.className.empty()) {
    classKey.SetText(u"Class", package.className);
    classKey.SetText(u"", package.className);
  }
  unsigned long next = 0;
  for (const std::u16string& name : classKey.SubkeyNames()) {
    unsigned long number = 0;
    bool digits = name.size() == 4;
    for (char16_t c : name) {
      digits = digits && c >= u'0' && c <= u'9';
      number = number * 10 + static_cast<unsigned long>(c - u'0');
    }
    if (digits && number + 1 > next) next = number + 1;
  }
  if (next > 9999) return false;
  char digits[8];
  std::snprintf(digits, sizeof digits, "%04lu", next);
  driverKey = package.classGuid + u"\\";
  for (const char* d = digits; *d; ++d) driverKey += static_cast<char16_t>(*d);
  return true;
}

bool Ok(LONG result) { return result == ERROR_SUCCESS; }

}  // namespace

bool FindOemName(const InfPackage& package, std::u16string& oemName, bool& present, DWORD& error) {
  const fs::path folder = HostOf(kInfFolder);
  std::error_code ec;
  fs::create_directories(folder, ec);
  long next = 0;
  present = false;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    std::string name = entry.path().filename().string();
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const long number = OemNumber(name);
    if (number < 0) continue;
    if (number + 1 > next) next = number + 1;
    if (!present && entry.is_regular_file(ec) && ReadAll(entry.path()) == package.bytes) {
      present = Utf8ToWide(entry.path().filename().string(), oemName);
    }
  }
  if (ec) {
    error = ERROR_ACCESS_DENIED;
    return false;
  }
  if (!present) {
    const std::string name = "oem" + std::to_string(next) + ".inf";
    oemName.assign(name.begin(), name.end());
  }
  return true;
}

DWORD StorePackage(const std::string& infHostPath, const InfPackage& package, const std::u16string& oemName) {
  const fs::path infFolder = HostOf(kInfFolder);
  const fs::path target = infFolder / Utf8(oemName);
  std::error_code ec;
  if (!(fs::is_regular_file(target, ec) && ReadAll(target) == package.bytes) && !WriteWhole(target, package.bytes))
    return ERROR_ACCESS_DENIED;
  const fs::path source(infHostPath);
  std::u16string infName;
  Utf8ToWide(source.filename().string(), infName);
  const fs::path store = fs::path(HostOf(kDriverStore)) / Utf8(StoreFolderName(infName, package.bytes));
  fs::create_directories(store, ec);
  if (ec || !WriteWhole(store / source.filename(), package.bytes)) return ERROR_ACCESS_DENIED;
  for (const std::u16string& file : package.sourceFiles) {
    const fs::path from = source.parent_path() / Utf8(file);
    if (!fs::is_regular_file(from, ec)) continue;  // the package may name files it does not carry
    if (!WriteWhole(store / Utf8(file), ReadAll(from))) return ERROR_ACCESS_DENIED;
  }
  return 0;
}

InstallPlan PlanInstall(const InfPackage& package, const std::u16string* hardwareId) {
  InstallPlan plan;
  for (const DeviceNode& node : ReadDevices(DeviceQuery{})) {
    const std::vector<std::u16string> hardwareIds = node.List(u"HardwareID");
    const std::vector<std::u16string> compatibleIds = node.List(u"CompatibleIDs");
    if (hardwareId != nullptr) {
      bool has = false;
      for (const auto* ids : {&hardwareIds, &compatibleIds})
        for (const std::u16string& id : *ids) has = has || Same(id, *hardwareId);
      if (!has) continue;
    }
    ++plan.devicesWithId;
    InstallTarget target;
    if (!FindModel(package, hardwareIds, compatibleIds, target)) continue;
    target.instanceId = node.instanceId;
    target.currentDriverKey = node.Text(u"Driver");
    InstalledDriver installed;
    target.older = ReadInstalledDriver(target.currentDriverKey, installed) && InstalledIsNewer(installed, package);
    plan.targets.push_back(std::move(target));
  }
  return plan;
}

int ApplyInstall(const InfPackage& package, const std::u16string& oemName, const InstallPlan& plan, bool force,
                 DWORD& error) {
  int changed = 0;
  for (const InstallTarget& target : plan.targets) {
    if (target.older && !force) continue;
    const InfModel& model = package.models[target.model];
    std::u16string driverKey;
    RegKey driver, device, control;
    const bool good =
        DriverKeyFor(package, target, driverKey) && driver.Create(std::u16string(kClassKey) + u"\\" + driverKey) &&
        Ok(driver.SetText(u"DriverDesc", model.description)) && Ok(driver.SetText(u"ProviderName", package.provider)) &&
        Ok(driver.SetText(u"DriverVersion", package.version)) && Ok(driver.SetText(u"DriverDate", package.date)) &&
        Ok(driver.SetData(u"DriverDateData", REG_BINARY, &package.dateData, sizeof package.dateData)) &&
        Ok(driver.SetText(u"InfPath", oemName)) && Ok(driver.SetText(u"InfSection", model.section)) &&
        (model.sectionExt.empty() ? (RegDeleteValueW(driver.get(), u"InfSectionExt"), true)
                                  : Ok(driver.SetText(u"InfSectionExt", model.sectionExt))) &&
        Ok(driver.SetText(u"MatchingDeviceId", target.matchedId)) && Ok(driver.SetDword(u"DriverRank", target.rank)) &&
        device.Create(std::u16string(kEnumKey) + u"\\" + target.instanceId) &&
        Ok(device.SetText(u"ClassGUID", package.classGuid)) && Ok(device.SetText(u"Driver", driverKey)) &&
        Ok(device.SetText(u"DeviceDesc", model.description));
    if (!good) {
      error = ERROR_ACCESS_DENIED;
      return -1;
    }
    // An unsigned package has no signer; a signed one keeps what the store knew of it.
    if (package.catalog.empty()) RegDeleteValueW(driver.get(), u"DriverSigner");
    if (!package.className.empty()) device.SetText(u"Class", package.className);
    const std::u16string& service = package.services[target.model];
    if (!service.empty()) device.SetText(u"Service", service);
    if (control.Open(u"Control", device.get())) {
      control.Close();
      if (control.Create(u"Control", device.get())) control.SetDword(u"ProblemCode", 0);
    }
    ++changed;
  }
  return changed;
}

}  // namespace zx::devices
