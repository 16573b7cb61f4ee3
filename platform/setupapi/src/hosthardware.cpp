// The host's hardware as a machine profile: PCI functions, USB devices and interfaces and
// ACPI devices of sysfs, with ids in Windows form, classes from their class codes and the
// bound kernel drivers as their services and installed drivers.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "profilecheck.h"
#include "profiletext.h"
#include "zx/deviceclasses.h"
#include "zx/machineprofile.h"

namespace zx::devices {
namespace {

namespace fs = std::filesystem;

std::string ReadLine(const fs::path& path) {
  std::ifstream file(path);
  std::string line;
  std::getline(file, line);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
  std::size_t start = 0;
  while (start < line.size() && line[start] == ' ') ++start;
  return line.substr(start);
}

std::optional<unsigned> ReadHex(const fs::path& path) {
  const std::string text = ReadLine(path);
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str(), &end, 16);
  if (end == text.c_str() || *end != '\0' || value > 0xFFFFFFFFul) return std::nullopt;
  return static_cast<unsigned>(value);
}

std::string LinkName(const fs::path& link) {
  std::error_code ec;
  const fs::path target = fs::read_symlink(link, ec);
  return ec ? std::string() : target.filename().string();
}

std::u16string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return Ascii(text);
}

// A device's text as a profile can hold it: control characters (a device may report any
// bytes) are dropped, and so are the blanks left at either end.
std::u16string Wide(const std::string& utf8) {
  std::u16string wide;
  if (!Utf8ToWide(utf8, wide)) return {};
  std::erase_if(wide, [](char16_t c) { return c < u' ' || c == 0x7F; });
  const std::size_t first = wide.find_first_not_of(u' ');
  return first == std::u16string::npos ? std::u16string() : wide.substr(first, wide.find_last_not_of(u' ') - first + 1);
}

// A kernel name as a service or file name Windows accepts.
std::u16string ServiceName(const std::string& driver) {
  std::u16string name = Wide(driver);
  for (char16_t& c : name)
    if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' ||
          c == u'-'))
      c = u'_';
  return IsValidName(name) ? name : std::u16string();
}

// The leading numbers of a version text ("6.1.0-17-amd64" -> "6.1.0.17"), at most four.
std::u16string VersionNumbers(const std::string& text) {
  std::u16string version;
  int parts = 0;
  std::size_t at = 0;
  while (parts < 4 && at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
    unsigned long value = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && value <= 0xFFFF)
      value = value * 10 + (text[at++] - '0');
    if (value > 0xFFFF) break;
    version += (parts++ == 0 ? u"" : u".") + Ascii(std::to_string(value));
    if (at < text.size() && (text[at] == '.' || text[at] == '-')) ++at;
  }
  return version;
}

// The date in a kernel version text such as "#1 SMP Debian 6.1.69-1 (2023-12-30)", as
// "M-D-YYYY"; empty when it has none.
std::u16string KernelDate(const std::string& text) {
  for (std::size_t at = text.find('('); at != std::string::npos; at = text.find('(', at + 1)) {
    unsigned year = 0, month = 0, day = 0;
    char close = 0;
    if (std::sscanf(text.c_str() + at, "(%4u-%2u-%2u%c", &year, &month, &day, &close) == 4 && close == ')' &&
        month >= 1 && month <= 12 && day >= 1 && day <= 31 && year >= 1990)
      return Ascii(std::to_string(month) + "-" + std::to_string(day) + "-" + std::to_string(year));
  }
  return {};
}

std::u16string Fnv32(std::string_view text) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : text) hash = (hash ^ c) * 16777619u;
  char digits[9];
  std::snprintf(digits, sizeof digits, "%08x", hash);
  return Ascii(digits);
}

class PciNames {
 public:
  explicit PciNames(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    unsigned vendor = 0;
    while (std::getline(file, line)) {
      if (line.empty() || line[0] == '#') continue;
      if (line[0] == 'C' && line.size() > 1 && line[1] == ' ') break;  // class list follows
      const bool device = line[0] == '\t' && line.size() > 1 && line[1] != '\t';
      if (line[0] != '\t' || device) {
        const std::size_t start = device ? 1 : 0;
        unsigned id = 0;
        if (line.size() < start + 6 || std::sscanf(line.c_str() + start, "%4x", &id) != 1) continue;
        const std::u16string name = Wide(line.substr(start + 6));
        if (device) devices_[vendor << 16 | id] = name;
        else vendors_[vendor = id] = name;
      }
    }
  }
  std::u16string Vendor(unsigned vendor) const { return Lookup(vendors_, vendor); }
  std::u16string Device(unsigned vendor, unsigned device) const { return Lookup(devices_, vendor << 16 | device); }

 private:
  static std::u16string Lookup(const std::map<unsigned, std::u16string>& names, unsigned key) {
    const auto found = names.find(key);
    return found == names.end() ? std::u16string() : found->second;
  }
  std::map<unsigned, std::u16string> vendors_, devices_;
};

class HostReader {
 public:
  explicit HostReader(const HostSources& sources)
      : sys_(sources.sysRoot), names_(sources.pciIds) {
    kernelVersion_ = VersionNumbers(ReadLine(fs::path(sources.procRoot) / "sys/kernel/osrelease"));
    kernelDate_ = KernelDate(ReadLine(fs::path(sources.procRoot) / "sys/kernel/version"));
  }
  void Pci();
  void Usb();
  void Acpi();
  MachineProfile Take() { return std::move(profile_); }

 private:
  std::vector<fs::path> Entries(const std::string& bus) const {
    std::vector<fs::path> entries;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(sys_ / "bus" / bus / "devices", ec))
      entries.push_back(entry.path());
    std::sort(entries.begin(), entries.end());
    return entries;
  }
  // The bound kernel driver as the device's service and installed driver.
  void Bind(ProfileDevice& device, const std::string& bus, const std::string& driver, std::u16string matching);
  // A device whose instance id another device has already taken is left out: the profile
  // must seed.
  void Add(ProfileDevice device) {
    if (CheckDevice(device).empty() && !Taken(device.instanceId)) {
      taken_.insert(Lower(device.instanceId));
      profile_.devices.push_back(std::move(device));
    }
  }
  bool Taken(const std::u16string& instanceId) const { return taken_.count(Lower(instanceId)) != 0; }

  fs::path sys_;
  PciNames names_;
  std::u16string kernelVersion_, kernelDate_;
  MachineProfile profile_;
  std::set<std::u16string> taken_;  // lower-cased instance ids
};

void HostReader::Bind(ProfileDevice& device, const std::string& bus, const std::string& driver,
                      std::u16string matching) {
  device.service = ServiceName(driver);
  if (device.service.empty() || device.className.empty()) return;
  const std::string module = LinkName(sys_ / "bus" / bus / "drivers" / driver / "module");
  const std::u16string moduleVersion = module.empty() ? std::u16string()
                                                      : VersionNumbers(ReadLine(sys_ / "module" / module / "version"));
  ProfileDriver installed;
  installed.inf = device.service + u".inf";
  installed.provider = u"Linux";
  installed.version = moduleVersion.empty() ? kernelVersion_ : moduleVersion;
  installed.date = kernelDate_;
  installed.matchingId = Lower(matching);
  device.driver = std::move(installed);
}

void HostReader::Pci() {
  for (const fs::path& path : Entries("pci")) {
    const std::string address = path.filename().string();  // 0000:00:1f.3
    unsigned domain = 0, busNumber = 0, slot = 0, function = 0;
    const auto vendor = ReadHex(path / "vendor"), id = ReadHex(path / "device"), code = ReadHex(path / "class");
    if (std::sscanf(address.c_str(), "%x:%x:%x.%x", &domain, &busNumber, &slot, &function) != 4 || !vendor ||
        !id || !code)
      continue;
    const unsigned subVendor = ReadHex(path / "subsystem_vendor").value_or(0);
    const unsigned subDevice = ReadHex(path / "subsystem_device").value_or(0);
    const unsigned revision = ReadHex(path / "revision").value_or(0);
    const std::u16string venDev = u"PCI\\VEN_" + Hex(*vendor, 4) + u"&DEV_" + Hex(*id, 4);
    const std::u16string subsys = u"&SUBSYS_" + Hex(subDevice, 4) + Hex(subVendor, 4);
    const std::u16string rev = u"&REV_" + Hex(revision, 2);
    const std::u16string cc = Hex(*code, 6), cc4 = Hex(*code >> 8, 4);
    ProfileDevice device;
    device.instanceId = venDev + subsys + rev + u"\\3&" +
                        Fnv32(address.substr(0, address.rfind(':'))) + u"&0&" + Hex(slot << 3 | function, 2);
    device.hardwareIds = {venDev + subsys + rev, venDev + subsys, venDev + u"&CC_" + cc, venDev + u"&CC_" + cc4};
    const std::u16string ven = u"PCI\\VEN_" + Hex(*vendor, 4);
    device.compatibleIds = {venDev + rev, venDev, ven + u"&CC_" + cc, ven + u"&CC_" + cc4, ven,
                            u"PCI\\CC_" + cc, u"PCI\\CC_" + cc4};
    const DeviceClass& cls = PciDeviceClass(*code);
    if (&cls != FindDeviceClass(u"Unknown")) device.className = cls.name;
    device.name = names_.Device(*vendor, *id);
    if (device.name.empty()) device.name = PciGenericName(*code);
    device.mfg = names_.Vendor(*vendor);
    if (device.mfg.empty()) device.mfg = u"(Standard system devices)";
    device.location = Ascii("PCI bus " + std::to_string(busNumber) + ", device " + std::to_string(slot) +
                            ", function " + std::to_string(function));
    Bind(device, "pci", LinkName(path / "driver"), venDev);
    Add(std::move(device));
  }
}

void HostReader::Usb() {
  for (const fs::path& path : Entries("usb")) {
    const std::string name = path.filename().string();
    if (name.find(':') != std::string::npos) continue;  // interfaces come with their device
    const auto vendor = ReadHex(path / "idVendor"), product = ReadHex(path / "idProduct");
    if (!vendor || !product) continue;
    const unsigned bcd = ReadHex(path / "bcdDevice").value_or(0);
    const unsigned deviceClass = ReadHex(path / "bDeviceClass").value_or(0);
    const std::u16string vidPid = u"VID_" + Hex(*vendor, 4) + u"&PID_" + Hex(*product, 4);
    const std::u16string rev = u"&REV_" + Hex(bcd, 4);
    // Interfaces: "<device>:<configuration>.<number>".
    struct Interface {
      unsigned number, cls, sub, protocol;
      std::string driver;
    };
    std::vector<Interface> interfaces;
    for (const fs::path& entry : Entries("usb"))
      if (entry.filename().string().rfind(name + ":", 0) == 0)
        interfaces.push_back({ReadHex(entry / "bInterfaceNumber").value_or(0),
                              ReadHex(entry / "bInterfaceClass").value_or(0),
                              ReadHex(entry / "bInterfaceSubClass").value_or(0),
                              ReadHex(entry / "bInterfaceProtocol").value_or(0), LinkName(entry / "driver")});
    const auto classIds = [](const char16_t* prefix, unsigned cls, unsigned sub, unsigned protocol) {
      const std::u16string c = std::u16string(u"USB\\") + prefix + Hex(cls, 2);
      return std::vector<std::u16string>{c + u"&SubClass_" + Hex(sub, 2) + u"&Prot_" + Hex(protocol, 2),
                                         c + u"&SubClass_" + Hex(sub, 2), c};
    };
    ProfileDevice device;
    device.mfg = Wide(ReadLine(path / "manufacturer"));
    if (device.mfg.empty()) device.mfg = u"(Standard USB Host Controller)";
    if (name.rfind("usb", 0) == 0) {  // a root hub
      const std::u16string hub = ReadLine(path / "version").rfind("3", 0) == 0 ? u"USB\\ROOT_HUB30" : u"USB\\ROOT_HUB20";
      device.instanceId = hub + u"\\4&" + Fnv32(name) + u"&0";
      device.hardwareIds = {hub + u"&VID" + Hex(*vendor, 4) + u"&PID" + Hex(*product, 4) + u"&REV" + Hex(bcd, 4),
                            hub + u"&VID" + Hex(*vendor, 4) + u"&PID" + Hex(*product, 4), hub};
      device.className = u"USB";
      device.name = u"USB Root Hub";
      Bind(device, "usb", interfaces.empty() ? std::string() : interfaces.front().driver, hub);
      Add(std::move(device));
      continue;
    }
    const std::string serial = ReadLine(path / "serial");
    const bool serialUsable = !serial.empty() && serial.size() < 100 &&
                              std::all_of(serial.begin(), serial.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
    // Windows names a device without a usable serial number by its parent and its port.
    const std::string port = name.substr(name.find_last_of("-.") + 1);
    // Two devices of one kind may carry the same serial number: the second is named by its port.
    const std::u16string bySerial = u"USB\\" + vidPid + u"\\" + Wide(serial);
    device.instanceId = serialUsable && !Taken(bySerial)
                            ? bySerial
                            : u"USB\\" + vidPid + u"\\5&" + Fnv32(name) + u"&0&" + Wide(port);
    device.hardwareIds = {u"USB\\" + vidPid + rev, u"USB\\" + vidPid};
    const bool composite = deviceClass == 0 && interfaces.size() > 1;
    if (composite) {
      device.compatibleIds = classIds(u"DevClass_", 0, 0, 0);
      device.compatibleIds.push_back(u"USB\\COMPOSITE");
      device.className = u"USB";
      device.name = u"USB Composite Device";
      Bind(device, "usb", "usb", u"USB\\COMPOSITE");
    } else {
      const Interface only = interfaces.empty() ? Interface{0, deviceClass, 0, 0, {}} : interfaces.front();
      const unsigned cls = deviceClass != 0 ? deviceClass : only.cls;
      device.compatibleIds = classIds(u"Class_", cls, only.sub, only.protocol);
      const DeviceClass& setupClass = UsbDeviceClass(cls, only.sub);
      if (&setupClass != FindDeviceClass(u"Unknown")) device.className = setupClass.name;
      device.name = cls == 0xFF ? Wide(ReadLine(path / "product")) : std::u16string(UsbGenericName(cls));
      if (device.name.empty()) device.name = UsbGenericName(cls);
      Bind(device, "usb", only.driver, u"USB\\" + vidPid);
    }
    Add(std::move(device));
    if (!composite) continue;
    for (const Interface& part : interfaces) {
      const std::u16string mi = u"&MI_" + Hex(part.number, 2);
      ProfileDevice child;
      child.instanceId = u"USB\\" + vidPid + mi + u"\\6&" + Fnv32(name) + u"&0&" + Hex(part.number, 4);
      child.hardwareIds = {u"USB\\" + vidPid + rev + mi, u"USB\\" + vidPid + mi};
      child.compatibleIds = classIds(u"Class_", part.cls, part.sub, part.protocol);
      const DeviceClass& setupClass = UsbDeviceClass(part.cls, part.sub);
      if (&setupClass != FindDeviceClass(u"Unknown")) child.className = setupClass.name;
      child.name = UsbGenericName(part.cls);
      child.mfg = device.mfg;
      Bind(child, "usb", part.driver, u"USB\\" + vidPid + mi);
      Add(std::move(child));
    }
  }
}

void HostReader::Acpi() {
  struct Known {
    std::string_view hid;
    std::u16string_view className, name;
  };
  static constexpr Known kKnown[] = {
      {"ACPI0003", u"Battery", u"Microsoft AC Adapter"},
      {"PNP0303", u"Keyboard", u"Standard PS/2 Keyboard"},
      {"PNP0501", u"Ports", u"Communications Port"},
      {"PNP0A03", u"System", u"PCI bus"},
      {"PNP0A08", u"System", u"PCI Express Root Complex"},
      {"PNP0B00", u"System", u"System CMOS/real time clock"},
      {"PNP0C02", u"System", u"Motherboard resources"},
      {"PNP0C0A", u"Battery", u"Microsoft ACPI-Compliant Control Method Battery"},
      {"PNP0C0C", u"System", u"ACPI Power Button"},
      {"PNP0C0D", u"System", u"ACPI Lid"},
      {"PNP0C0E", u"System", u"ACPI Sleep Button"},
      {"PNP0F13", u"Mouse", u"PS/2 Compatible Mouse"},
  };
  std::map<std::string, unsigned> counts;
  for (const fs::path& path : Entries("acpi")) {
    const std::string hid = ReadLine(path / "hid");
    if (hid.empty() || hid.rfind("LNX", 0) == 0) continue;
    const std::string status = ReadLine(path / "status");
    if (!status.empty() && (std::strtoul(status.c_str(), nullptr, 10) & 1) == 0) continue;
    const std::u16string id = Wide(hid);
    ProfileDevice device;
    std::string uid = ReadLine(path / "uid");
    if (uid.empty()) uid = std::to_string(counts[hid]++);
    device.instanceId = u"ACPI\\" + id + u"\\" + Wide(uid);
    device.hardwareIds = {u"ACPI\\" + id, u"*" + id};
    device.className = u"System";
    device.name = u"System device";
    for (const Known& known : kKnown)
      if (known.hid == hid) {
        device.className = known.className;
        device.name = known.name;
      }
    device.mfg = u"(Standard system devices)";
    Bind(device, "acpi", LinkName(path / "driver"), u"ACPI\\" + id);
    Add(std::move(device));
  }
}

}  // namespace

HostSources DefaultHostSources() {
  HostSources sources;
  std::error_code ec;
  if (!fs::exists(sources.pciIds, ec) && fs::exists("/usr/share/hwdata/pci.ids", ec))
    sources.pciIds = "/usr/share/hwdata/pci.ids";
  return sources;
}

MachineProfile ReadHostProfile(const HostSources& sources) {
  HostReader reader(sources);
  reader.Pci();
  reader.Usb();
  reader.Acpi();
  return reader.Take();
}

}  // namespace zx::devices
