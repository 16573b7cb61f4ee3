// CXTTrayIcon: the size of an icon and a copy of it resized to fit a box with its aspect
// ratio kept.
#include "XTTrayIcon.h"

#include <commctrl.h>

namespace {

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace

CSize CXTTrayIcon::GetIconSize(HICON hIcon) {
  ICONINFO info{};
  if (!hIcon || !::GetIconInfo(hIcon, &info)) return CSize(0, 0);
  CSize size;
  if (info.hbmColor) {
    size = BitmapSize(info.hbmColor);
  } else {
    // A monochrome icon: its mask holds the AND and the XOR halves one above the other.
    const SIZE mask = BitmapSize(info.hbmMask);
    size = CSize(mask.cx, mask.cy / 2);
  }
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return size;
}

HICON CXTTrayIcon::ResizeIcon(HICON hIcon, CSize fit) {
  const CSize size = GetIconSize(hIcon);
  if (size.cx <= 0 || size.cy <= 0 || fit.cx <= 0 || fit.cy <= 0) return nullptr;
  // The side that must shrink (or grow) the most decides; the other follows the ratio.
  CSize target = fit;
  if (static_cast<long long>(size.cx) * fit.cy > static_cast<long long>(size.cy) * fit.cx)
    target.cy = ::MulDiv(size.cy, fit.cx, size.cx);
  else
    target.cx = ::MulDiv(size.cx, fit.cy, size.cy);
  if (target.cx < 1) target.cx = 1;
  if (target.cy < 1) target.cy = 1;
  const HIMAGELIST list = ::ImageList_Create(target.cx, target.cy, ILC_COLOR32 | ILC_MASK, 1, 0);
  if (!list) return nullptr;
  HICON resized = nullptr;
  if (::ImageList_ReplaceIcon(list, -1, hIcon) == 0) resized = ::ImageList_GetIcon(list, 0, ILD_NORMAL);
  ::ImageList_Destroy(list);
  return resized;
}
