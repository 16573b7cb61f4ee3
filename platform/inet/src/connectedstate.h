// The process's connected state (INTERNET_OPTION_CONNECTED_STATE). Inet-internal.
#pragma once

namespace zx::inet {

// True after the process was set offline, until it is set connected again.
bool IsOffline();

}  // namespace zx::inet
