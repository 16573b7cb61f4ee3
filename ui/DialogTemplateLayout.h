// The layout a dialog template gives: styles, size, whether a menu is named, the font
// (Tahoma 8 points when the template names none) and each item's id and rectangle in dialog
// units. Extended and plain templates are read; every read is checked against the size.
#pragma once
#include <string>
#include <vector>

#include <wintypes.h>

#include "HelperApi.h"

struct DialogTemplateItem {
  DWORD id = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplateLayout {
  DWORD style = 0;
  DWORD exStyle = 0;
  short cx = 0, cy = 0;
  bool hasMenu = false;
  WORD pointSize = 8;
  WORD weight = 400;
  BYTE italic = 0;
  std::u16string face = u"Tahoma";
  std::vector<DialogTemplateItem> items;
};

// FALSE (layout unspecified) when the bytes end before the template does.
ZXHELPER_API BOOL ReadDialogTemplateLayout(const BYTE* bytes, size_t size,
                                           DialogTemplateLayout& layout);
