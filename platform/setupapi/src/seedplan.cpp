// Planning a seed: defaults of devices, drivers and services, driver keys, and the services
// and INF files the devices need.
#include "seedplan.h"

#include <map>

#include "profiletext.h"
#include "zx/deviceclasses.h"
#include "zx/devicetree.h"

namespace zx::devices {
namespace {

constexpr DWORD kRunningStatus = 0x0180200A;  // DN_NT_DRIVER|DN_NT_ENUMERATOR|DN_DISABLEABLE|DN_STARTED|DN_DRIVER_LOADED
constexpr DWORD kProblemStatus = 0x01802400;  // DN_NT_DRIVER|DN_NT_ENUMERATOR|DN_DISABLEABLE|DN_HAS_PROBLEM
constexpr DWORD kFailedInstall = 28;
constexpr DWORD kKernelDriver = 1, kFileSystemDriver = 2;

std::u16string FourDigits(std::size_t n) {
  std::u16string text = Ascii(std::to_string(n));
  while (text.size() < 4) text.insert(text.begin(), u'0');
  return text;
}

std::u16string BaseName(std::u16string_view path) {
  const std::size_t slash = path.find_last_of(u"\\/");
  return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

PlannedService DefaultService(std::u16string_view name, std::u16string_view display,
                              std::u16string_view image, DWORD type) {
  PlannedService service;
  service.name = name;
  service.display = display;
  service.image = image;
  service.type = type;
  service.start = 2;  // automatic
  return service;
}

void AddClass(SeedPlan& plan, std::map<std::u16string, std::size_t>& classes, const ProfileDevice& device,
              PlannedDevice& planned) {
  const DeviceClass* known = !device.className.empty() ? FindDeviceClass(device.className)
                                                       : FindDeviceClassByGuid(device.classGuid);
  PlannedClass cls;
  if (known != nullptr) cls = PlannedClass{std::u16string(known->guid), std::u16string(known->name),
                                           std::u16string(known->description)};
  else cls = PlannedClass{Lower(device.classGuid), u"", device.classDescription};
  planned.classGuid = cls.guid;
  planned.className = cls.name;
  if (classes.emplace(cls.guid, plan.classes.size()).second) plan.classes.push_back(std::move(cls));
}

}  // namespace

DWORD DefaultRank(const ProfileDevice& device, const std::u16string& matchingId, bool isSigned) {
  DWORD rank = 0x2000;
  for (std::size_t i = 0; i < device.hardwareIds.size() && rank == 0x2000; ++i)
    if (SameText(device.hardwareIds[i], matchingId)) rank = static_cast<DWORD>(i);
  for (std::size_t i = 0; i < device.compatibleIds.size() && rank == 0x2000; ++i)
    if (SameText(device.compatibleIds[i], matchingId)) rank = static_cast<DWORD>(0x1000 + i);
  return isSigned ? rank : rank + 0xFF0000;
}

SeedPlan PlanSeed(const MachineProfile& profile) {
  SeedPlan plan;
  std::map<std::u16string, std::size_t> classes, driverCounts, infs, services;
  plan.devices.reserve(profile.devices.size());
  for (const ProfileDevice& device : profile.devices) {
    PlannedDevice planned;
    planned.source = &device;
    if (!device.className.empty() || !device.classGuid.empty()) AddClass(plan, classes, device, planned);
    const bool runs = device.driver.has_value() || !device.service.empty();
    planned.problem = device.problem.value_or(runs ? 0 : kFailedInstall);
    planned.status = device.status.value_or(planned.problem == 0 ? kRunningStatus : kProblemStatus);
    if (device.driver) {
      const ProfileDriver& from = *device.driver;
      PlannedDriver driver;
      driver.key = planned.classGuid + u"\\" + FourDigits(driverCounts[planned.classGuid]++);
      driver.description = from.description.empty() ? device.name : from.description;
      driver.provider = from.provider;
      driver.version = from.version;
      driver.date = from.date.empty() ? std::u16string() : NormalDriverDate(from.date);
      ParseDriverDate(driver.date, driver.dateData);
      driver.infPath = from.inf;
      driver.infSection = from.section.empty() ? from.inf.substr(0, from.inf.size() - 4) + u"_Install"
                                               : from.section;
      const std::u16string matching = !from.matchingId.empty() ? from.matchingId
                                      : device.hardwareIds.empty() ? std::u16string()
                                                                   : device.hardwareIds.front();
      driver.matchingId = Lower(matching);
      driver.signer = from.signer;
      driver.rank = from.rank.value_or(DefaultRank(device, driver.matchingId, !from.signer.empty()));
      planned.driver = std::move(driver);
    }
    plan.devices.push_back(std::move(planned));
  }

  // The services every machine has, then the profile's records: a record completes or
  // changes a standard service, or adds a kernel driver service of its own.
  for (const PlannedService& standard :
       {DefaultService(u"winmgmt", u"Windows Management Instrumentation",
                       u"%SystemRoot%\\system32\\svchost.exe -k netsvcs", 0x20),
        DefaultService(u"Schedule", u"Task Scheduler", u"%SystemRoot%\\system32\\svchost.exe -k netsvcs", 0x20)}) {
    services.emplace(Lower(standard.name), plan.services.size());
    plan.services.push_back(standard);
  }
  for (const ProfileService& from : profile.services) {
    auto [at, added] = services.emplace(Lower(from.name), plan.services.size());
    if (added) {
      PlannedService service;
      service.name = from.name;
      service.display = from.name;
      service.type = kKernelDriver;
      service.start = 3;
      plan.services.push_back(std::move(service));
    }
    PlannedService& service = plan.services[at->second];
    if (!from.display.empty()) service.display = from.display;
    if (from.type) service.type = *from.type;
    if (from.start) service.start = *from.start;
    if (from.state) service.state = from.state;
    if (!from.image.empty()) service.image = from.image;
    if (!from.group.empty()) service.group = from.group;
    if (!from.company.empty()) service.company = from.company;
  }

  // Each service a device names: made when missing, completed from its first device.
  for (const PlannedDevice& device : plan.devices) {
    const ProfileDevice& source = *device.source;
    if (source.service.empty()) continue;
    auto [at, added] = services.emplace(Lower(source.service), plan.services.size());
    if (added) {
      PlannedService service;
      service.name = source.service;
      service.display = device.driver ? device.driver->description : source.name;
      service.type = kKernelDriver;
      service.start = 3;
      plan.services.push_back(std::move(service));
    }
    PlannedService& service = plan.services[at->second];
    const bool driverService = service.type == kKernelDriver || service.type == kFileSystemDriver;
    if (driverService && service.image.empty()) service.image = u"System32\\drivers\\" + service.name + u".sys";
    if (device.driver && service.company.empty()) service.company = device.driver->provider;
    if (device.driver && service.version.empty()) service.version = device.driver->version;
  }
  for (PlannedService& service : plan.services)
    if ((service.type == kKernelDriver || service.type == kFileSystemDriver) && !service.image.empty())
      service.driverFile = u"C:\\Windows\\System32\\drivers\\" + BaseName(service.image);

  for (std::size_t i = 0; i < plan.devices.size(); ++i) {
    const PlannedDevice& device = plan.devices[i];
    if (!device.driver) continue;
    auto [at, added] = infs.emplace(Lower(device.driver->infPath), plan.infs.size());
    if (added) plan.infs.push_back(PlannedInf{device.driver->infPath, {}});
    plan.infs[at->second].devices.push_back(i);
  }
  return plan;
}

}  // namespace zx::devices
