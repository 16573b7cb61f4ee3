// Menu resources for the menu tests: a standard menu template and a resource module that
// holds it.
#pragma once
#include <string>
#include <vector>

#include "menu_template_bytes.h"

namespace zx::test {

// A standard menu template: "&File" with Open (1), a separator, Exit (2, grayed), and
// "&Help" with About (3).
inline std::vector<BYTE> MenuTemplate() {
  std::vector<BYTE> t;
  Put16(t, 0);
  Put16(t, 0);
  Put16(t, MF_POPUP);
  PutText(t, u"&File");
  Put16(t, 0);
  Put16(t, 1);
  PutText(t, u"&Open");
  Put16(t, 0);
  Put16(t, 0);
  PutText(t, u"");
  Put16(t, MF_GRAYED | MF_END);
  Put16(t, 2);
  PutText(t, u"E&xit");
  Put16(t, MF_POPUP | MF_END);
  PutText(t, u"&Help");
  Put16(t, MF_END);
  Put16(t, 3);
  PutText(t, u"&About");
  return t;
}

// Writes a resource file holding the menu as RT_MENU 5003 and opens it as a module.
inline HMODULE ModuleWithMenu(const std::vector<BYTE>& menu, const std::string& folder) {
  return ModuleWithMenus({{5003, menu}}, folder);
}

}  // namespace zx::test
