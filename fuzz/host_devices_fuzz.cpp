// Fuzz target: the host's device files as `zxdevices host` and the device tree read them: a
// sysfs and proc tree of the scratch folder whose USB strings (manufacturer, product,
// serial), id files, ACPI ids and kernel version texts are the input's fields (split at zero
// bytes). The profile read always seeds: it writes out as text that reads back to the same
// profile (no two devices with one instance id), and every instance id has its three parts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "zx/machineprofile.h"

namespace {

namespace fs = std::filesystem;

// The file each field goes to, below the tree's root.
constexpr const char* kFields[] = {
    "sys/bus/usb/devices/1-2/manufacturer",     "sys/bus/usb/devices/1-2/product",
    "sys/bus/usb/devices/1-2/serial",           "sys/bus/usb/devices/1-2/idVendor",
    "sys/bus/usb/devices/1-2/idProduct",        "sys/bus/usb/devices/1-2/bDeviceClass",
    "sys/bus/usb/devices/1-3/serial",           "sys/bus/usb/devices/1-2:1.0/bInterfaceClass",
    "sys/bus/acpi/devices/PNP0C0A:00/hid",      "sys/bus/acpi/devices/PNP0C0A:00/uid",
    "sys/bus/acpi/devices/PNP0C0A:01/uid",      "sys/bus/pci/devices/0000:00:1f.3/vendor",
    "sys/bus/pci/devices/0000:00:1f.3/device",  "sys/bus/pci/devices/0000:00:1f.3/class",
    "sys/module/usbhid/version",                "proc/sys/kernel/osrelease",
    "proc/sys/kernel/version",
};

void Link(const fs::path& link, const fs::path& target) {
  std::error_code ec;
  fs::create_directories(link.parent_path(), ec);
  if (!fs::is_symlink(link, ec)) fs::create_symlink(target, link, ec);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path root = fs::path(zx::fuzz::ScratchRoot()) / "host";
  static const bool linked = [&] {
    // The second USB device and the second battery copy the first one's other files.
    for (const char* file : {"idVendor", "idProduct", "manufacturer", "product", "bDeviceClass"})
      Link(root / "sys/bus/usb/devices/1-3" / file, root / "sys/bus/usb/devices/1-2" / file);
    Link(root / "sys/bus/acpi/devices/PNP0C0A:01/hid", root / "sys/bus/acpi/devices/PNP0C0A:00/hid");
    Link(root / "sys/bus/usb/devices/1-2:1.0/driver", root / "sys/bus/usb/drivers/usbhid");
    Link(root / "sys/bus/usb/drivers/usbhid/module", root / "sys/module/usbhid");
    Link(root / "sys/bus/acpi/devices/PNP0C0A:00/driver", root / "sys/bus/acpi/drivers/battery");
    return true;
  }();
  (void)linked;
  std::size_t at = 0;
  for (const char* field : kFields) {
    const std::uint8_t* end = std::find(data + at, data + size, 0);
    zx::fuzz::WriteHostFile((root / field).string(), data + at, static_cast<std::size_t>(end - (data + at)));
    at = std::min(size, static_cast<std::size_t>(end - data) + 1);
  }
  zx::devices::HostSources sources;
  sources.sysRoot = (root / "sys").string();
  sources.procRoot = (root / "proc").string();
  sources.pciIds.clear();
  const zx::devices::MachineProfile profile = zx::devices::ReadHostProfile(sources);
  for (const zx::devices::ProfileDevice& device : profile.devices)
    if (std::count(device.instanceId.begin(), device.instanceId.end(), u'\\') != 2) std::abort();
  const std::string text = zx::devices::FormatProfile(profile);
  zx::devices::MachineProfile again;
  std::string error;
  if (!zx::devices::ParseProfile(text, "host", again, error)) {
    std::fprintf(stderr, "%s\n%s\n", error.c_str(), text.c_str());
    std::abort();
  }
  if (zx::devices::FormatProfile(again) != text) std::abort();
  return 0;
}
