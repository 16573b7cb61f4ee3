// What the HTML text control's start-up left, for checks: the modules started with
// QHTM_Initialize.
#pragma once
#include "wintypes.h"

namespace zx::html {

// TRUE when QHTM_Initialize started the control for that module.
BOOL IsControlStartedFor(HINSTANCE instance);

}  // namespace zx::html
