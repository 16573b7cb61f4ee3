// The reading of a standard menu template for BCMenu: the items in order with their nesting
// level, checked against the template's size before anything is built.
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
