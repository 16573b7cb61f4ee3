// The class table and the machine-profile layer over the host's instances.
#include "classes.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>

#include "hostreaders.h"
#include "profileapi.h"
#include "text.h"
#include "zx/machine.h"
#include "zx/pathmap.h"

namespace zx::wmi {
namespace {

// No line of the profile can hold a line break, so this marks an absent key.
const std::string kAbsent = "\n";
constexpr unsigned long kMaxProfileInstances = 256;

const std::vector<ClassInfo>& Classes() {
  static const std::vector<ClassInfo> classes = {
      {"Win32_BIOS",
       {{"Caption", CIM_STRING}, {"Description", CIM_STRING}, {"Manufacturer", CIM_STRING},
        {"Name", CIM_STRING}, {"PrimaryBIOS", CIM_BOOLEAN}, {"ReleaseDate", CIM_DATETIME},
        {"SerialNumber", CIM_STRING}, {"SMBIOSBIOSVersion", CIM_STRING},
        {"SMBIOSPresent", CIM_BOOLEAN}, {"Status", CIM_STRING}, {"Version", CIM_STRING}},
       ReadHostBios},
      {"Win32_BaseBoard",
       {{"Caption", CIM_STRING}, {"Description", CIM_STRING}, {"HostingBoard", CIM_BOOLEAN},
        {"Manufacturer", CIM_STRING}, {"Name", CIM_STRING}, {"Product", CIM_STRING},
        {"SerialNumber", CIM_STRING}, {"Status", CIM_STRING}, {"Tag", CIM_STRING},
        {"Version", CIM_STRING}},
       ReadHostBaseBoard},
      {"Win32_ComputerSystem",
       {{"Caption", CIM_STRING}, {"Description", CIM_STRING}, {"Domain", CIM_STRING},
        {"Manufacturer", CIM_STRING}, {"Model", CIM_STRING}, {"Name", CIM_STRING},
        {"NumberOfLogicalProcessors", CIM_UINT32}, {"NumberOfProcessors", CIM_UINT32},
        {"PartOfDomain", CIM_BOOLEAN}, {"SystemType", CIM_STRING},
        {"TotalPhysicalMemory", CIM_UINT64}, {"Workgroup", CIM_STRING}},
       ReadHostComputerSystem},
      {"Win32_NetworkAdapter",
       {{"AdapterType", CIM_STRING}, {"Caption", CIM_STRING}, {"Description", CIM_STRING},
        {"DeviceID", CIM_STRING}, {"Index", CIM_UINT32}, {"InterfaceIndex", CIM_UINT32},
        {"MACAddress", CIM_STRING}, {"Name", CIM_STRING}, {"NetConnectionID", CIM_STRING},
        {"NetEnabled", CIM_BOOLEAN}, {"PhysicalAdapter", CIM_BOOLEAN},
        {"ProductName", CIM_STRING}, {"Speed", CIM_UINT64}},
       ReadHostNetworkAdapters},
      {"Win32_PhysicalMemory",
       {{"BankLabel", CIM_STRING}, {"Capacity", CIM_UINT64}, {"Caption", CIM_STRING},
        {"Description", CIM_STRING}, {"DeviceLocator", CIM_STRING}, {"Manufacturer", CIM_STRING},
        {"Name", CIM_STRING}, {"PartNumber", CIM_STRING}, {"SerialNumber", CIM_STRING},
        {"Speed", CIM_UINT32}, {"Tag", CIM_STRING}},
       ReadHostPhysicalMemory},
      {"Win32_PnPSignedDriver",
       {{"ClassGuid", CIM_STRING}, {"CompatID", CIM_STRING}, {"Description", CIM_STRING},
        {"DeviceClass", CIM_STRING}, {"DeviceID", CIM_STRING}, {"DeviceName", CIM_STRING},
        {"DriverDate", CIM_DATETIME}, {"DriverProviderName", CIM_STRING}, {"DriverVersion", CIM_STRING},
        {"FriendlyName", CIM_STRING}, {"HardWareID", CIM_STRING}, {"InfName", CIM_STRING},
        {"IsSigned", CIM_BOOLEAN}, {"Location", CIM_STRING}, {"Manufacturer", CIM_STRING},
        {"Signer", CIM_STRING}},
       ReadSignedDrivers},
  };
  return classes;
}

// A profile value as a property value: empty text stands for NULL.
Value FromProfile(const std::string& text) {
  if (text.empty()) return std::nullopt;
  return text;
}

void ApplySection(const ClassInfo& info, const std::string& section, Instance& instance) {
  for (std::size_t i = 0; i < info.properties.size(); ++i) {
    const std::string text = machine::ProfileValue(section, info.properties[i].name, kAbsent);
    if (text != kAbsent) instance[i] = FromProfile(text);
  }
}

std::string Lowered(const std::string& text) {
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// The lower-cased names of the machine profile's sections.
std::set<std::string> ProfileSectionNames() {
  const std::u16string path = path::HostToWindows(machine::Root() + "/machine.ini");
  std::vector<WCHAR> names(4096);
  DWORD length = 0;
  while ((length = GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()), path.c_str())) ==
         names.size() - 2)
    names.resize(names.size() * 2);
  std::set<std::string> sections;
  for (const WCHAR* name = names.data(); *name != 0; name += std::char_traits<char16_t>::length(name) + 1)
    sections.insert(Lowered(ToUtf8(name, std::char_traits<char16_t>::length(name))));
  return sections;
}

}  // namespace

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

const ClassInfo* FindClass(const std::string& name) {
  for (const ClassInfo& info : Classes())
    if (SameName(info.name, name)) return &info;
  return nullptr;
}

int FindProperty(const ClassInfo& info, const std::string& name) {
  for (std::size_t i = 0; i < info.properties.size(); ++i)
    if (SameName(info.properties[i].name, name)) return static_cast<int>(i);
  return -1;
}

std::vector<Instance> ReadInstances(const ClassInfo& info) {
  std::vector<Instance> instances;
  const std::string count = machine::ProfileValue(info.name, "Instances", kAbsent);
  if (count == kAbsent) {
    instances = info.readHost(info);
  } else {
    const bool number = !count.empty() && count.find_first_not_of("0123456789") == std::string::npos;
    const unsigned long n = number ? std::min(std::strtoul(count.c_str(), nullptr, 10), kMaxProfileInstances) : 0;
    instances.assign(n, Instance(info.properties.size()));
  }
  // Only sections the profile has are read: a class of thousands of instances (the signed
  // drivers) would otherwise read the profile file for every property of every instance.
  const std::set<std::string> sections = ProfileSectionNames();
  const auto has = [&sections](const std::string& section) { return sections.count(Lowered(section)) != 0; };
  for (std::size_t n = 0; n < instances.size(); ++n) {
    if (has(info.name)) ApplySection(info, info.name, instances[n]);
    const std::string own = std::string(info.name) + "." + std::to_string(n);
    if (has(own)) ApplySection(info, own, instances[n]);
  }
  return instances;
}

void InstanceBuilder::Set(const char* name, Value value) {
  const int index = FindProperty(info_, name);
  if (index >= 0) values_[static_cast<std::size_t>(index)] = std::move(value);
}

}  // namespace zx::wmi
