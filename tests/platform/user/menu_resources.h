// Menu resources for the menu tests: a standard menu template and a resource module that
// holds it.
#pragma once
#include <fstream>
#include <string>
#include <vector>

#include "winmenu.h"
#include "zx/resfile.h"
#include "zx/resmodule.h"

namespace zx::test {

inline void Put16(std::vector<BYTE>& out, WORD v) {
  out.push_back(static_cast<BYTE>(v & 0xFF));
  out.push_back(static_cast<BYTE>(v >> 8));
}
inline void PutText(std::vector<BYTE>& out, const std::u16string& text) {
  for (char16_t c : text) Put16(out, c);
  Put16(out, 0);
}

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
  std::vector<res::ResourceInput> inputs(1);
  inputs[0].type = res::ResourceId::Number(4);
  inputs[0].name = res::ResourceId::Number(5003);
  inputs[0].data = menu;
  std::vector<BYTE> file;
  std::string error;
  if (!res::WriteResourceFile(inputs, file, error)) return nullptr;
  const std::string path = folder + "/menus.res";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                              static_cast<std::streamsize>(file.size()));
  return res::OpenResourceModule(path);
}

}  // namespace zx::test
