// Pens, brushes, the system colours and the stock objects.
#include <array>
#include <mutex>

#include "errhandlingapi.h"
#include "font.h"
#include "tools.h"
#include "zx/gdi.h"

namespace zx::gdi {
namespace {

// Index 0 to 30 of the Windows 7 default scheme.
constexpr std::array<COLORREF, 31> kSystemColours = {
    RGB(200, 200, 200), RGB(0, 0, 0),       RGB(153, 180, 209), RGB(191, 205, 219),
    RGB(240, 240, 240), RGB(255, 255, 255), RGB(100, 100, 100), RGB(0, 0, 0),
    RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(180, 180, 180), RGB(244, 247, 252),
    RGB(171, 171, 171), RGB(51, 153, 255),  RGB(255, 255, 255), RGB(240, 240, 240),
    RGB(160, 160, 160), RGB(109, 109, 109), RGB(0, 0, 0),       RGB(67, 78, 84),
    RGB(255, 255, 255), RGB(105, 105, 105), RGB(227, 227, 227), RGB(0, 0, 0),
    RGB(255, 255, 225), RGB(181, 181, 181), RGB(0, 102, 204),   RGB(185, 209, 234),
    RGB(215, 228, 242), RGB(51, 153, 255),  RGB(240, 240, 240)};

struct StockObjects {
  std::array<HGDIOBJ, 18> handles{};
};

LOGFONTW StockFont(LONG height, LONG weight, const char16_t* face) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  for (int i = 0; face[i] && i < LF_FACESIZE - 1; ++i) lf.lfFaceName[i] = face[i];
  return lf;
}

StockObjects& Stock() {
  static StockObjects* stock = [] {
    auto* s = new StockObjects;  // lives past static destruction, like the table
    auto brush = [](bool hollow, COLORREF c) {
      return InsertObject(std::make_shared<BrushObject>(hollow, c), true);
    };
    auto pen = [](int style, COLORREF c) {
      return InsertObject(std::make_shared<PenObject>(style, 1, c), true);
    };
    auto font = [](const LOGFONTW& lf) {
      return InsertObject(std::make_shared<FontObject>(lf), true);
    };
    s->handles[WHITE_BRUSH] = brush(false, RGB(255, 255, 255));
    s->handles[LTGRAY_BRUSH] = brush(false, RGB(192, 192, 192));
    s->handles[GRAY_BRUSH] = brush(false, RGB(128, 128, 128));
    s->handles[DKGRAY_BRUSH] = brush(false, RGB(64, 64, 64));
    s->handles[BLACK_BRUSH] = brush(false, RGB(0, 0, 0));
    s->handles[NULL_BRUSH] = brush(true, 0);
    s->handles[WHITE_PEN] = pen(PS_SOLID, RGB(255, 255, 255));
    s->handles[BLACK_PEN] = pen(PS_SOLID, RGB(0, 0, 0));
    s->handles[NULL_PEN] = pen(PS_NULL, 0);
    s->handles[OEM_FIXED_FONT] = font(StockFont(12, FW_NORMAL, u"Terminal"));
    s->handles[ANSI_FIXED_FONT] = font(StockFont(12, FW_NORMAL, u"Courier"));
    s->handles[ANSI_VAR_FONT] = font(StockFont(12, FW_NORMAL, u"MS Sans Serif"));
    s->handles[SYSTEM_FONT] = font(StockFont(16, FW_BOLD, u"System"));
    s->handles[DEVICE_DEFAULT_FONT] = s->handles[SYSTEM_FONT];
    s->handles[SYSTEM_FIXED_FONT] = font(StockFont(16, FW_NORMAL, u"Fixedsys"));
    s->handles[DEFAULT_GUI_FONT] = font(StockFont(-11, FW_NORMAL, u"MS Shell Dlg"));
    return s;
  }();
  return *stock;
}

}  // namespace

COLORREF SystemColour(int index) {
  return index >= 0 && index < static_cast<int>(kSystemColours.size()) ? kSystemColours[index] : 0;
}

std::shared_ptr<BrushObject> BrushFromHandle(HBRUSH brush) {
  const auto value = reinterpret_cast<ULONG_PTR>(brush);
  if (value >= 1 && value <= kSystemColours.size())
    return std::make_shared<BrushObject>(false, SystemColour(static_cast<int>(value) - 1));
  return ReferenceAs<BrushObject>(brush);
}

}  // namespace zx::gdi

using namespace zx::gdi;

HGDIOBJ GetStockObject(int index) {
  if (index < 0 || index >= static_cast<int>(Stock().handles.size())) return nullptr;
  return Stock().handles[index];
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return Insert<HBRUSH>(std::make_shared<BrushObject>(false, color & 0xFFFFFF));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush || (brush->lbStyle != BS_SOLID && brush->lbStyle != BS_NULL)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return Insert<HBRUSH>(
      std::make_shared<BrushObject>(brush->lbStyle == BS_NULL, brush->lbColor & 0xFFFFFF));
}

HPEN CreatePen(int style, int width, COLORREF color) {
  const int kind = style & PS_STYLE_MASK;
  if (kind > PS_INSIDEFRAME) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // Wide pens draw solid, as Windows' cosmetic styles are for one-pixel pens only.
  const int effective = (width > 1 && kind != PS_NULL) ? PS_SOLID : kind;
  return Insert<HPEN>(std::make_shared<PenObject>(effective, width, color & 0xFFFFFF));
}
