// X key symbols to virtual keys: letters, digits, editing, arrows, function keys, modifiers.
#include "x11_keys.h"

#include "wininput.h"

#include <X11/keysym.h>

namespace zx::user {

int VirtualKeyOfKeysym(unsigned long keysym) {
  if (keysym >= XK_a && keysym <= XK_z) return static_cast<int>(keysym - XK_a) + 'A';
  if (keysym >= XK_A && keysym <= XK_Z) return static_cast<int>(keysym - XK_A) + 'A';
  if (keysym >= XK_0 && keysym <= XK_9) return static_cast<int>(keysym - XK_0) + '0';
  if (keysym >= XK_F1 && keysym <= XK_F12) return static_cast<int>(keysym - XK_F1) + VK_F1;
  switch (keysym) {
    case XK_Return: case XK_KP_Enter: return VK_RETURN;
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
    default: return 0;
  }
}

}  // namespace zx::user
