// Test hooks of the driver package installation: make a chosen call fail with a chosen
// error, before it reads or changes anything, or make successful installs ask for a restart.
// Platform-internal; for tests.
#pragma once
#include "wintypes.h"

namespace zx::devices {

enum class DifxCall { CopyOemInf, UpdateDriver, PackageInstall, PackagePreinstall };

// The call answers `error` (0 clears the hook) until the hooks are cleared.
void SetDifxFailure(DifxCall call, DWORD error);
// Successful installs of a driver report that Windows must restart (until the hooks are cleared).
void SetDifxRebootRequired(bool required);
// Clears every hook, the restart one too.
void ClearDifxFailures();

}  // namespace zx::devices
