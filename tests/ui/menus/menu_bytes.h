// The menu templates of the owner-drawn menu tests.
#pragma once
#include <string>
#include <vector>

#include "menu_template_bytes.h"

namespace zx::test {

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

}  // namespace zx::test
