// Menu templates written word by word for the menu tests, and a resource module holding one.
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

// "&File": Open (1), a separator, Exit (2, grayed); "&Help" (last): "More" with About (3) and
// Check (4, checked), then Tips (5).
inline std::vector<BYTE> ToolsMenu() {
  std::vector<BYTE> t;
  Put16(t, 0);
  Put16(t, 0);
  Put16(t, MF_POPUP);
  PutText(t, u"&File");
  Put16(t, 0);
  Put16(t, 1);
  PutText(t, u"&Open\tCtrl+O");
  Put16(t, 0);
  Put16(t, 0);
  PutText(t, u"");
  Put16(t, MF_GRAYED | MF_END);
  Put16(t, 2);
  PutText(t, u"E&xit");
  Put16(t, MF_POPUP | MF_END);
  PutText(t, u"&Help");
  Put16(t, MF_POPUP);
  PutText(t, u"More");
  Put16(t, 0);
  Put16(t, 3);
  PutText(t, u"&About");
  Put16(t, MF_CHECKED | MF_END);
  Put16(t, 4);
  PutText(t, u"Check");
  Put16(t, MF_END);
  Put16(t, 5);
  PutText(t, u"Tips");
  return t;
}

// A resource file with each menu as RT_MENU under its id, opened as a module.
inline HMODULE ModuleWithMenus(const std::vector<std::pair<WORD, std::vector<BYTE>>>& menus,
                               const std::string& folder) {
  std::vector<res::ResourceInput> inputs;
  for (const auto& [id, bytes] : menus) {
    res::ResourceInput input;
    input.type = res::ResourceId::Number(4);
    input.name = res::ResourceId::Number(id);
    input.data = bytes;
    inputs.push_back(input);
  }
  std::vector<BYTE> file;
  std::string error;
  if (!res::WriteResourceFile(inputs, file, error)) return nullptr;
  const std::string path = folder + "/menus.res";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                              static_cast<std::streamsize>(file.size()));
  return res::OpenResourceModule(path);
}

}  // namespace zx::test
