// Nested message loops and the idle hook. Platform-internal: the class library's modal loops
// and tests use it; system code runs modal loops through dialogs and message boxes.
#pragma once
#include <functional>

namespace zx::user {

// Runs on the calling thread each time its GetMessageW or WaitMessage is about to wait
// because nothing is queued (once per wait). Tests use it to click, type or move the clock
// while a modal loop runs. Answers the hook it replaces; an empty hook removes it.
using IdleHook = std::function<void()>;
IdleHook SetIdleHook(IdleHook hook);

// Runs a nested message loop on the calling thread until done() answers true (asked before
// every wait and after every message). WM_QUIT ends the loop early: it is posted again for
// the enclosing loop and the answer is false.
bool RunModalLoop(const std::function<bool()>& done);

}  // namespace zx::user
