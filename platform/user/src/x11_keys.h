// X key symbols to virtual keys for the presenter (no X11 names here).
#pragma once

namespace zx::user {

// The virtual key of an X keysym, 0 for keys without one. The keypad's digits answer
// VK_NUMPAD0..VK_NUMPAD9, its editing symbols (KP_Home, KP_Insert ...) the editing keys.
int VirtualKeyOfKeysym(unsigned long keysym);

// The virtual key of a key event from the key's first two keysyms (unshifted and shifted)
// and whether Num Lock is on: with Num Lock the keypad's digit keys and decimal point answer
// VK_NUMPAD0..VK_NUMPAD9 and VK_DECIMAL, without it their editing keys, as Windows does.
int VirtualKeyOfKey(unsigned long unshifted, unsigned long shifted, bool numLock);

}  // namespace zx::user
