// Test support of the service control manager: making a service's next start fail, as a
// service that does not answer its start in time would. Platform-internal.
#pragma once
#include <string_view>

#include "wintypes.h"

namespace zx::svc {

// The next StartService of the named service (any case) fails with the error instead of
// starting it; 0 takes a pending failure back.
void FailNextStart(std::u16string_view serviceName, DWORD error);

}  // namespace zx::svc
