// The system colours and their brushes, from the GDI's default scheme.
#include <array>

#include "winuser.h"
#include "wingdi.h"
#include "zx/gdi.h"

namespace {

constexpr int kColours = 31;  // COLOR_SCROLLBAR .. COLOR_MENUBAR

bool IsColourIndex(int index) { return index >= 0 && index < kColours; }

}  // namespace

DWORD GetSysColor(int index) { return IsColourIndex(index) ? zx::gdi::SystemColour(index) : 0; }

// The brushes live for the whole process, as the system's own.
HBRUSH GetSysColorBrush(int index) {
  static const std::array<HBRUSH, kColours> brushes = [] {
    std::array<HBRUSH, kColours> made{};
    for (int i = 0; i < kColours; ++i) made[i] = CreateSolidBrush(zx::gdi::SystemColour(i));
    return made;
  }();
  return IsColourIndex(index) ? brushes[index] : nullptr;
}
