// The device setup classes a machine knows: name, GUID and the description Windows shows
// ("Net", {4d36e972-...}, "Network adapters"). Seeding writes them as the Class keys of the
// machine; hardware of the host is sorted into them by its bus class codes. Platform-internal.
#pragma once
#include <span>
#include <string_view>

namespace zx::devices {

struct DeviceClass {
  std::u16string_view name;         // "Net"
  std::u16string_view guid;         // "{4d36e972-e325-11ce-bfc1-08002be10318}"
  std::u16string_view description;  // "Network adapters"
};

std::span<const DeviceClass> KnownDeviceClasses();
// By name, without regard to case; null when the name is unknown.
const DeviceClass* FindDeviceClass(std::u16string_view name);
// By GUID text (braced, either case); null when unknown.
const DeviceClass* FindDeviceClassByGuid(std::u16string_view guid);

// The class of a PCI function from its 24-bit class code (base, sub-class, interface), and
// Windows' generic name for such a function when no driver names it.
const DeviceClass& PciDeviceClass(unsigned classCode);
std::u16string_view PciGenericName(unsigned classCode);
// The class of a USB device or interface from its class, sub-class and protocol codes.
const DeviceClass& UsbDeviceClass(unsigned usbClass, unsigned subClass);
std::u16string_view UsbGenericName(unsigned usbClass);

}  // namespace zx::devices
