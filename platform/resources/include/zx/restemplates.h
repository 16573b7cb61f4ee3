// Readers of the template resources, checked against their size: dialog templates (the
// extended DLGTEMPLATEEX layout the compiler writes, and the plain one) and menu templates
// (the standard layout). The window system builds dialogs and menus from these; a malformed
// template gives a message and no partial result.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "wintypes.h"

namespace zx::res {

// A field that is absent, a 16-bit number (written 0xFFFF, n) or a text.
struct NameOrNumber {
  enum class Kind { None, Number, Text } kind = Kind::None;
  WORD number = 0;
  std::u16string text;
};

struct DialogItem {
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0;
  short y = 0;
  short cx = 0;
  short cy = 0;
  DWORD id = 0;
  NameOrNumber windowClass;  // numbers 0x80..0x85: Button, Edit, Static, ListBox, ScrollBar, ComboBox
  NameOrNumber title;
  std::vector<BYTE> extra;  // creation data
};

struct DialogTemplate {
  bool extended = false;
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0;
  short y = 0;
  short cx = 0;
  short cy = 0;
  NameOrNumber menu;
  NameOrNumber windowClass;
  std::u16string title;
  bool hasFont = false;  // style has DS_SETFONT (0x40)
  WORD pointSize = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charset = 0;
  std::u16string face;
  std::vector<DialogItem> items;
};

bool ReadDialogTemplate(const void* data, std::size_t size, DialogTemplate& dialog,
                        std::string& error);

struct MenuTemplateItem {
  WORD flags = 0;  // MF_GRAYED 0x1, MF_DISABLED 0x2, MF_CHECKED 0x8, MF_POPUP 0x10, ...
  WORD id = 0;     // 0 for popups and separators
  std::u16string text;  // empty for separators
  std::vector<MenuTemplateItem> items;  // of a popup
};

bool ReadMenuTemplate(const void* data, std::size_t size, std::vector<MenuTemplateItem>& items,
                      std::string& error);

}  // namespace zx::res
