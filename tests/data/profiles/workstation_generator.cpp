// Writes the workstation machine profile (2,000 present devices of many kinds) and the
// device records a scan of it must yield, in the golden text of the scan tests. Each kind of
// device states whether the scanner keeps it and which of its compatible ids pass the
// identifier lists, so the expected records follow from the profile itself.
//
//   workstation_generator <profile out> <golden out>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

struct Kind {
  const char* className;  // "" for a device without a class
  const char* classGuid;
  const char* classDescription;
  bool kept;              // the scanner keeps such a device
  const char* provider;
  const char* signer;
  const char* service;
};

struct Device {
  const Kind* kind;
  std::string instanceId;
  std::string name;
  std::string friendly;
  std::vector<std::string> hardwareIds;
  std::vector<std::string> compatibleIds;
  std::vector<bool> compatiblePasses;  // which compatible ids pass the identifier test
  bool firstTwoHardwareIdsPass = true;
  std::string mfg;
  std::string inf;  // empty: no installed driver
  std::string version;
  std::string date;
  std::string matching;
  bool matchingPasses = true;
  unsigned rank = 0;
  unsigned problem = 0;
  std::string driverKey;  // assigned in profile order per class
};

const Kind kNet{"Net", "{4d36e972-e325-11ce-bfc1-08002be10318}", "Network adapters", true, "Intel",
                "Microsoft Windows Hardware Compatibility Publisher", "ixgbe"};
const Kind kBridge{"System", "{4d36e97d-e325-11ce-bfc1-08002be10318}", "System devices", true, "Microsoft",
                   "Microsoft Windows", "pci"};
const Kind kNvme{"SCSIAdapter", "{4d36e97b-e325-11ce-bfc1-08002be10318}", "Storage controllers", true,
                 "Microsoft", "Microsoft Windows", "stornvme"};
const Kind kDisk{"DiskDrive", "{4d36e967-e325-11ce-bfc1-08002be10318}", "Disk drives", true, "Microsoft",
                 "Microsoft Windows", "disk"};
const Kind kVolume{"Volume", "{71a27cdd-812a-11d0-bec7-08002be2092f}", "Storage volumes", false, "Microsoft",
                   "Microsoft Windows", "volsnap"};
const Kind kHid{"HIDClass", "{745a17a0-74d3-11d0-b6fe-00a0c90f57da}", "Human Interface Devices", true,
                "Microsoft", "Microsoft Windows", "HidUsb"};
const Kind kHub{"USB", "{36fc9e60-c465-11cf-8056-444553540000}", "Universal Serial Bus controllers", true,
                "Microsoft", "Microsoft Windows", "usbhub"};
const Kind kMonitor{"Monitor", "{4d36e96e-e325-11ce-bfc1-08002be10318}", "Monitors", true, "Microsoft",
                    "Microsoft Windows", "monitor"};
const Kind kProcessor{"Processor", "{50127dc3-0f36-415e-a6cc-4cb3be910b65}", "Processors", false, "Microsoft",
                      "Microsoft Windows", "intelppm"};
const Kind kLegacy{"LegacyDriver", "{8ecc055d-047f-11d1-a537-0000f8753ed1}", "Non-Plug and Play Drivers", false,
                   "", "", ""};
const Kind kSoftware{"System", "{4d36e97d-e325-11ce-bfc1-08002be10318}", "System devices", false, "Microsoft",
                     "Microsoft Windows", "swenum"};
const Kind kNoDriver{"", "", "Other devices", true, "", "", ""};
const Kind kAudio{"MEDIA", "{4d36e96c-e325-11ce-bfc1-08002be10318}", "Sound, video and game controllers", true,
                  "Realtek Semiconductor Corp.", "Microsoft Windows Hardware Compatibility Publisher", "RTKVHD64"};
const Kind kAudioBus{"MEDIA", "{4d36e96c-e325-11ce-bfc1-08002be10318}", "Sound, video and game controllers", false,
                     "Microsoft", "Microsoft Windows", "HdAudAddService"};
const Kind kPort{"Ports", "{4d36e978-e325-11ce-bfc1-08002be10318}", "Ports (COM & LPT)", false, "Microsoft",
                 "Microsoft Windows", "Serial"};

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// A PCI function's ids in Windows form; of its compatible ids the first two (with DEV_)
// pass, the vendor-only and class-code ones do not.
void PciIds(Device& d, unsigned vendor, unsigned device, unsigned subsys, unsigned revision, unsigned code) {
  const std::string vd = "PCI\\VEN_" + Hex(vendor, 4) + "&DEV_" + Hex(device, 4);
  const std::string v = "PCI\\VEN_" + Hex(vendor, 4);
  const std::string rev = "&REV_" + Hex(revision, 2), ss = "&SUBSYS_" + Hex(subsys, 8);
  d.hardwareIds = {vd + ss + rev, vd + ss, vd + "&CC_" + Hex(code, 6), vd + "&CC_" + Hex(code >> 8, 4)};
  d.compatibleIds = {vd + rev, vd, v + "&CC_" + Hex(code, 6), v + "&CC_" + Hex(code >> 8, 4), v,
                     "PCI\\CC_" + Hex(code, 6), "PCI\\CC_" + Hex(code >> 8, 4)};
  d.compatiblePasses = {true, true, false, false, false, false, false};
}

std::vector<Device> MakeDevices() {
  std::vector<Device> all;
  const auto add = [&all](const Kind& kind) -> Device& {
    all.push_back(Device{});
    all.back().kind = &kind;
    return all.back();
  };
  for (unsigned i = 0; i < 64; ++i) {  // network ports: identical adapters, named apart
    Device& d = add(kNet);
    PciIds(d, 0x8086, 0x10FB, 0x000C8086, 0x01, 0x020000);
    d.instanceId = "PCI\\VEN_8086&DEV_10FB&SUBSYS_000C8086&REV_01\\4&" + Hex(0x1A2B0000 + i / 4, 8) + "&0&00" + Hex(i % 4, 2);
    d.name = "Intel(R) 82599 10 Gigabit Dual Port Network Connection";
    if (i > 0) d.friendly = d.name + " #" + std::to_string(i + 1);
    d.mfg = "Intel";
    d.inf = "oem5.inf", d.version = "3.9.58.9101", d.date = "10-17-2014";
    d.matching = "pci\\ven_8086&dev_10fb&subsys_000c8086", d.rank = 1;
  }
  for (unsigned i = 0; i < 96; ++i) {  // root ports and bridges
    Device& d = add(kBridge);
    const unsigned dev = 0x6F02 + (i % 8) * 2;
    PciIds(d, 0x8086, dev, 0x00000000, 0x01, 0x060400);
    d.instanceId = "PCI\\VEN_8086&DEV_" + Hex(dev, 4) + "&SUBSYS_00000000&REV_01\\3&" + Hex(0x2F000000 + i, 8) + "&0&" + Hex(i % 256, 2);
    d.name = "Intel(R) Xeon(R) E7 v4/Xeon(R) E5 v4/Xeon(R) E3 v4/Xeon D PCI Express Root Port - " + Hex(dev, 4);
    d.mfg = "INTEL";
    d.inf = "machine.inf", d.version = "6.1.7601.17514", d.date = "6-21-2006";
    d.matching = "pci\\cc_0604", d.matchingPasses = false, d.rank = 0x1005;
  }
  for (unsigned i = 0; i < 32; ++i) {  // NVMe controllers
    Device& d = add(kNvme);
    PciIds(d, 0x144D, 0xA804, 0xA801144D, 0x00, 0x010802);
    d.instanceId = "PCI\\VEN_144D&DEV_A804&SUBSYS_A801144D&REV_00\\4&" + Hex(0x3C000000 + i, 8) + "&0&0008";
    d.name = "Standard NVM Express Controller";
    d.mfg = "Standard NVM Express Controller";
    d.inf = "stornvme.inf", d.version = "6.1.7601.24384", d.date = "6-21-2006";
    d.matching = "pci\\cc_010802", d.matchingPasses = false, d.rank = 0x1005;
  }
  for (unsigned i = 0; i < 512; ++i) {  // disks; "GenDisk" and "SCSI\RAW" are on the lists
    Device& d = add(kDisk);
    const std::string model = "SEAGATE_ST4000NM0023____", rev = "0003";
    d.instanceId = "SCSI\\DISK&VEN_SEAGATE&PROD_ST4000NM0023\\5&" + Hex(0x11000000 + i / 8, 8) + "&0&" + Hex(i % 8, 6);
    d.hardwareIds = {"SCSI\\Disk" + model + rev, "SCSI\\Disk" + model, "SCSI\\DiskSEAGATE_", model.substr(0, 8) + "_" + model.substr(8) + rev.substr(0, 1), "GenDisk"};
    d.compatibleIds = {"SCSI\\Disk", "SCSI\\RAW"};
    d.compatiblePasses = {true, false};
    d.name = "Disk drive";
    d.friendly = "SEAGATE ST4000NM0023 SCSI Disk Device " + std::to_string(i);
    d.mfg = "(Standard disk drives)";
    d.inf = "disk.inf", d.version = "6.1.7600.16385", d.date = "6-21-2006";
    d.matching = "gendisk", d.matchingPasses = false, d.rank = 0x1004;
  }
  for (unsigned i = 0; i < 512; ++i) {  // volumes: a left-out class
    Device& d = add(kVolume);
    d.instanceId = "STORAGE\\VOLUME\\{" + Hex(0x5D6B0000 + i, 8) + "-3B4C-11E2-A1B2-806E6F6E6963}#0000000000100000";
    d.hardwareIds = {"STORAGE\\Volume"};
    d.name = "Generic volume";
    d.mfg = "Microsoft";
    d.inf = "volume.inf", d.version = "6.1.7600.16385", d.date = "6-21-2006";
    d.matching = "storage\\volume", d.matchingPasses = false, d.rank = 0;
  }
  for (unsigned i = 0; i < 200; ++i) {  // HID devices, "HID_DEVICE" is on the lists
    Device& d = add(kHid);
    const std::string vp = "VID_" + Hex(0x046D, 4) + "&PID_" + Hex(0xC000 + i % 40, 4);
    d.instanceId = "HID\\" + vp + "\\7&" + Hex(0x2A000000 + i, 8) + "&0&0000";
    d.hardwareIds = {"HID\\" + vp + "&REV_" + Hex(0x1200 + i % 3, 4), "HID\\" + vp, "HID_DEVICE_UP:FF00_U:0001"};
    d.compatibleIds = {"HID_DEVICE_UP:FF00_U:0001", "HID_DEVICE"};
    d.compatiblePasses = {true, false};
    d.name = "HID-compliant device " + Hex(0xC000 + i % 40, 4);
    d.mfg = "(Standard system devices)";
    d.inf = "input.inf", d.version = "6.1.7601.17514", d.date = "6-21-2006";
    d.matching = "hid_device", d.matchingPasses = false, d.rank = 0x1001;
  }
  for (unsigned i = 0; i < 64; ++i) {  // hubs
    Device& d = add(kHub);
    d.instanceId = "USB\\VID_8087&PID_8000\\5&" + Hex(0x1B000000 + i, 8) + "&0&1";
    d.hardwareIds = {"USB\\VID_8087&PID_8000&REV_0005", "USB\\VID_8087&PID_8000"};
    d.compatibleIds = {"USB\\Class_09&SubClass_00&Prot_01", "USB\\Class_09&SubClass_00", "USB\\Class_09"};
    d.compatiblePasses = {false, false, false};
    d.name = "Generic USB Hub";
    d.mfg = "(Generic USB Hub)";
    d.inf = "usb.inf", d.version = "6.1.7601.17586", d.date = "6-21-2006";
    d.matching = "usb\\class_09", d.matchingPasses = false, d.rank = 0x1002;
  }
  for (unsigned i = 0; i < 16; ++i) {  // monitors
    Device& d = add(kMonitor);
    d.instanceId = "DISPLAY\\DELA0" + Hex(0x6B + i % 4, 2) + "\\5&" + Hex(0x3A000000 + i, 8) + "&0&UID" + std::to_string(256 + i);
    d.hardwareIds = {"MONITOR\\DELA0" + Hex(0x6B + i % 4, 2)};
    d.compatibleIds = {"*PNP09FF"};
    d.compatiblePasses = {false};
    d.name = "Dell U2412M (Digital)";
    d.mfg = "Dell Inc.";
    d.inf = "oem44.inf", d.version = "1.0.0.0", d.date = "11-10-2011";
    d.matching = Lower(d.hardwareIds[0]), d.rank = 0;
  }
  for (unsigned i = 0; i < 128; ++i) {  // processors: a left-out class
    Device& d = add(kProcessor);
    d.instanceId = "ACPI\\GENUINEINTEL_-_INTEL64_FAMILY_6_MODEL_79\\_" + std::to_string(i);
    d.hardwareIds = {"ACPI\\GenuineIntel_-_Intel64_Family_6_Model_79", "*GenuineIntel_-_Intel64_Family_6_Model_79"};
    d.name = "Intel(R) Xeon(R) CPU E7-8890 v4 @ 2.20GHz";
    d.mfg = "Intel";
    d.inf = "cpu.inf", d.version = "6.1.7600.16385", d.date = "6-21-2006";
    d.matching = "acpi\\genuineintel_-_intel64", d.matchingPasses = false, d.rank = 0x1000;
  }
  for (unsigned i = 0; i < 100; ++i) {  // drivers that are not Plug and Play
    Device& d = add(kLegacy);
    d.instanceId = "ROOT\\LEGACY_SVC" + std::to_string(1000 + i) + "\\0000";
    d.name = "Legacy driver " + std::to_string(i);
  }
  for (unsigned i = 0; i < 100; ++i) {  // software devices of the root enumerator
    Device& d = add(kSoftware);
    d.instanceId = "ROOT\\SYSTEM\\" + Hex(i, 4);
    d.hardwareIds = {"root\\swdevice" + std::to_string(i)};
    d.name = "Software device " + std::to_string(i);
    d.mfg = "Microsoft";
    d.inf = "machine.inf", d.version = "6.1.7601.17514", d.date = "6-21-2006";
    d.matching = d.hardwareIds[0], d.matchingPasses = false, d.rank = 0;
  }
  for (unsigned i = 0; i < 50; ++i) {  // devices without a driver
    Device& d = add(kNoDriver);
    PciIds(d, 0x1D0F, 0xEC20 + i % 5, 0x00000000, 0x00, 0x118000);
    d.instanceId = "PCI\\VEN_1D0F&DEV_" + Hex(0xEC20 + i % 5, 4) + "&SUBSYS_00000000&REV_00\\4&" + Hex(0x4D000000 + i, 8) + "&0&0010";
    d.name = "PCI Data Acquisition and Signal Processing Controller";
    d.problem = 28;
  }
  for (unsigned i = 0; i < 64; ++i) {  // audio functions with a device id
    Device& d = add(kAudio);
    const std::string f = "HDAUDIO\\FUNC_01&VEN_10EC&DEV_0" + Hex(0x880 + i % 4, 3);
    d.instanceId = f + "&SUBSYS_102806B9&REV_1000\\4&" + Hex(0x6E000000 + i, 8) + "&0&0001";
    d.hardwareIds = {f + "&SUBSYS_102806B9&REV_1000", f + "&SUBSYS_102806B9"};
    d.compatibleIds = {f + "&REV_1000", f, "HDAUDIO\\FUNC_01&VEN_10EC", "HDAUDIO\\FUNC_01"};
    d.compatiblePasses = {true, true, false, false};
    d.name = "Realtek High Definition Audio " + Hex(0x880 + i % 4, 3);
    d.mfg = "Realtek";
    d.inf = "oem62.inf", d.version = "6.0.1.7541", d.date = "6-10-2015";
    d.matching = Lower(d.hardwareIds[1]), d.rank = 1;
  }
  for (unsigned i = 0; i < 16; ++i) {  // audio functions without a device id
    Device& d = add(kAudioBus);
    d.instanceId = "HDAUDIO\\FUNC_01&VEN_10EC&SUBSYS_102806B9\\4&" + Hex(0x7E000000 + i, 8) + "&0&0101";
    d.hardwareIds = {"HDAUDIO\\FUNC_01&VEN_10EC&SUBSYS_102806B9"};
    d.compatibleIds = {"HDAUDIO\\FUNC_01"};
    d.name = "Audio Device on High Definition Audio Bus";
    d.mfg = "Microsoft";
    d.inf = "hdaudio.inf", d.version = "6.1.7601.17514", d.date = "6-21-2006";
    d.matching = "hdaudio\\func_01", d.matchingPasses = false, d.rank = 0x1000;
  }
  for (unsigned i = 0; i < 46; ++i) {  // serial ports: a left-out class
    Device& d = add(kPort);
    d.instanceId = "ACPI\\PNP0501\\" + std::to_string(i + 1);
    d.hardwareIds = {"ACPI\\PNP0501", "*PNP0501"};
    d.name = "Communications Port (COM" + std::to_string(i + 1) + ")";
    d.mfg = "(Standard port types)";
    d.inf = "msports.inf", d.version = "6.1.7600.16385", d.date = "6-21-2006";
    d.matching = "*pnp0501", d.matchingPasses = false, d.rank = 1;
  }
  std::map<std::string, unsigned> counters;
  for (Device& d : all) {
    if (d.inf.empty() || d.kind->classGuid[0] == 0) continue;
    char number[8];
    std::snprintf(number, sizeof number, "%04u", counters[d.kind->classGuid]++);
    d.driverKey = std::string(d.kind->classGuid) + "\\" + number;
  }
  return all;
}

void WriteProfile(const std::vector<Device>& all, std::ostream& out) {
  out << "; A generated workstation: " << all.size() << " present devices. Written by workstation_generator.\n";
  for (const Device& d : all) {
    out << "device " << d.instanceId << "\n  name = " << d.name << "\n";
    if (!d.friendly.empty()) out << "  friendly = " << d.friendly << "\n";
    for (const std::string& id : d.hardwareIds) out << "  hwid = " << id << "\n";
    for (const std::string& id : d.compatibleIds) out << "  compatid = " << id << "\n";
    if (d.kind->className[0] != 0) out << "  class = " << d.kind->className << "\n";
    if (!d.mfg.empty()) out << "  mfg = " << d.mfg << "\n";
    if (d.kind->service[0] != 0) out << "  service = " << d.kind->service << "\n";
    if (d.problem != 0) out << "  problem = " << d.problem << "\n";
    if (d.inf.empty()) continue;
    out << "  inf = " << d.inf << "\n  version = " << d.version << "\n  date = " << d.date << "\n  provider = "
        << d.kind->provider << "\n  signer = " << d.kind->signer << "\n  matching = " << d.matching << "\n  rank = "
        << d.rank << "\n";
  }
}

void WriteExpected(std::vector<const Device*> kept, std::ostream& out) {
  // The scan reports devices in the order of the device tree: enumerator, device and
  // instance names compared without regard to case.
  std::stable_sort(kept.begin(), kept.end(), [](const Device* a, const Device* b) {
    const auto parts = [](const std::string& id) {
      std::vector<std::string> p;
      std::size_t start = 0;
      for (std::size_t at; (at = id.find('\\', start)) != std::string::npos; start = at + 1) p.push_back(Lower(id.substr(start, at - start)));
      p.push_back(Lower(id.substr(start)));
      return p;
    };
    return parts(a->instanceId) < parts(b->instanceId);
  });
  out << "# " << kept.size() << " records\n";
  const auto text = [](const std::string& value) { return value.empty() ? std::string("<null>") : value; };
  for (std::size_t i = 0; i < kept.size(); ++i) {
    const Device& d = *kept[i];
    const bool driver = !d.inf.empty();
    std::string list = d.matchingPasses ? d.matching : "";
    for (std::size_t c = 0; c < d.compatibleIds.size(); ++c)
      if (d.compatiblePasses[c]) list += (list.empty() ? "" : "|") + d.compatibleIds[c];
    out << "record " << i << "\nname = " << (d.friendly.empty() ? d.name : d.friendly)
        << "\ninfpath = " << (driver ? "C:\\Windows\\inf\\" + d.inf : "<null>") << "\nversion = " << text(d.version)
        << "\nclass = " << d.kind->classDescription << "\nupdate4 = <null>\nprovider = " << text(driver ? d.kind->provider : "")
        << "\nmanufacturer = " << text(d.mfg) << "\nhardwareid = " << text(d.hardwareIds.empty() ? "" : d.hardwareIds[0])
        << "\ndriverkey = " << text(d.driverKey) << "\ndate = " << text(d.date) << "\nservice = " << text(d.kind->service)
        << "\nsigner = " << text(driver ? d.kind->signer : "") << "\nupdate12 = <null>\nupdate13 = <null>\nupdate14 = <null>"
        << "\nmatchinglist = " << text(list) << "\nspare = <null>\nvalues = 0 0 0 -1 -1 0 0\nmatchingdeviceid = "
        << text(d.matchingPasses ? d.matching : "") << "\n";
    for (std::size_t h = 0; h < d.hardwareIds.size() && h < 2; ++h)
      if (d.firstTwoHardwareIdsPass) out << "hwid = " << d.hardwareIds[h] << "\n";
    for (std::size_t c = 0; c < d.compatibleIds.size(); ++c)
      if (d.compatiblePasses[c]) out << "compatid = " << d.compatibleIds[c] << "\n";
    for (const std::string& id : d.hardwareIds) out << "allhwid = " << id << "\n";
    for (const std::string& id : d.compatibleIds) out << "allcompatid = " << id << "\n";
    out << "rank = " << (driver ? static_cast<long>(d.rank) : -1L) << "\nproblem = " << d.problem
        << "\nsigned = " << (driver && d.kind->signer[0] != 0 ? 1 : 0)
        << "\nextratext = <null>\nextranumber = -1\nlinked = no\n";
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: workstation_generator <profile out> <golden out>\n", stderr);
    return 2;
  }
  const std::vector<Device> all = MakeDevices();
  std::vector<const Device*> kept;
  for (const Device& d : all)
    if (d.kind->kept) kept.push_back(&d);
  std::ofstream profile(argv[1], std::ios::binary), golden(argv[2], std::ios::binary);
  WriteProfile(all, profile);
  WriteExpected(kept, golden);
  return profile && golden ? 0 : 1;
}
