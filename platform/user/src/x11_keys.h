// X key symbols to virtual keys for the presenter (no X11 names here).
#pragma once
#include <string_view>

namespace zx::user {

// The virtual key of an X keysym, 0 for keys without one. The keypad's digits answer
// VK_NUMPAD0..VK_NUMPAD9, its editing symbols (KP_Home, KP_Insert ...) the editing keys.
int VirtualKeyOfKeysym(unsigned long keysym);

// The virtual key of a key event from the key's first two keysyms (unshifted and shifted)
// and whether Num Lock is on: with Num Lock the keypad's digit keys and decimal point answer
// VK_NUMPAD0..VK_NUMPAD9 and VK_DECIMAL, without it their editing keys, as Windows does.
int VirtualKeyOfKey(unsigned long unshifted, unsigned long shifted, bool numLock);

// Whether a key press goes to the windows as the text X composed for it (each character by
// VK_PACKET) rather than as its virtual key: when it types printable text that the window
// system would not type for the key itself (punctuation of another layout, AltGr, a dead key's
// composition, a key without a virtual key). A press with Control or Alt held goes as its key.
bool TypedAsText(int virtualKey, std::u16string_view typed, bool shift, bool caps, bool command);

}  // namespace zx::user
