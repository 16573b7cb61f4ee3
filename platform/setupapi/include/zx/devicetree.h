// The machine's device tree, as Windows keeps it in the registry (HKLM), and a reader of it
// for the device installation services, the configuration manager and WMI.
// Platform-internal.
//
//   SYSTEM\CurrentControlSet\Enum\<enumerator>\<device>\<instance>     one device
//       HardwareID, CompatibleIDs (REG_MULTI_SZ), DeviceDesc, FriendlyName, Mfg, Service,
//       Class, ClassGUID, Driver ("{class guid}\0003"), LocationInformation (REG_SZ),
//       ConfigFlags (REG_DWORD)
//     \Control                     exists while the device is present:
//       StatusFlags (REG_DWORD, DN_* flags), ProblemCode (REG_DWORD, CM_PROB_* number)
//   SYSTEM\CurrentControlSet\Control\Class\<class guid>                one setup class
//       (default) = description, Class = name
//     \<four digits>               one installed driver (the devices' "Driver" value names it)
//       DriverDesc, ProviderName, DriverVersion ("a.b.c.d"), DriverDate ("M-D-YYYY"),
//       DriverDateData (REG_BINARY FILETIME), InfPath ("oem3.inf", in C:\Windows\INF),
//       InfSection, InfSectionExt, MatchingDeviceId (lower case);
//       and what Windows keeps in its driver store instead: DriverRank (REG_DWORD) and
//       DriverSigner (REG_SZ; empty or missing for an unsigned package)
//   SYSTEM\CurrentControlSet\Services\<name>                           services and drivers
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "wintypes.h"

namespace zx::devices {

inline constexpr char16_t kEnumKey[] = u"SYSTEM\\CurrentControlSet\\Enum";
inline constexpr char16_t kClassKey[] = u"SYSTEM\\CurrentControlSet\\Control\\Class";
inline constexpr char16_t kServicesKey[] = u"SYSTEM\\CurrentControlSet\\Services";
inline constexpr char16_t kInfFolder[] = u"C:\\Windows\\INF";

struct RegistryValue {
  std::u16string name;
  DWORD type = 0;
  std::vector<BYTE> data;
};

// One device key as read.
struct DeviceNode {
  std::u16string instanceId;  // "<enumerator>\<device>\<instance>"
  std::vector<RegistryValue> values;

  // By name without regard to case; null when missing.
  const RegistryValue* Find(std::u16string_view name) const;
  // A REG_SZ / REG_EXPAND_SZ value's text; empty when missing or of another type.
  std::u16string Text(std::u16string_view name) const;
  // A REG_MULTI_SZ value's strings up to the first empty one.
  std::vector<std::u16string> List(std::u16string_view name) const;
  // The ClassGUID value; the null GUID when missing or unreadable.
  GUID ClassGuid() const;
};

// Which devices to read. An empty enumerator means all; a null class means all classes.
struct DeviceQuery {
  bool presentOnly = true;
  std::u16string_view enumerator;
  const GUID* classGuid = nullptr;
};

// The devices of the tree in registry order (enumerators, devices and instances each sorted
// without regard to case).
std::vector<DeviceNode> ReadDevices(const DeviceQuery& query);

struct NodeStatus {
  DWORD flags = 0;
  DWORD problem = 0;
};
// False when the device is missing or not present.
bool ReadNodeStatus(std::u16string_view instanceId, NodeStatus& status);

// The installed driver a driver key ("{class guid}\0003") names.
struct InstalledDriver {
  std::u16string description;
  std::u16string provider;
  std::u16string version;
  std::u16string date;
  FILETIME dateData{};
  std::u16string infPath;
  std::u16string infSection;
  std::u16string matchingId;
  std::u16string signer;
  DWORD rank = 0;
};
// False when the key is missing or names no INF.
bool ReadInstalledDriver(std::u16string_view driverKey, InstalledDriver& driver);

// "a.b.c.d" as four 16-bit parts (missing parts 0); false for anything else.
bool PackDriverVersion(std::u16string_view text, ULONGLONG& version);
// "M-D-YYYY" (leading zeros allowed) as midnight UTC of that day; false for a day that
// does not exist.
bool ParseDriverDate(std::u16string_view text, FILETIME& date);
// The Windows form of a valid date text: "6-29-2012".
std::u16string NormalDriverDate(std::u16string_view text);

}  // namespace zx::devices
