// The process a window message came from. Messages reach a window from any process through
// the window channel, and a parameter that is an address means something only to a sender of
// the window's own process; a handler asks here before it reads one.
#pragma once
#include "wintypes.h"

namespace zx::user {

// The id of the process that sent or posted the message the calling thread is handling: the
// other process's for a message that came through the window channel, this process's for any
// other (also when no message is being handled).
DWORD GetMessageSenderProcessId();

}  // namespace zx::user
