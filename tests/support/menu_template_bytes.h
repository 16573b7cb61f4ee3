// Menu templates written word by word (little-endian words, texts ending in a zero word) and
// a resource module holding them (or other resources), for the tests of menus and of the classes
// built on them.
#pragma once
#include <fstream>
#include <string>
#include <utility>
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

// A resource file of the given resources, written in `folder` and opened as a module.
inline HMODULE ModuleWithResources(const std::vector<res::ResourceInput>& inputs, const std::string& folder) {
  std::vector<BYTE> file;
  std::string error;
  if (!res::WriteResourceFile(inputs, file, error)) return nullptr;
  const std::string path = folder + "/menus.res";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                              static_cast<std::streamsize>(file.size()));
  return res::OpenResourceModule(path);
}

// A resource file with each menu as RT_MENU under its id, written in `folder` and opened as
// a module.
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
  return ModuleWithResources(inputs, folder);
}

}  // namespace zx::test
