// Whether the window message being handled came from this program's own process. Any process
// can reach the program's windows; a message whose parameters are addresses or row states is
// taken only from the program itself.
#pragma once
#include <processthreadsapi.h>
#include <zx/messagesender.h>

inline bool IsOwnProcessMessage() { return zx::user::GetMessageSenderProcessId() == ::GetCurrentProcessId(); }
