// The package installation's two halves: storing a package (INF folder and driver store) and
// giving matching present devices its driver. Platform-internal.
#pragma once
#include <string>
#include <vector>

#include "difx_inf.h"

namespace zx::devices {

// The name the package's INF has, or gets, in the INF folder ("oem4.inf"), and whether an
// identical INF is there already. False with a Win32 error when the folder cannot be read.
bool FindOemName(const InfPackage& package, std::u16string& oemName, bool& present, DWORD& error);
// Copies the INF into the INF folder under that name (through a temporary file) and the INF
// with the files it names that lie beside it into the driver store. 0 or a Win32 error.
DWORD StorePackage(const std::string& infHostPath, const InfPackage& package, const std::u16string& oemName);

// One present device the package fits.
struct InstallTarget {
  std::u16string instanceId;
  std::u16string currentDriverKey;
  std::size_t model = 0;
  std::u16string matchedId;
  DWORD rank = 0;
  bool older = false;  // the package is older than the device's driver
};
struct InstallPlan {
  std::size_t devicesWithId = 0;  // present devices that have the asked id (all when none asked)
  std::vector<InstallTarget> targets;
};
// The present devices the package has a driver for; with hardwareId only those that have
// that hardware or compatible id.
InstallPlan PlanInstall(const InfPackage& package, const std::u16string* hardwareId);
// Gives each target the package's driver (targets marked older only with force); the number
// of devices changed, or -1 with a Win32 error when the registry refused.
int ApplyInstall(const InfPackage& package, const std::u16string& oemName, const InstallPlan& plan, bool force,
                 DWORD& error);

}  // namespace zx::devices
