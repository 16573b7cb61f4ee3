// Reading a top-level window's caption, region, constant alpha and icons for the presenter.
#include "presenter_look.h"

#include <algorithm>

#include "compositor.h"
#include "usertext.h"
#include "window.h"
#include "windraw.h"
#include "zx/gdi.h"

namespace zx::user {
namespace {

// What the desktop is given at most: icons come in sizes up to 256, and no taskbar shows a
// caption longer than this (both keep each X request well under the server's limit).
constexpr LONG kLargestIcon = 256;
constexpr std::size_t kLongestCaption = 1024;

// The caption cut to its longest, never inside a surrogate pair.
std::u16string_view CaptionPart(std::u16string_view text) {
  if (text.size() <= kLongestCaption) return text;
  std::size_t keep = kLongestCaption;
  if (text[keep - 1] >= 0xD800 && text[keep - 1] < 0xDC00) --keep;
  return text.substr(0, keep);
}

std::string Latin1(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char16_t c : text) out += c < 0x100 ? static_cast<char>(c) : '?';
  return out;
}

unsigned long Unpremultiplied(DWORD bgra) {
  const DWORD a = bgra >> 24;
  if (a == 0) return 0;
  const auto channel = [&](int shift) {
    const DWORD c = (bgra >> shift) & 0xFF;
    return std::min<DWORD>(255, (c * 255 + a / 2) / a);
  };
  return (static_cast<unsigned long>(a) << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

void AppendIcon(HICON icon, std::vector<unsigned long>& out) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return;
  std::vector<DWORD> pixels;
  SIZE size{};
  if (gdi::CopyBitmapPixels(info.hbmColor, pixels, size) && size.cx > 0 && size.cy > 0 && size.cx <= kLargestIcon &&
      size.cy <= kLargestIcon) {
    out.push_back(static_cast<unsigned long>(size.cx));
    out.push_back(static_cast<unsigned long>(size.cy));
    for (const DWORD p : pixels) out.push_back(Unpremultiplied(p));
  }
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
}

}  // namespace

TopLevelLook LookOf(HWND window) {
  TopLevelLook look;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    const Window* w = FindLocked(window);
    if (!w) return look;
    look.caption = ToUtf8(CaptionPart(w->text));
    look.captionLatin1 = Latin1(CaptionPart(w->text));
    look.bigIcon = w->bigIcon;
    look.smallIcon = w->smallIcon;
    if (!look.bigIcon && !look.smallIcon && w->windowClass) {
      look.bigIcon = w->windowClass->icon;
      look.smallIcon = w->windowClass->smallIcon;
    }
  }
  if (HRGN region = CopyWindowRegion(window, 0, 0)) {
    look.shaped = gdi::CopyRegionRects(region, look.region);
    DeleteObject(region);
  }
  const Layering layering = LayeringOf(window);
  if (layering.set && (layering.flags & LWA_ALPHA)) look.alpha = layering.alpha;
  return look;
}

bool SameRegion(const TopLevelLook& a, const TopLevelLook& b) {
  return a.shaped == b.shaped &&
         std::equal(a.region.begin(), a.region.end(), b.region.begin(), b.region.end(),
                    [](const RECT& x, const RECT& y) { return EqualRect(&x, &y) != FALSE; });
}

std::vector<unsigned long> IconCardinals(const TopLevelLook& look) {
  std::vector<unsigned long> out;
  AppendIcon(look.bigIcon, out);
  if (look.smallIcon != look.bigIcon) AppendIcon(look.smallIcon, out);
  return out;
}

bool ClampToWindow(const RECT& rect, LONG width, LONG height, RECT& inside) {
  inside = RECT{std::max<LONG>(rect.left, 0), std::max<LONG>(rect.top, 0), std::min(rect.right, width),
                std::min(rect.bottom, height)};
  return inside.left < inside.right && inside.top < inside.bottom;
}

}  // namespace zx::user
