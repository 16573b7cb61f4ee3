// Dialog fonts measured through the GDI, dialog base units and dialog units to pixels.
#include <map>
#include <mutex>
#include <tuple>

#include "dialog.h"

namespace zx::user {
namespace {

constexpr char16_t kAlphabet[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kAlphabetLength = 52;

using FontKey = std::tuple<std::u16string, int, int, bool>;

DialogFont MeasureFont(const FontKey& key) {
  const auto& [face, points, weight, italic] = key;
  DialogFont result;
  const HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return result;
  LOGFONTW logFont{};
  logFont.lfHeight = -((points * GetDeviceCaps(dc, LOGPIXELSY) + 36) / 72);
  logFont.lfWeight = weight ? weight : FW_NORMAL;
  logFont.lfItalic = italic ? 1 : 0;
  face.copy(logFont.lfFaceName, LF_FACESIZE - 1);
  result.font = CreateFontIndirectW(&logFont);
  const HGDIOBJ previous = SelectObject(dc, result.font);
  TEXTMETRICW metrics{};
  SIZE extent{};
  if (GetTextMetricsW(dc, &metrics) &&
      GetTextExtentPoint32W(dc, kAlphabet, kAlphabetLength, &extent)) {
    const LONG x = (extent.cx + kAlphabetLength / 2) / kAlphabetLength;
    result.baseUnits = MAKELONG(x, metrics.tmHeight);
  }
  SelectObject(dc, previous);
  DeleteDC(dc);
  return result;
}

// a * b / c rounded half away from zero, as Windows rounds dialog units.
int Scale(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : -((-product + half) / c));
}

}  // namespace

DialogFont DialogFontOf(const std::u16string& face, int points, int weight, bool italic) {
  static std::mutex lock;
  static std::map<FontKey, DialogFont>& fonts = *new std::map<FontKey, DialogFont>;
  const FontKey key{face, points, weight, italic};
  std::lock_guard guard(lock);
  auto found = fonts.find(key);
  if (found == fonts.end()) found = fonts.emplace(key, MeasureFont(key)).first;
  return found->second;
}

DialogFont DefaultDialogFont() { return DialogFontOf(u"MS Shell Dlg", 8, FW_NORMAL, false); }

RECT DialogUnitsToPixels(LONG baseUnits, const RECT& units) {
  const int x = LOWORD(baseUnits);
  const int y = HIWORD(baseUnits);
  return RECT{Scale(units.left, x, 4), Scale(units.top, y, 8), Scale(units.right, x, 4),
              Scale(units.bottom, y, 8)};
}

}  // namespace zx::user

LONG GetDialogBaseUnits() { return zx::user::DefaultDialogFont().baseUnits; }

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const LONG units = zx::user::DialogUnitsOf(dialog);
  if (!units) return FALSE;  // not a dialog of this manager (last error set for a bad handle)
  *rect = zx::user::DialogUnitsToPixels(units, *rect);
  return TRUE;
}
