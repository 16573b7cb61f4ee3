// Fuzz target: a machine's registry as the device scanner reads it. One seeded device gets
// hostile values (any type, any bytes) for the properties of its Enum key and for the
// values of its driver's Class key; the input is a list of (value, type, length, bytes)
// records. The scan must end, and every text of every record it gives is whole text within
// the record (a device name always there), and an INF path in the INF folder names a file of
// that folder.
// Links: zephrinkx_core
// Runs: 5000
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "../scan/DeviceScanner.h"
#include "fuzz_support.h"
#include "zx/machineprofile.h"

namespace {

constexpr char kProfile[] =
    "device PCI\\VEN_8086&DEV_1502\\3&11583659&0&C8\n name = Intel Ethernet\n class = Net\n"
    " hwid = PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA\n inf = e1c62x64.inf\n version = 12.6.47.1\n"
    " date = 5-11-2012\n provider = Intel\n service = e1cexpress\n";
constexpr LPCWSTR kEnumKey = u"SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_8086&DEV_1502\\3&11583659&0&C8";
constexpr LPCWSTR kClassKey = u"SYSTEM\\CurrentControlSet\\Control\\Class\\";
constexpr LPCWSTR kEnumValues[] = {u"HardwareID", u"CompatibleIDs", u"Service",  u"ClassGUID",    u"Driver",
                                   u"ConfigFlags", u"FriendlyName", u"DeviceDesc", u"Mfg"};
constexpr LPCWSTR kClassValues[] = {u"InfPath", u"DriverVersion", u"ProviderName", u"DriverDate", u"MatchingDeviceId"};

struct Value {
  DWORD type = 0;
  std::vector<BYTE> bytes;
  bool present = false;
};

Value Read(HKEY key, LPCWSTR name) {
  Value value;
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return value;
  value.bytes.resize(size);
  value.present = RegQueryValueExW(key, name, nullptr, &value.type, value.bytes.data(), &size) == ERROR_SUCCESS;
  return value;
}

void Put(HKEY key, LPCWSTR name, const Value& value) {
  if (!value.present) {
    RegDeleteValueW(key, name);
    return;
  }
  RegSetValueExW(key, name, 0, value.type, value.bytes.data(), static_cast<DWORD>(value.bytes.size()));
}

bool g_sound = true;

BOOL Collect(CDeviceRecordArray* records, int) {
  if (records == nullptr) return TRUE;
  for (INT_PTR i = 0; i < records->GetSize(); ++i) {
    const tagDeviceDriverInfo* record = records->GetAt(i);
    if (record == nullptr || record->szText[kSlotDeviceName].IsNull()) continue;
    if (*record->szText[kSlotDeviceName].Text() == 0) g_sound = false;
    // An INF path in the INF folder names a file of it, never one elsewhere.
    const CString inf = record->szText[kSlotInfPath].Text();
    const CString folder = _T("C:\\Windows\\inf\\");
    if (inf.Left(folder.GetLength()).CompareNoCase(folder) == 0 &&
        (inf.Mid(folder.GetLength()).FindOneOf(_T("\\/:")) >= 0 || inf.Mid(folder.GetLength()).Trim(_T(" .")).IsEmpty()))
      g_sound = false;
    for (const CRecordText& text : record->szText)
      if (!text.IsNull() && std::char_traits<WCHAR>::length(text.Get()) > 0x100000) g_sound = false;
  }
  return TRUE;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zx::fuzz::ScratchRoot();
  static const bool seeded = [] {
    zx::devices::MachineProfile profile;
    std::string error;
    const bool done = zx::devices::ParseProfile(kProfile, "fuzz", profile, error) &&
                      zx::devices::SeedMachine(profile, zx::devices::SeedOptions{false, "fuzz"}, error) ==
                          zx::devices::SeedResult::Seeded;
    if (!done) std::fprintf(stderr, "seeding: %s\n", error.c_str());
    return done;
  }();
  if (!seeded) std::abort();
  HKEY enumKey = nullptr, classKey = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kEnumKey, 0, KEY_ALL_ACCESS, &enumKey) != ERROR_SUCCESS) std::abort();
  const Value driver = Read(enumKey, u"Driver");
  if (!driver.present ||
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, (CString(kClassKey) + reinterpret_cast<LPCWSTR>(driver.bytes.data())).GetString(),
                    0, KEY_ALL_ACCESS, &classKey) != ERROR_SUCCESS)
    std::abort();
  // The values as seeded, put back after the scan.
  std::vector<std::pair<HKEY, LPCWSTR>> names;
  for (LPCWSTR name : kEnumValues) names.emplace_back(enumKey, name);
  for (LPCWSTR name : kClassValues) names.emplace_back(classKey, name);
  std::vector<Value> seededValues;
  for (const auto& [key, name] : names) seededValues.push_back(Read(key, name));

  for (std::size_t at = 0; at + 3 <= size;) {
    const auto& [key, name] = names[data[at] % names.size()];
    Value value;
    value.type = data[at + 1] % 12;
    const std::size_t length = std::min<std::size_t>(data[at + 2], size - at - 3);
    value.bytes.assign(data + at + 3, data + at + 3 + length);
    value.present = true;
    Put(key, name, value);
    at += 3 + length;
  }
  g_sound = true;
  {
    CDeviceScanner scanner(Collect);
    scanner.ScanDevices();
  }
  if (!g_sound) std::abort();
  for (std::size_t i = 0; i < names.size(); ++i) Put(names[i].first, names[i].second, seededValues[i]);
  RegCloseKey(classKey);
  RegCloseKey(enumKey);
  return 0;
}
