// The characters of the window system's own keys, as the US keyboard types them.
#include "keychars.h"

namespace zx::user {

char16_t KeyCharacter(int key, bool shift, bool caps) {
  if (key >= 'A' && key <= 'Z') return static_cast<char16_t>(shift != caps ? key : key - 'A' + 'a');
  if (key >= '0' && key <= '9') return shift ? u")!@#$%^&*("[key - '0'] : static_cast<char16_t>(key);
  switch (key) {
    case VK_OEM_1: return shift ? u':' : u';';
    case VK_OEM_PLUS: return shift ? u'+' : u'=';
    case VK_OEM_COMMA: return shift ? u'<' : u',';
    case VK_OEM_MINUS: return shift ? u'_' : u'-';
    case VK_OEM_PERIOD: return shift ? u'>' : u'.';
    case VK_OEM_2: return shift ? u'?' : u'/';
    case VK_OEM_3: return shift ? u'~' : u'`';
    case VK_OEM_4: return shift ? u'{' : u'[';
    case VK_OEM_5: return shift ? u'|' : u'\\';
    case VK_OEM_6: return shift ? u'}' : u']';
    case VK_OEM_7: return shift ? u'"' : u'\'';
    case VK_SPACE: case VK_RETURN: case VK_ESCAPE: case VK_BACK: case VK_TAB:
      return static_cast<char16_t>(key);
    default:
      return 0;
  }
}

}  // namespace zx::user
