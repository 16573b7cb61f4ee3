// Test hooks of the driver package installation: make a chosen call fail with a chosen
// error, before it reads or changes anything. Platform-internal; for tests.
#pragma once
#include "wintypes.h"

namespace zx::devices {

enum class DifxCall { CopyOemInf, UpdateDriver, PackageInstall, PackagePreinstall };

// The call answers `error` (0 clears the hook) until the hooks are cleared.
void SetDifxFailure(DifxCall call, DWORD error);
void ClearDifxFailures();

}  // namespace zx::devices
