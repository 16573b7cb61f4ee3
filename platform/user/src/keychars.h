// The characters keys type: the US keyboard's for the window system's own keys (letters,
// digits, the punctuation keys it names, and the control keys that type a character), and
// VK_PACKET, the key that carries a character of its own (a key of the presenter's keyboard
// that this table does not know, a dead key's composition, a character from another layout).
#pragma once
#include "winuser.h"

namespace zx::user {

// The character `key` types with Shift and Caps Lock as given (0: none).
char16_t KeyCharacter(int key, bool shift, bool caps);

// WM_KEYDOWN/WM_KEYUP of VK_PACKET carry their character in the high word of lParam.
constexpr LPARAM PacketKeyFlags(char16_t character) { return static_cast<LPARAM>(character) << 16; }
constexpr char16_t PacketCharacter(LPARAM flags) { return static_cast<char16_t>((flags >> 16) & 0xFFFF); }

}  // namespace zx::user
