// The device setup classes the machine knows, and how host hardware is sorted into them by
// its PCI and USB class codes.
#include "zx/deviceclasses.h"

#include <array>

#include "zx/casefold.h"

namespace zx::devices {
namespace {

constexpr std::array<DeviceClass, 46> kClasses = {{
    {u"1394", u"{6bdd1fc1-810f-11d0-bec7-08002be2092f}", u"IEEE 1394 Bus host controllers"},
    {u"AudioEndpoint", u"{c166523c-fe0c-4a94-a586-f1a80cfbbf3e}", u"Audio inputs and outputs"},
    {u"Battery", u"{72631e54-78a4-11d0-bcf7-00aa00b7b32a}", u"Batteries"},
    {u"Biometric", u"{53d29ef7-377c-4d14-864b-eb3a85769359}", u"Biometric devices"},
    {u"Bluetooth", u"{e0cbf06c-cd8b-4647-bb8a-263b43f0f974}", u"Bluetooth Radios"},
    {u"Camera", u"{ca3e7ab9-b4c3-4ae6-8251-579ef933890f}", u"Cameras"},
    {u"CDROM", u"{4d36e965-e325-11ce-bfc1-08002be10318}", u"DVD/CD-ROM drives"},
    {u"Computer", u"{4d36e966-e325-11ce-bfc1-08002be10318}", u"Computer"},
    {u"DiskDrive", u"{4d36e967-e325-11ce-bfc1-08002be10318}", u"Disk drives"},
    {u"Display", u"{4d36e968-e325-11ce-bfc1-08002be10318}", u"Display adapters"},
    {u"Dot4", u"{48721b56-6795-11d2-b1a8-0080c72e74a2}", u"IEEE 1284.4 devices"},
    {u"Dot4Print", u"{49ce6ac8-6f86-11d2-b1e5-0080c72e74a2}", u"IEEE 1284.4 compatible printers"},
    {u"fdc", u"{4d36e969-e325-11ce-bfc1-08002be10318}", u"Floppy disk controllers"},
    {u"FloppyDisk", u"{4d36e980-e325-11ce-bfc1-08002be10318}", u"Floppy disk drives"},
    {u"HDC", u"{4d36e96a-e325-11ce-bfc1-08002be10318}", u"IDE ATA/ATAPI controllers"},
    {u"HIDClass", u"{745a17a0-74d3-11d0-b6fe-00a0c90f57da}", u"Human Interface Devices"},
    {u"Image", u"{6bdd1fc6-810f-11d0-bec7-08002be2092f}", u"Imaging devices"},
    {u"Infrared", u"{6bdd1fc5-810f-11d0-bec7-08002be2092f}", u"Infrared devices"},
    {u"Keyboard", u"{4d36e96b-e325-11ce-bfc1-08002be10318}", u"Keyboards"},
    {u"LegacyDriver", u"{8ecc055d-047f-11d1-a537-0000f8753ed1}", u"Non-Plug and Play Drivers"},
    {u"MEDIA", u"{4d36e96c-e325-11ce-bfc1-08002be10318}", u"Sound, video and game controllers"},
    {u"MediumChanger", u"{ce5939ae-ebde-11d0-b181-0000f8753ec4}", u"Medium Changers"},
    {u"Modem", u"{4d36e96d-e325-11ce-bfc1-08002be10318}", u"Modems"},
    {u"Monitor", u"{4d36e96e-e325-11ce-bfc1-08002be10318}", u"Monitors"},
    {u"Mouse", u"{4d36e96f-e325-11ce-bfc1-08002be10318}", u"Mice and other pointing devices"},
    {u"MTD", u"{4d36e970-e325-11ce-bfc1-08002be10318}", u"PCMCIA and Flash memory devices"},
    {u"MultiFunction", u"{4d36e971-e325-11ce-bfc1-08002be10318}", u"Multifunction adapters"},
    {u"MultiportSerial", u"{50906cb8-ba12-11d1-bf5d-0000f805f530}", u"Multi-port serial adapters"},
    {u"Net", u"{4d36e972-e325-11ce-bfc1-08002be10318}", u"Network adapters"},
    {u"NetClient", u"{4d36e973-e325-11ce-bfc1-08002be10318}", u"Network Client"},
    {u"NetService", u"{4d36e974-e325-11ce-bfc1-08002be10318}", u"Network Service"},
    {u"NetTrans", u"{4d36e975-e325-11ce-bfc1-08002be10318}", u"Network Protocol"},
    {u"PCMCIA", u"{4d36e977-e325-11ce-bfc1-08002be10318}", u"PCMCIA adapters"},
    {u"Ports", u"{4d36e978-e325-11ce-bfc1-08002be10318}", u"Ports (COM & LPT)"},
    {u"Printer", u"{4d36e979-e325-11ce-bfc1-08002be10318}", u"Printers"},
    {u"Processor", u"{50127dc3-0f36-415e-a6cc-4cb3be910b65}", u"Processors"},
    {u"SBP2", u"{d48179be-ec20-11d1-b6b8-00c04fa372a7}", u"SBP2 IEEE 1394 Devices"},
    {u"SCSIAdapter", u"{4d36e97b-e325-11ce-bfc1-08002be10318}", u"Storage controllers"},
    {u"SDHost", u"{a0a588a4-c46f-4b37-b7ea-c82fe89870c6}", u"SD host adapters"},
    {u"SecurityDevices", u"{d94ee5d8-d189-4994-83d2-f68d7d41b0e6}", u"Security devices"},
    {u"SmartCardReader", u"{50dd5230-ba8a-11d1-bf5d-0000f805f530}", u"Smart card readers"},
    {u"System", u"{4d36e97d-e325-11ce-bfc1-08002be10318}", u"System devices"},
    {u"TapeDrive", u"{6d807884-7d21-11cf-801c-08002be10318}", u"Tape drives"},
    {u"Unknown", u"{4d36e97e-e325-11ce-bfc1-08002be10318}", u"Other devices"},
    {u"USB", u"{36fc9e60-c465-11cf-8056-444553540000}", u"Universal Serial Bus controllers"},
    {u"Volume", u"{71a27cdd-812a-11d0-bec7-08002be2092f}", u"Storage volumes"},
}};

bool SameNoCase(std::u16string_view a, std::u16string_view b) {
  return CompareNoCase(a.data(), a.size(), b.data(), b.size()) == 0;
}

const DeviceClass& Known(std::u16string_view name) { return *FindDeviceClass(name); }

}  // namespace

std::span<const DeviceClass> KnownDeviceClasses() { return kClasses; }

const DeviceClass* FindDeviceClass(std::u16string_view name) {
  for (const DeviceClass& c : kClasses)
    if (SameNoCase(c.name, name)) return &c;
  return nullptr;
}

const DeviceClass* FindDeviceClassByGuid(std::u16string_view guid) {
  for (const DeviceClass& c : kClasses)
    if (SameNoCase(c.guid, guid)) return &c;
  return nullptr;
}

const DeviceClass& PciDeviceClass(unsigned classCode) {
  const unsigned base = classCode >> 16 & 0xFF;
  const unsigned sub = classCode >> 8 & 0xFF;
  switch (base) {
    case 0x01: return Known(sub == 0x01 || sub == 0x06 ? u"HDC" : u"SCSIAdapter");
    case 0x02: return Known(u"Net");
    case 0x03: return Known(u"Display");
    case 0x04: return Known(u"MEDIA");
    case 0x05:
    case 0x06:
    case 0x09:
    case 0x10:
    case 0x11:
    case 0x12:
    case 0x13: return Known(u"System");
    case 0x07: return Known(sub <= 0x01 ? u"Ports" : sub == 0x03 ? u"Modem" : u"System");
    case 0x08: return Known(sub == 0x05 ? u"SDHost" : u"System");
    case 0x0C: return Known(sub == 0x00 ? u"1394" : sub == 0x03 ? u"USB" : u"System");
    case 0x0D: return Known(sub == 0x11 ? u"Bluetooth" : u"Net");
    default: return Known(u"Unknown");
  }
}

std::u16string_view PciGenericName(unsigned classCode) {
  const unsigned base = classCode >> 16 & 0xFF;
  const unsigned sub = classCode >> 8 & 0xFF;
  switch (base) {
    case 0x01: return sub == 0x01 ? u"IDE Controller" : sub == 0x06 ? u"SATA Controller"
                      : sub == 0x08 ? u"NVM Express Controller" : u"Mass Storage Controller";
    case 0x02: return sub == 0x00 ? u"Ethernet Controller" : u"Network Controller";
    case 0x03: return u"Video Controller";
    case 0x04: return sub == 0x03 ? u"High Definition Audio Controller"
                      : sub == 0x01 ? u"Multimedia Audio Controller" : u"Multimedia Controller";
    case 0x05: return u"PCI standard RAM Controller";
    case 0x06: return sub == 0x00 ? u"PCI standard host CPU bridge"
                      : sub == 0x01 ? u"PCI standard ISA bridge"
                      : sub == 0x04 ? u"PCI standard PCI-to-PCI bridge" : u"PCI bridge";
    case 0x07: return sub == 0x00 ? u"PCI Serial Port" : u"PCI Simple Communications Controller";
    case 0x08: return sub == 0x05 ? u"SD Host Controller" : u"Base System Device";
    case 0x09: return u"Input Device Controller";
    case 0x0C: return sub == 0x00 ? u"IEEE 1394 Controller"
                      : sub == 0x03 ? u"Universal Serial Bus (USB) Controller"
                      : sub == 0x05 ? u"SM Bus Controller" : u"Serial Bus Controller";
    case 0x0D: return u"Wireless Controller";
    case 0x10: return u"PCI Encryption/Decryption Controller";
    case 0x11: return u"PCI Data Acquisition and Signal Processing Controller";
    default: return u"PCI Device";
  }
}

const DeviceClass& UsbDeviceClass(unsigned usbClass, unsigned subClass) {
  switch (usbClass) {
    case 0x00:
    case 0x08:
    case 0x09:
    case 0xEF: return Known(u"USB");
    case 0x01: return Known(u"MEDIA");
    case 0x02: return Known(u"Ports");
    case 0x03: return Known(u"HIDClass");
    case 0x07: return Known(u"Printer");
    case 0x0B: return Known(u"SmartCardReader");
    case 0x0E: return Known(u"Image");
    case 0xE0: return Known(subClass == 0x01 ? u"Bluetooth" : u"Net");
    default: return Known(u"Unknown");
  }
}

std::u16string_view UsbGenericName(unsigned usbClass) {
  switch (usbClass) {
    case 0x00: return u"USB Composite Device";
    case 0x01: return u"USB Audio Device";
    case 0x02: return u"USB Serial Device";
    case 0x03: return u"USB Input Device";
    case 0x07: return u"USB Printing Support";
    case 0x08: return u"USB Mass Storage Device";
    case 0x09: return u"Generic USB Hub";
    case 0x0B: return u"USB Smart Card Reader";
    case 0x0E: return u"USB Video Device";
    case 0xE0: return u"Generic Bluetooth Radio";
    default: return u"Unknown USB Device";
  }
}

}  // namespace zx::devices
