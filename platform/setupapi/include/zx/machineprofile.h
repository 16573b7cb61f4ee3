// Machine profiles: the devices and services of a simulated Windows PC, and the seeding of a
// machine root's device tree from one (Enum tree, Class keys, Services keys, the INF folder
// and the drivers' files, as zx/devicetree.h lays them out). Platform-internal; the tool
// zxdevices and the tests use it.
//
// Profile text (UTF-8). A line "device <instance id>" or "service <name>" opens a record;
// the "key = value" lines after it (leading blanks allowed) give its fields. Blank lines
// and lines starting with ';' or '#' are ignored. Keys are matched without regard to case;
// blanks around keys and values are dropped. Numbers are decimal or 0x-hexadecimal.
//
//   device PCI\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04\3&21436425&0&C8
//     name       = Intel(R) 82579LM Gigabit Network Connection    DeviceDesc (required)
//     friendly   = ...                  FriendlyName
//     hwid       = PCI\VEN_8086&...     a hardware id; one line each, in order (legacy
//                                       devices of the root enumerator have none)
//     compatid   = PCI\VEN_8086&...     a compatible id; one line each, in order
//     class      = Net                  a setup class of zx/deviceclasses.h, or:
//     classguid  = {...}                another class, with
//     classdesc  = ...                  its description
//     mfg        = Intel                Mfg
//     service    = e1cexpress           the service (a kernel driver unless a service record
//                                       says otherwise)
//     location   = PCI bus 0, device 25, function 0
//     configflags = 0                   ConfigFlags
//     present    = yes | no             (yes) a device that is not present has no Control key
//     status     = 0x0180200A           DN_* flags (0x0180200A; 0x01802400 with a problem)
//     problem    = 28                   problem number (0 with a driver or a service, else 28)
//   The installed driver, when the device has one (inf names it; the device needs a class):
//     inf        = oem12.inf            the INF in C:\Windows\INF
//     section    = E1C.ndi              install section (<inf name without .inf>_Install)
//     version    = 12.6.47.1            DriverVersion, up to four numbers of 16 bits
//     date       = 6-21-2012            DriverDate, month-day-year
//     provider   = Intel                ProviderName
//     signer     = Microsoft Windows Hardware Compatibility Publisher   (empty: unsigned)
//     matching   = pci\ven_8086&dev_1502   MatchingDeviceId (the first hardware id, lower case)
//     rank       = 0x00000001           driver rank (the matching id's place counted from 0:
//                                       hardware id n gives n, compatible id n 0x1000 + n, an
//                                       id of neither list 0x2000; 0xFF0000 more if unsigned)
//     driverdesc = ...                  DriverDesc (the device's name)
//
//   service winmgmt
//     display = Windows Management Instrumentation     DisplayName
//     type    = 0x20                    service type (1 kernel driver, 0x10 or 0x20 a program)
//     start   = auto                    boot | system | auto | demand | disabled, or 0-4
//     state   = running                 running | stopped | paused | disabled: the state the
//                                       service control manager reports (recorded in
//                                       machine.ini, [Services] <name>=<state>)
//     image   = %SystemRoot%\system32\svchost.exe -k netsvcs     ImagePath
//     group   = ...                     Group
//     company = Microsoft Corporation   CompanyName of a kernel driver's file
//
// Seeding adds what every machine has unless the profile states it: the services "winmgmt"
// and "Schedule" (automatic start), and a kernel driver service for every service a device
// names (demand start, image "System32\drivers\<name>.sys", company the provider of its
// first device's driver). Each driver service's file is written into
// C:\Windows\System32\drivers with a version resource.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wintypes.h"

namespace zx::devices {

struct ProfileDriver {
  std::u16string inf;
  std::u16string section;
  std::u16string version;
  std::u16string date;
  std::u16string provider;
  std::u16string signer;
  std::u16string matchingId;
  std::u16string description;
  std::optional<DWORD> rank;
};

struct ProfileDevice {
  std::size_t line = 0;  // of its "device" line
  std::u16string instanceId;
  std::u16string name;
  std::u16string friendlyName;
  std::vector<std::u16string> hardwareIds;
  std::vector<std::u16string> compatibleIds;
  std::u16string className;
  std::u16string classGuid;
  std::u16string classDescription;
  std::u16string mfg;
  std::u16string service;
  std::u16string location;
  std::optional<DWORD> configFlags;
  bool present = true;
  std::optional<DWORD> status;
  std::optional<DWORD> problem;
  std::optional<ProfileDriver> driver;
};

// The states a profile may give a service (the service control manager's numbers; disabled
// is a stopped service that cannot be started).
enum class ServiceState : DWORD { Stopped = 1, Running = 4, Paused = 7, Disabled = 0x100 };

// "running", "stopped", "paused" or "disabled".
std::u16string_view ServiceStateName(ServiceState state);

struct ProfileService {
  std::size_t line = 0;
  std::u16string name;
  std::u16string display;
  std::optional<DWORD> type;
  std::optional<DWORD> start;
  std::optional<ServiceState> state;
  std::u16string image;
  std::u16string group;
  std::u16string company;
};

struct MachineProfile {
  std::vector<ProfileDevice> devices;
  std::vector<ProfileService> services;
};

// Reads profile text. A bad line answers false with "<file name>:<line>: <what is wrong>"
// and leaves the profile untouched.
bool ParseProfile(std::string_view text, std::string_view fileName, MachineProfile& profile,
                  std::string& error);
// Reads a profile file of the host.
bool LoadProfileFile(const std::string& hostPath, MachineProfile& profile, std::string& error);
// The profile as text that ParseProfile reads back to the same profile.
std::string FormatProfile(const MachineProfile& profile);

// Where the host's hardware is read from (tests give folders of their own).
struct HostSources {
  std::string sysRoot = "/sys";
  std::string procRoot = "/proc";
  // The PCI id list naming vendors and devices; empty or missing: generic names.
  std::string pciIds = "/usr/share/misc/pci.ids";
};
// The default sources, with the pci.ids of /usr/share/misc or /usr/share/hwdata.
HostSources DefaultHostSources();
// The host's hardware as a profile: every PCI function, USB device (and the interfaces of a
// composite one) and ACPI device, with ids in Windows form, the setup class of its class
// code, the bound kernel driver as its service and installed driver (its module version
// where known, else the kernel's release; the kernel's build date where its version text
// has one), and names from pci.ids where there is one. Instance ids follow Windows' shapes
// with the parent's part made from a 32-bit FNV-1a hash of a sysfs name (8 hex digits h):
//   PCI  <hwid>\3&h(<domain>:<bus>)&0&<device * 8 + function, 2 hex digits>
//   USB  USB\VID_v&PID_p\<serial number>, or 5&h(<sysfs name>)&0&<port> (no usable serial,
//        or one an earlier device of the kind has); interfaces
//        USB\VID_v&PID_p&MI_nn\6&h(<sysfs name>)&0&<4 hex digits of nn>; root hubs
//        USB\ROOT_HUB20 or 30\4&h(<sysfs name>)&0
//   ACPI ACPI\<hid>\<uid, else a count per hid>
MachineProfile ReadHostProfile(const HostSources& sources);

enum class SeedResult { Seeded, AlreadySeeded, Refused, Failed };
struct SeedOptions {
  // Replaces a device tree seeded from another profile (the old devices, drivers, their
  // services and INF files go).
  bool replace = false;
  // Recorded with the seed: the profile's file name, or "host".
  std::string source;
};
// Seeds the current machine root. Seeding the same profile again changes nothing
// (AlreadySeeded); a root seeded from another profile is Refused unless options.replace.
// A profile that cannot be seeded (two devices with one instance id...) is refused before
// anything is written, with the reason in error.
SeedResult SeedMachine(const MachineProfile& profile, const SeedOptions& options, std::string& error);

}  // namespace zx::devices
