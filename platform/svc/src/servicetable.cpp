// The service table: configurations in the registry's Services keys, states in machine.ini.
#include "servicetable.h"

#include <winreg.h>

#include <map>
#include <mutex>

#include "profileapi.h"
#include "zx/casefold.h"
#include "zx/machine.h"
#include "zx/pathmap.h"
#include "zx/servicecontrol.h"

namespace zx::svc {
namespace {

constexpr char16_t kServices[] = u"SYSTEM\\CurrentControlSet\\Services\\";

std::u16string Folded(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded) c = FoldCase(c);
  return folded;
}

struct Failures {
  std::mutex mutex;
  std::map<std::u16string, DWORD> errors;
};
Failures& PendingFailures() {
  static Failures failures;
  return failures;
}

std::u16string MachineIni() { return path::HostToWindows(machine::Root() + "/machine.ini"); }

bool QueryText(HKEY key, const char16_t* name, std::u16string& text) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return false;
  std::u16string buffer(size / sizeof(char16_t) + 1, u'\0');
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
    return false;
  buffer.resize(size / sizeof(char16_t));
  while (!buffer.empty() && buffer.back() == u'\0') buffer.pop_back();
  text = buffer;
  return true;
}

void QueryDword(HKEY key, const char16_t* name, DWORD& value) {
  DWORD type = 0, read = 0, size = sizeof read;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&read), &size) == ERROR_SUCCESS &&
      type == REG_DWORD && size == sizeof read)
    value = read;
}

LONG SetText(HKEY key, const char16_t* name, const std::u16string& text, DWORD type) {
  return RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
}

LONG SetDword(HKEY key, const char16_t* name, DWORD value) {
  return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

bool IsDriver(const ServiceConfig& config) {
  return config.type == SERVICE_KERNEL_DRIVER || config.type == SERVICE_FILE_SYSTEM_DRIVER;
}

}  // namespace

bool ReadConfig(std::u16string_view name, ServiceConfig& config) {
  if (name.empty() || name.find(u'\\') != std::u16string_view::npos || name.size() > 256) return false;
  HKEY key = nullptr;
  const std::u16string path = kServices + std::u16string(name);
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ServiceConfig read;
  read.name = name;
  QueryDword(key, u"Type", read.type);
  QueryDword(key, u"Start", read.start);
  QueryDword(key, u"ErrorControl", read.errorControl);
  QueryText(key, u"ImagePath", read.imagePath);
  QueryText(key, u"Group", read.group);
  if (!QueryText(key, u"DisplayName", read.displayName)) read.displayName = read.name;
  RegCloseKey(key);
  config = std::move(read);
  return true;
}

bool WriteConfig(const ServiceConfig& config) {
  HKEY key = nullptr;
  const std::u16string path = kServices + config.name;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
  const bool written = SetDword(key, u"Type", config.type) == ERROR_SUCCESS &&
                       SetDword(key, u"Start", config.start) == ERROR_SUCCESS &&
                       SetDword(key, u"ErrorControl", config.errorControl) == ERROR_SUCCESS &&
                       SetText(key, u"ImagePath", config.imagePath, REG_EXPAND_SZ) == ERROR_SUCCESS &&
                       (config.group.empty() || SetText(key, u"Group", config.group, REG_SZ) == ERROR_SUCCESS) &&
                       SetText(key, u"DisplayName", config.displayName, REG_SZ) == ERROR_SUCCESS;
  RegCloseKey(key);
  return written;
}

StateRecord ReadStateRecord(const std::u16string& name) {
  WCHAR text[32];
  GetPrivateProfileStringW(u"Services", name.c_str(), u"", text, 32, MachineIni().c_str());
  const std::u16string state = Folded(text);
  if (state == u"running") return StateRecord::Running;
  if (state == u"stopped") return StateRecord::Stopped;
  if (state == u"paused") return StateRecord::Paused;
  if (state == u"disabled") return StateRecord::Disabled;
  return StateRecord::None;
}

bool WriteStateRecord(const std::u16string& name, StateRecord state) {
  static constexpr const char16_t* kNames[] = {nullptr, u"running", u"stopped", u"paused", u"disabled"};
  return WritePrivateProfileStringW(u"Services", name.c_str(), kNames[static_cast<int>(state)],
                                    MachineIni().c_str()) != FALSE;
}

bool IsDisabled(const ServiceConfig& config) {
  return config.start == SERVICE_DISABLED || ReadStateRecord(config.name) == StateRecord::Disabled;
}

DWORD CurrentState(const ServiceConfig& config) {
  // A service of ours runs while its process does.
  if (std::string program; ServiceProgram(config.name, program))
    return ServiceProcess(config.name, program) != 0 ? SERVICE_RUNNING : SERVICE_STOPPED;
  switch (ReadStateRecord(config.name)) {
    case StateRecord::Running: return SERVICE_RUNNING;
    case StateRecord::Paused: return SERVICE_PAUSED;
    case StateRecord::Stopped:
    case StateRecord::Disabled: return SERVICE_STOPPED;
    case StateRecord::None: break;
  }
  const bool starts = config.start <= SERVICE_AUTO_START || (config.start == SERVICE_DEMAND_START && IsDriver(config));
  return starts ? SERVICE_RUNNING : SERVICE_STOPPED;
}

DWORD TakeStartFailure(const std::u16string& name) {
  Failures& failures = PendingFailures();
  std::lock_guard<std::mutex> lock(failures.mutex);
  const auto found = failures.errors.find(Folded(name));
  if (found == failures.errors.end()) return 0;
  const DWORD error = found->second;
  failures.errors.erase(found);
  return error;
}

void FailNextStart(std::u16string_view serviceName, DWORD error) {
  Failures& failures = PendingFailures();
  std::lock_guard<std::mutex> lock(failures.mutex);
  if (error == 0) failures.errors.erase(Folded(serviceName));
  else failures.errors[Folded(serviceName)] = error;
}

}  // namespace zx::svc
