// The reading of a standard menu template for BCMenu: the items in order with their nesting
// level, checked against the template's size before anything is built; and the reading of a
// toolbar resource, whose buttons name the items that take its pictures.
#pragma once
#include <string>
#include <vector>

#include "HelperApi.h"
#include "wintypes.h"

struct BCMenuTemplateItem {
  WORD flags = 0;
  WORD id = 0;
  std::u16string text;
  int level = 0;  // 0: the menu itself, 1: a sub-menu of it ...
};

// False for a damaged template: too short, an item or text running past its end, a level
// never ended, or sub-menus nested deeper than kMaxMenuDepth.
constexpr int kMaxMenuDepth = 32;
ZXHELPER_API bool ReadMenuTemplate(const BYTE* bytes, DWORD size, std::vector<BCMenuTemplateItem>& items);

struct BCMenuToolbar {
  WORD width = 0;   // of one button picture
  WORD height = 0;
  std::vector<WORD> ids;  // the command id of each item; 0 for a separator
};

// False for a damaged toolbar resource: not version 1, an empty button size, or fewer bytes
// than its item count needs.
ZXHELPER_API bool ReadToolbarTemplate(const BYTE* bytes, DWORD size, BCMenuToolbar& toolbar);
