// X key symbols to virtual keys: letters, digits, punctuation, editing, arrows, function keys,
// modifiers and the keypad (digits by Num Lock, operators, its editing keys).
#include "x11_keys.h"

#include "keychars.h"
#include "wininput.h"

#include <X11/keysym.h>

namespace zx::user {
namespace {

bool IsKeypadNumber(unsigned long keysym) {
  return (keysym >= XK_KP_0 && keysym <= XK_KP_9) || keysym == XK_KP_Decimal;
}

int KeypadKey(unsigned long keysym) {
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return static_cast<int>(keysym - XK_KP_0) + VK_NUMPAD0;
  switch (keysym) {
    case XK_KP_Multiply: return VK_MULTIPLY;
    case XK_KP_Add: return VK_ADD;
    case XK_KP_Separator: return VK_SEPARATOR;
    case XK_KP_Subtract: return VK_SUBTRACT;
    case XK_KP_Decimal: return VK_DECIMAL;
    case XK_KP_Divide: return VK_DIVIDE;
    case XK_KP_Enter: return VK_RETURN;
    case XK_KP_Space: return VK_SPACE;
    case XK_KP_Tab: return VK_TAB;
    case XK_KP_Home: return VK_HOME;
    case XK_KP_End: return VK_END;
    case XK_KP_Prior: return VK_PRIOR;
    case XK_KP_Next: return VK_NEXT;
    case XK_KP_Left: return VK_LEFT;
    case XK_KP_Right: return VK_RIGHT;
    case XK_KP_Up: return VK_UP;
    case XK_KP_Down: return VK_DOWN;
    case XK_KP_Begin: return VK_CLEAR;
    case XK_KP_Insert: return VK_INSERT;
    case XK_KP_Delete: return VK_DELETE;
    case XK_Num_Lock: return VK_NUMLOCK;
    default: return 0;
  }
}

}  // namespace

int VirtualKeyOfKeysym(unsigned long keysym) {
  if (keysym >= XK_a && keysym <= XK_z) return static_cast<int>(keysym - XK_a) + 'A';
  if (keysym >= XK_A && keysym <= XK_Z) return static_cast<int>(keysym - XK_A) + 'A';
  if (keysym >= XK_0 && keysym <= XK_9) return static_cast<int>(keysym - XK_0) + '0';
  if (keysym >= XK_F1 && keysym <= XK_F12) return static_cast<int>(keysym - XK_F1) + VK_F1;
  if (const int keypad = KeypadKey(keysym)) return keypad;
  switch (keysym) {
    case XK_Return: return VK_RETURN;
    case XK_Escape: return VK_ESCAPE;
    case XK_Tab: case XK_ISO_Left_Tab: return VK_TAB;
    case XK_BackSpace: return VK_BACK;
    case XK_space: return VK_SPACE;
    case XK_Delete: return VK_DELETE;
    case XK_Insert: return VK_INSERT;
    case XK_Home: return VK_HOME;
    case XK_End: return VK_END;
    case XK_Prior: return VK_PRIOR;
    case XK_Next: return VK_NEXT;
    case XK_Left: return VK_LEFT;
    case XK_Right: return VK_RIGHT;
    case XK_Up: return VK_UP;
    case XK_Down: return VK_DOWN;
    case XK_Shift_L: return VK_LSHIFT;
    case XK_Shift_R: return VK_RSHIFT;
    case XK_Control_L: return VK_LCONTROL;
    case XK_Control_R: return VK_RCONTROL;
    case XK_Alt_L: return VK_LMENU;
    case XK_Alt_R: return VK_RMENU;
    case XK_Caps_Lock: return VK_CAPITAL;
    // The punctuation keys by what they type unshifted on the US keyboard.
    case XK_semicolon: return VK_OEM_1;
    case XK_equal: return VK_OEM_PLUS;
    case XK_comma: return VK_OEM_COMMA;
    case XK_minus: return VK_OEM_MINUS;
    case XK_period: return VK_OEM_PERIOD;
    case XK_slash: return VK_OEM_2;
    case XK_grave: return VK_OEM_3;
    case XK_bracketleft: return VK_OEM_4;
    case XK_backslash: return VK_OEM_5;
    case XK_bracketright: return VK_OEM_6;
    case XK_apostrophe: return VK_OEM_7;
    default: return 0;
  }
}

int VirtualKeyOfKey(unsigned long unshifted, unsigned long shifted, bool numLock) {
  if (IsKeypadNumber(shifted)) return VirtualKeyOfKeysym(numLock ? shifted : unshifted);
  return VirtualKeyOfKeysym(unshifted);
}

bool TypedAsText(int virtualKey, std::u16string_view typed, bool shift, bool caps, bool command) {
  if (typed.empty() || command) return false;
  for (char16_t c : typed)
    if (c < 0x20 || c == 0x7F) return false;  // control keys go as keys
  return virtualKey == 0 || typed.size() != 1 || KeyCharacter(virtualKey, shift, caps) != typed[0];
}

}  // namespace zx::user
