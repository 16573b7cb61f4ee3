// The menu templates, toolbar resources and button pictures of the owner-drawn menu tests.
#pragma once
#include <string>
#include <vector>

#include "hex_bytes.h"
#include "menu_template_bytes.h"
#include "wingdi.h"

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

// A toolbar written by hand: version 1, 16 x 15 buttons, four items: Open (1), a separator,
// Exit (2), About (3).
inline std::vector<BYTE> ToolsToolbar() { return Hex("01 00 10 00 0f 00 04 00  01 00 00 00 02 00 03 00"); }

// The toolbar's pictures as a bitmap resource (a 24-bit bottom-up DIB): `count` buttons of
// 16 x 15 on light grey, each with a 10 x 9 square of its own colour (red, green, blue,
// yellow) from 3,3 of the button.
inline constexpr COLORREF kButtonColours[] = {RGB(220, 30, 30), RGB(30, 160, 40), RGB(30, 60, 220),
                                              RGB(200, 160, 0)};
inline std::vector<BYTE> ToolsStrip(int count) {
  const int width = 16 * count, height = 15, stride = (width * 3 + 3) & ~3;
  std::vector<BYTE> dib;
  const auto put32 = [&dib](DWORD v) {
    Put16(dib, static_cast<WORD>(v));
    Put16(dib, static_cast<WORD>(v >> 16));
  };
  put32(40);
  put32(static_cast<DWORD>(width));
  put32(static_cast<DWORD>(height));
  Put16(dib, 1);
  Put16(dib, 24);
  for (int i = 0; i < 6; ++i) put32(0);
  for (int row = height - 1; row >= 0; --row) {
    for (int x = 0; x < width; ++x) {
      const int inX = x % 16;
      const bool inside = inX >= 3 && inX < 13 && row >= 3 && row < 12;
      const COLORREF c = inside ? kButtonColours[(x / 16) % 4] : RGB(0xC0, 0xC0, 0xC0);
      dib.push_back(GetBValue(c));
      dib.push_back(GetGValue(c));
      dib.push_back(GetRValue(c));
    }
    for (int pad = width * 3; pad < stride; ++pad) dib.push_back(0);
  }
  return dib;
}

// A resource of the given type and id.
inline res::ResourceInput Resource(WORD type, WORD id, std::vector<BYTE> data) {
  res::ResourceInput input;
  input.type = res::ResourceId::Number(type);
  input.name = res::ResourceId::Number(id);
  input.data = std::move(data);
  return input;
}

}  // namespace zx::test
