// Win32_PnPSignedDriver from the machine's device tree: one instance per present device,
// with its installed driver (version, date, provider, INF, signer) when it has one.
#include <cstdio>
#include <map>
#include <mutex>

#include "hostreaders.h"
#include "sysinfoapi.h"
#include "text.h"
#include "zx/devicetree.h"
#include "zx/hive.h"

namespace zx::wmi {
namespace {

Value Text(const std::u16string& text) {
  if (text.empty()) return std::nullopt;
  return ToUtf8(text.c_str(), text.size());
}

// A driver date as a CIM date-time, "YYYYMMDD000000.******+000".
Value CimDate(const FILETIME& date) {
  SYSTEMTIME day{};
  if ((date.dwLowDateTime == 0 && date.dwHighDateTime == 0) || !FileTimeToSystemTime(&date, &day))
    return std::nullopt;
  char text[48];
  std::snprintf(text, sizeof text, "%04u%02u%02u000000.******+000", day.wYear, day.wMonth, day.wDay);
  return std::string(text);
}

// Fills an instance by property name; the names' positions are looked up once per query
// (thousands of instances).
class Filler {
 public:
  explicit Filler(const ClassInfo& info) : info_(info) {}
  void Set(const char* name, Value value) {
    auto [at, added] = positions_.try_emplace(name, -1);
    if (added) at->second = FindProperty(info_, name);
    if (at->second >= 0) instance_[static_cast<std::size_t>(at->second)] = std::move(value);
  }
  void Start() { instance_.assign(info_.properties.size(), std::nullopt); }
  Instance Take() { return std::move(instance_); }

 private:
  const ClassInfo& info_;
  std::map<const char*, int> positions_;
  Instance instance_;
};

}  // namespace

std::vector<Instance> ReadSignedDrivers(const ClassInfo& info) {
  // Read afresh only once the machine's hive changed: a scan asks for thousands of them.
  static std::mutex lock;
  static registry::HiveStamp keptStamp;
  static std::vector<Instance> kept;
  const registry::HiveStamp stamp = registry::MachineHiveStamp();
  std::lock_guard<std::mutex> hold(lock);
  if (keptStamp == stamp) return kept;
  std::vector<Instance> instances;
  Filler instance(info);
  for (const devices::DeviceNode& node : devices::ReadDevices(devices::DeviceQuery{})) {
    instance.Start();
    const std::vector<std::u16string> hardwareIds = node.List(u"HardwareID");
    const std::vector<std::u16string> compatibleIds = node.List(u"CompatibleIDs");
    instance.Set("DeviceID", Text(node.instanceId));
    instance.Set("DeviceName", Text(node.Text(u"DeviceDesc")));
    instance.Set("Description", Text(node.Text(u"DeviceDesc")));
    instance.Set("FriendlyName", Text(node.Text(u"FriendlyName")));
    instance.Set("DeviceClass", Text(node.Text(u"Class")));
    instance.Set("ClassGuid", Text(node.Text(u"ClassGUID")));
    instance.Set("HardWareID", hardwareIds.empty() ? std::nullopt : Text(hardwareIds.front()));
    instance.Set("CompatID", compatibleIds.empty() ? std::nullopt : Text(compatibleIds.front()));
    instance.Set("Manufacturer", Text(node.Text(u"Mfg")));
    instance.Set("Location", Text(node.Text(u"LocationInformation")));
    devices::InstalledDriver driver;
    if (devices::ReadInstalledDriver(node.Text(u"Driver"), driver)) {
      instance.Set("DriverVersion", Text(driver.version));
      instance.Set("DriverDate", CimDate(driver.dateData));
      instance.Set("DriverProviderName", Text(driver.provider));
      instance.Set("InfName", Text(driver.infPath));
      instance.Set("IsSigned", std::string(driver.signer.empty() ? "FALSE" : "TRUE"));
      instance.Set("Signer", Text(driver.signer));
    }
    instances.push_back(instance.Take());
  }
  kept = instances;
  keptStamp = stamp;
  return instances;
}

}  // namespace zx::wmi
