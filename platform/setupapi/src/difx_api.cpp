// The package installation's entry points: DriverPackageInstallW, DriverPackagePreinstallW,
// the log callback, SetupCopyOEMInfW and UpdateDriverForPlugAndPlayDevicesW, with the test
// hooks that make each fail on demand.
#include <array>
#include <atomic>
#include <mutex>

#include "difx_inf.h"
#include "difx_install.h"
#include "difxapi.h"
#include "errhandlingapi.h"
#include "setupapi.h"
#include "zx/devicetree.h"
#include "zx/difxhooks.h"
#include "zx/pathmap.h"

namespace zx::devices {
namespace {

std::array<std::atomic<DWORD>, 4> g_failures{};
std::atomic<bool> g_rebootRequired{false};
std::mutex g_installLock;  // one package installation at a time in the process
std::mutex g_logLock;
DIFXAPILOGCALLBACK_W g_log = nullptr;
PVOID g_logContext = nullptr;

DWORD HookedFailure(DifxCall call) { return g_failures[static_cast<std::size_t>(call)].load(); }

void Log(DIFXAPI_LOG event, DWORD error, const std::u16string& text) {
  std::lock_guard<std::mutex> g(g_logLock);
  if (g_log != nullptr) g_log(event, error, text.c_str(), g_logContext);
}

// Reads the package an INF path names; 0 or the error.
DWORD Read(LPCWSTR infPath, std::string& hostPath, InfPackage& package) {
  if (infPath == nullptr || *infPath == 0) return ERROR_INVALID_PARAMETER;
  DWORD error = ERROR_FILE_NOT_FOUND;
  if (!zx::path::WindowsToHost(infPath, hostPath, &error)) return error;
  error = ReadInfPackage(hostPath, package);
  if (error != 0)
    Log(DIFXAPI_ERROR, error,
        std::u16string(error == ERROR_NO_DRIVER_SELECTED ? u"The INF has no driver for this machine: "
                                                         : u"The INF cannot be used: ") +
            infPath);
  return error;
}

// Stores a package read from hostPath; 0 or the error.
DWORD Store(const std::string& hostPath, const InfPackage& package, std::u16string& oemName) {
  bool present = false;
  DWORD error = 0;
  if (!FindOemName(package, oemName, present, error)) return error;
  error = StorePackage(hostPath, package, oemName);
  if (error == 0) Log(DIFXAPI_INFO, 0, u"The package is stored as " + oemName);
  return error;
}

// Preinstalls (install = false) or installs a package; 0 or the error.
DWORD PackageCall(LPCWSTR infPath, DWORD flags, bool install) {
  std::string hostPath;
  InfPackage package;
  DWORD error = Read(infPath, hostPath, package);
  if (error != 0) return error;
  std::lock_guard<std::mutex> g(g_installLock);
  const InstallPlan plan = PlanInstall(package, nullptr);
  if ((flags & DRIVER_PACKAGE_ONLY_IF_DEVICE_PRESENT) && plan.targets.empty()) return ERROR_NO_SUCH_DEVINST;
  std::u16string oemName;
  error = Store(hostPath, package, oemName);
  if (error != 0 || !install) return error;
  const int changed = ApplyInstall(package, oemName, plan, (flags & DRIVER_PACKAGE_FORCE) != 0, error);
  if (changed < 0) return error;
  if (changed == 0 && !plan.targets.empty()) {
    Log(DIFXAPI_WARNING, ERROR_NO_MORE_ITEMS, u"The devices have newer drivers");
    return ERROR_NO_MORE_ITEMS;
  }
  Log(DIFXAPI_SUCCESS, 0, u"The package is installed");
  return 0;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace

void SetDifxFailure(DifxCall call, DWORD error) { g_failures[static_cast<std::size_t>(call)].store(error); }

void SetDifxRebootRequired(bool required) { g_rebootRequired.store(required); }

void ClearDifxFailures() {
  for (auto& failure : g_failures) failure.store(0);
  g_rebootRequired.store(false);
}

}  // namespace zx::devices

using zx::devices::DifxCall;

DWORD DriverPackageInstallW(LPCWSTR infPath, DWORD flags, PINSTALLERINFO_W, BOOL* needReboot) {
  if (needReboot != nullptr) *needReboot = FALSE;
  if (const DWORD failure = zx::devices::HookedFailure(DifxCall::PackageInstall)) return failure;
  const DWORD result = zx::devices::PackageCall(infPath, flags, true);
  if (result == ERROR_SUCCESS && needReboot != nullptr) *needReboot = zx::devices::g_rebootRequired.load();
  return result;
}

DWORD DriverPackagePreinstallW(LPCWSTR infPath, DWORD flags) {
  if (const DWORD failure = zx::devices::HookedFailure(DifxCall::PackagePreinstall)) return failure;
  return zx::devices::PackageCall(infPath, flags, false);
}

void DIFXAPISetLogCallbackW(DIFXAPILOGCALLBACK_W callback, PVOID context) {
  std::lock_guard<std::mutex> g(zx::devices::g_logLock);
  zx::devices::g_log = callback;
  zx::devices::g_logContext = context;
}

BOOL SetupCopyOEMInfW(LPCWSTR sourceInfFileName, LPCWSTR, DWORD, DWORD copyStyle, LPWSTR destinationInfFileName,
                      DWORD destinationInfFileNameSize, PDWORD requiredSize, LPWSTR* destinationInfFileNameComponent) {
  using namespace zx::devices;
  if (const DWORD failure = HookedFailure(DifxCall::CopyOemInf)) return Fail(failure);
  std::string hostPath;
  InfPackage package;
  if (const DWORD error = Read(sourceInfFileName, hostPath, package)) return Fail(error);
  std::lock_guard<std::mutex> g(g_installLock);
  std::u16string oemName;
  bool present = false;
  DWORD error = 0;
  if (!FindOemName(package, oemName, present, error)) return Fail(error);
  if (present && (copyStyle & SP_COPY_NOOVERWRITE)) return Fail(ERROR_FILE_EXISTS);
  const std::u16string fullPath = std::u16string(kInfFolder) + u"\\" + oemName;
  if (requiredSize != nullptr) *requiredSize = static_cast<DWORD>(fullPath.size() + 1);
  if (destinationInfFileName != nullptr && destinationInfFileNameSize < fullPath.size() + 1)
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  if ((error = StorePackage(hostPath, package, oemName)) != 0) return Fail(error);
  if (destinationInfFileName != nullptr) {
    std::copy(fullPath.begin(), fullPath.end(), destinationInfFileName);
    destinationInfFileName[fullPath.size()] = 0;
    if (destinationInfFileNameComponent != nullptr)
      *destinationInfFileNameComponent = destinationInfFileName + (fullPath.size() - oemName.size());
  }
  return TRUE;
}

BOOL UpdateDriverForPlugAndPlayDevicesW(HWND, LPCWSTR hardwareId, LPCWSTR fullInfPath, DWORD installFlags,
                                        PBOOL rebootRequired) {
  using namespace zx::devices;
  if (rebootRequired != nullptr) *rebootRequired = FALSE;
  if (const DWORD failure = HookedFailure(DifxCall::UpdateDriver)) return Fail(failure);
  if (hardwareId == nullptr || *hardwareId == 0) return Fail(ERROR_INVALID_PARAMETER);
  std::string hostPath;
  InfPackage package;
  if (const DWORD error = Read(fullInfPath, hostPath, package)) return Fail(error);
  std::lock_guard<std::mutex> g(g_installLock);
  const std::u16string id(hardwareId);
  const InstallPlan plan = PlanInstall(package, &id);
  if (plan.devicesWithId == 0) return Fail(ERROR_NO_SUCH_DEVINST);
  if (plan.targets.empty()) return Fail(ERROR_NO_DRIVER_SELECTED);
  std::u16string oemName;
  DWORD error = Store(hostPath, package, oemName);
  if (error != 0) return Fail(error);
  const int changed = ApplyInstall(package, oemName, plan, (installFlags & INSTALLFLAG_FORCE) != 0, error);
  if (changed < 0) return Fail(error);
  if (changed == 0) return Fail(ERROR_NO_MORE_ITEMS);
  if (rebootRequired != nullptr) *rebootRequired = g_rebootRequired.load();
  return TRUE;
}
