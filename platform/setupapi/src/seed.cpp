// Seeding a machine root from a profile: the seed record that makes seeding idempotent, the
// removal of an earlier seed, and the writing of keys and files.

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "profilecheck.h"
#include "profiletext.h"
#include "regkey.h"
#include "seedplan.h"
#include "profileapi.h"
#include "zx/devicetree.h"
#include "zx/machine.h"
#include "zx/pathmap.h"
#include "zx/versionresource.h"

namespace zx::devices {
namespace {

// Where the seed is recorded: the profile's digest and what the seed wrote.
constexpr char16_t kSeedKey[] = u"SYSTEM\\CurrentControlSet\\Control\\MachineProfile";

std::u16string Join(std::u16string_view a, std::u16string_view b) {
  std::u16string path(a);
  return path.append(u"\\").append(b);
}

struct SeedRecord {
  std::u16string digest;
  std::u16string source;
  std::vector<std::u16string> classes, services, files;
};

bool ReadSeedRecord(SeedRecord& record) {
  RegKey key;
  if (!key.Open(kSeedKey)) return false;
  record.digest = key.Text(u"Digest");
  record.source = key.Text(u"Source");
  RegistryValue value;
  if (key.Query(u"Classes", value)) record.classes = ListOf(value);
  if (key.Query(u"Services", value)) record.services = ListOf(value);
  if (key.Query(u"Files", value)) record.files = ListOf(value);
  return true;
}

// Writes a host file whole: a temporary file renamed over the name, so that no reader and
// no crash ever sees half of it.
bool WriteFileAtomically(std::u16string_view windowsPath, std::string_view bytes) {
  std::string host;
  if (!path::WindowsToHost(windowsPath, host)) return false;
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(host).parent_path(), ec);
  const std::string temporary = host + ".seeding";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush()) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), host.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

// The machine profile file, which records the services' states.
std::u16string MachineIni() { return path::HostToWindows(machine::Root() + "/machine.ini"); }

void RemoveFile(std::u16string_view windowsPath) {
  std::string host;
  if (path::WindowsToHost(windowsPath, host)) std::remove(host.c_str());
}

// Takes away what an earlier seed wrote: the device tree, its classes, services and files.
void RemoveSeed(const SeedRecord& record) {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kEnumKey);
  for (const std::u16string& guid : record.classes)
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, Join(kClassKey, guid).c_str());
  for (const std::u16string& name : record.services) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, Join(kServicesKey, name).c_str());
    WritePrivateProfileStringW(u"Services", name.c_str(), nullptr, MachineIni().c_str());
  }
  for (const std::u16string& file : record.files) RemoveFile(file);
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSeedKey);
}

class SeedWriter {
 public:
  bool Class(const PlannedClass& cls);
  bool Device(const PlannedDevice& device);
  bool Driver(const PlannedDriver& driver);
  bool Service(const PlannedService& service);
  bool File(std::u16string_view path, std::string_view bytes) {
    files_.emplace_back(path);
    return WriteFileAtomically(path, bytes);
  }
  bool Record(const std::u16string& digest, const std::string& source, const SeedPlan& plan);

 private:
  bool ok(LONG result) { return result == ERROR_SUCCESS; }
  std::vector<std::u16string> files_;
};

bool SeedWriter::Class(const PlannedClass& cls) {
  RegKey key;
  if (!key.Create(Join(kClassKey, cls.guid))) return false;
  return ok(key.SetText(u"", cls.description)) && (cls.name.empty() || ok(key.SetText(u"Class", cls.name)));
}

bool SeedWriter::Device(const PlannedDevice& planned) {
  const ProfileDevice& device = *planned.source;
  RegKey key;
  if (!key.Create(Join(kEnumKey, device.instanceId))) return false;
  bool good = (device.hardwareIds.empty() || ok(key.SetList(u"HardwareID", device.hardwareIds))) &&
              ok(key.SetText(u"DeviceDesc", device.name)) &&
              ok(key.SetDword(u"ConfigFlags", device.configFlags.value_or(0)));
  const auto text = [&](std::u16string_view name, const std::u16string& value) {
    if (good && !value.empty()) good = ok(key.SetText(name, value));
  };
  if (good && !device.compatibleIds.empty()) good = ok(key.SetList(u"CompatibleIDs", device.compatibleIds));
  text(u"FriendlyName", device.friendlyName);
  text(u"Mfg", device.mfg);
  text(u"Service", device.service);
  text(u"LocationInformation", device.location);
  text(u"ClassGUID", planned.classGuid);
  text(u"Class", planned.className);
  if (planned.driver) text(u"Driver", planned.driver->key);
  if (!good) return false;
  if (!device.present) return RegDeleteTreeW(key.get(), u"Control") != ERROR_ACCESS_DENIED;
  RegKey control;
  return control.Create(u"Control", key.get()) && ok(control.SetDword(u"StatusFlags", planned.status)) &&
         ok(control.SetDword(u"ProblemCode", planned.problem));
}

bool SeedWriter::Driver(const PlannedDriver& driver) {
  RegKey key;
  if (!key.Create(Join(kClassKey, driver.key))) return false;
  bool good = ok(key.SetText(u"DriverDesc", driver.description)) &&
              ok(key.SetText(u"ProviderName", driver.provider)) &&
              ok(key.SetText(u"InfPath", driver.infPath)) && ok(key.SetText(u"InfSection", driver.infSection)) &&
              ok(key.SetText(u"MatchingDeviceId", driver.matchingId)) &&
              ok(key.SetDword(u"DriverRank", driver.rank));
  if (good && !driver.version.empty()) good = ok(key.SetText(u"DriverVersion", driver.version));
  if (good && !driver.date.empty())
    good = ok(key.SetText(u"DriverDate", driver.date)) &&
           ok(key.SetData(u"DriverDateData", REG_BINARY, &driver.dateData, sizeof driver.dateData));
  if (good && !driver.signer.empty()) good = ok(key.SetText(u"DriverSigner", driver.signer));
  return good;
}

bool SeedWriter::Service(const PlannedService& service) {
  RegKey key;
  if (!key.Create(Join(kServicesKey, service.name))) return false;
  bool good = ok(key.SetDword(u"Type", service.type)) && ok(key.SetDword(u"Start", service.start)) &&
              ok(key.SetDword(u"ErrorControl", 1)) && ok(key.SetText(u"DisplayName", service.display));
  if (good && service.state)
    good = WritePrivateProfileStringW(u"Services", service.name.c_str(),
                                      std::u16string(ServiceStateName(*service.state)).c_str(),
                                      MachineIni().c_str()) != FALSE;
  if (good && !service.image.empty()) good = ok(key.SetText(u"ImagePath", service.image, REG_EXPAND_SZ));
  if (good && !service.group.empty()) good = ok(key.SetText(u"Group", service.group));
  if (!good || service.driverFile.empty()) return good;
  version::VersionInfo info;
  PackDriverVersion(service.version, info.fileVersion);
  info.productVersion = info.fileVersion;
  info.fileType = VFT_DRV;
  info.fileSubtype = VFT2_DRV_SYSTEM;
  const std::u16string fileName = service.driverFile.substr(service.driverFile.rfind(u'\\') + 1);
  info.strings = {{u"CompanyName", service.company},
                  {u"FileDescription", service.display},
                  {u"FileVersion", service.version},
                  {u"InternalName", service.name},
                  {u"OriginalFilename", fileName},
                  {u"ProductVersion", service.version}};
  const std::vector<BYTE> image = version::BuildResourceImage(version::BuildVersionResource(info));
  return File(service.driverFile, std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
}

bool SeedWriter::Record(const std::u16string& digest, const std::string& source, const SeedPlan& plan) {
  std::vector<std::u16string> classes, services;
  for (const PlannedClass& cls : plan.classes) classes.push_back(cls.guid);
  for (const PlannedService& service : plan.services) services.push_back(service.name);
  std::u16string wideSource;
  Utf8ToWide(source, wideSource);
  RegKey key;
  return key.Create(kSeedKey) && ok(key.SetText(u"Source", wideSource)) && ok(key.SetList(u"Classes", classes)) &&
         ok(key.SetList(u"Services", services)) && ok(key.SetList(u"Files", files_)) &&
         ok(key.SetText(u"Digest", digest)) && ok(RegFlushKey(key.get()));
}

}  // namespace

SeedResult SeedMachine(const MachineProfile& profile, const SeedOptions& options, std::string& error) {
  for (const ProfileDevice& device : profile.devices) {
    const std::string problem = CheckDevice(device);
    if (!problem.empty()) {
      error = options.source + ": device " + WideToUtf8(device.instanceId) + ": " + problem;
      return SeedResult::Refused;
    }
  }
  std::size_t line = 0;
  const std::string duplicate = CheckUnique(profile, line);
  if (!duplicate.empty()) {
    error = options.source + ": " + duplicate;
    return SeedResult::Refused;
  }
  const std::u16string digest = Digest(FormatProfile(profile));
  SeedRecord earlier;
  if (ReadSeedRecord(earlier)) {
    if (earlier.digest == digest) return SeedResult::AlreadySeeded;
    if (!options.replace) {
      error = "the machine was seeded from " + WideToUtf8(earlier.source) +
              " already; seeding another profile needs replacing the device tree";
      return SeedResult::Refused;
    }
    RemoveSeed(earlier);
  }

  const SeedPlan plan = PlanSeed(profile);
  SeedWriter writer;
  bool good = true;
  for (const PlannedClass& cls : plan.classes) good = good && writer.Class(cls);
  for (const PlannedDevice& device : plan.devices)
    good = good && writer.Device(device) && (!device.driver || writer.Driver(*device.driver));
  for (const PlannedService& service : plan.services) good = good && writer.Service(service);
  for (const PlannedInf& inf : plan.infs)
    good = good && writer.File(std::u16string(kInfFolder) + u"\\" + inf.name, FormatInf(inf, plan));
  // The record comes last: a seed cut short is written again in full by the next run.
  if (!good || !writer.Record(digest, options.source, plan)) {
    error = "the machine root could not be written (" + options.source + ")";
    return SeedResult::Failed;
  }
  return SeedResult::Seeded;
}

}  // namespace zx::devices
