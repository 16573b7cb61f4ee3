// Windows that belong to the shell rather than to a program (the taskbar): the shell
// component makes them when a program first looks for one. Platform-internal.
#pragma once
#include "winuser.h"

namespace zx::user {

// Called by FindWindow/FindWindowEx among top-level windows with the class asked (a name or
// an atom, or null), before the search; the maker makes or refreshes the shell's windows of
// that class in this process.
using ShellWindowsMaker = void (*)(LPCWSTR className);
void SetShellWindowsMaker(ShellWindowsMaker maker);

// Runs the maker, when there is one, for a search of top-level windows by that class.
void MakeShellWindows(LPCWSTR className);

}  // namespace zx::user
