// CHVFont: a font made from a LOGFONTW for the life of the object.
#pragma once
#include "HelperApi.h"
#include <afxwin.h>

class ZXHELPER_API CHVFont : public CFont {
 public:
  explicit CHVFont(const LOGFONTW& logFont);
  ~CHVFont() override;
};
