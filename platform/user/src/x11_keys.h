// X key symbols to virtual keys for the presenter (no X11 names here).
#pragma once

namespace zx::user {

// The virtual key of an X keysym (its unshifted symbol), 0 for keys without one.
int VirtualKeyOfKeysym(unsigned long keysym);

}  // namespace zx::user
