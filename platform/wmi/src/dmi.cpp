// Win32_BIOS, Win32_BaseBoard and Win32_ComputerSystem from the host's DMI data, processors
// and memory. DMI fields the host does not let us read (serial numbers need root) are NULL.
#include <set>
#include <sstream>
#include <vector>

#include "fileapi.h"
#include "hostreaders.h"
#include "smbios.h"
#include "text.h"
#include "zx/hostinfo.h"
#include "zx/machine.h"

namespace zx::wmi {
namespace {

const std::string kDmiFolder = "/sys/class/dmi/id/";

// A DMI field; an empty or unreadable one is missing.
Value Dmi(const char* field) {
  auto line = host::ReadLine(kDmiFolder + field);
  if (!line || line->empty()) return std::nullopt;
  return line;
}

Value Fixed(const char* text) { return std::string(text); }
Value Boolean(bool value) { return std::string(value ? "TRUE" : "FALSE"); }

// Processor lines of /proc/cpuinfo: logical processors and distinct physical packages.
std::pair<unsigned, unsigned> ProcessorCounts() {
  std::istringstream lines(host::ReadText("/proc/cpuinfo").value_or(""));
  unsigned logical = 0;
  std::set<std::string> packages;
  for (std::string line; std::getline(lines, line);) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string key = line.substr(0, line.find_first_of(" \t:"));
    if (key == "processor") ++logical;
    if (line.rfind("physical id", 0) == 0) packages.insert(line.substr(colon + 1));
  }
  return {logical, packages.empty() ? (logical ? 1u : 0u) : static_cast<unsigned>(packages.size())};
}

Value ComputerName() {
  WCHAR name[256] = {};
  const DWORD n = GetEnvironmentVariableW(u"COMPUTERNAME", name, 256);
  if (n == 0 || n >= 256) return std::nullopt;
  return ToUtf8(name, n);
}

}  // namespace

std::vector<Instance> ReadHostBios(const ClassInfo& info) {
  InstanceBuilder bios(info);
  const Value version = Dmi("bios_version");
  bios.Set("Caption", version);
  bios.Set("Description", version);
  bios.Set("Name", version);
  bios.Set("SMBIOSBIOSVersion", version);
  bios.Set("Manufacturer", Dmi("bios_vendor"));
  bios.Set("ReleaseDate", DmiReleaseDate(Dmi("bios_date")));
  bios.Set("SerialNumber", Dmi("product_serial"));
  bios.Set("PrimaryBIOS", Boolean(true));
  bios.Set("SMBIOSPresent", Boolean(host::Exists(kDmiFolder)));
  bios.Set("Status", Fixed("OK"));
  return {bios.Take()};
}

std::vector<Instance> ReadHostBaseBoard(const ClassInfo& info) {
  InstanceBuilder board(info);
  for (const char* name : {"Caption", "Description", "Name", "Tag"}) board.Set(name, Fixed("Base Board"));
  board.Set("HostingBoard", Boolean(true));
  board.Set("Manufacturer", Dmi("board_vendor"));
  board.Set("Product", Dmi("board_name"));
  board.Set("SerialNumber", Dmi("board_serial"));
  board.Set("Version", Dmi("board_version"));
  board.Set("Status", Fixed("OK"));
  return {board.Take()};
}

std::vector<Instance> ReadHostComputerSystem(const ClassInfo& info) {
  InstanceBuilder system(info);
  const Value name = ComputerName();
  system.Set("Caption", name);
  system.Set("Name", name);
  system.Set("Description", Fixed("AT/AT COMPATIBLE"));
  system.Set("Domain", Fixed("WORKGROUP"));
  system.Set("Workgroup", Fixed("WORKGROUP"));
  system.Set("PartOfDomain", Boolean(false));
  system.Set("Manufacturer", Dmi("sys_vendor"));
  system.Set("Model", Dmi("product_name"));
  const bool x86 = machine::ProfileValue("Windows", "Architecture", "x64") == "x86";
  system.Set("SystemType", Fixed(x86 ? "X86-based PC" : "x64-based PC"));
  const auto [logical, packages] = ProcessorCounts();
  if (logical) {
    system.Set("NumberOfLogicalProcessors", std::to_string(logical));
    system.Set("NumberOfProcessors", std::to_string(packages));
  }
  system.Set("TotalPhysicalMemory", HostTotalMemory());
  return {system.Take()};
}

}  // namespace zx::wmi
