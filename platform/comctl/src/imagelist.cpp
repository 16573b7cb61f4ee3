// Image lists: images of one size kept as 32-bit premultiplied pixels, transparent where the
// colour key or the mask bitmap says so, drawn by alpha blending.
#include <algorithm>
#include <mutex>
#include <map>
#include <memory>
#include <vector>

#include "commctrl.h"
#include "errhandlingapi.h"
#include "windraw.h"
#include "zx/gdi.h"

// The object behind an HIMAGELIST handle.
struct _IMAGELIST {
  int cx = 0;
  int cy = 0;
  UINT flags = 0;
  COLORREF background = CLR_NONE;
  std::vector<std::vector<DWORD>> images;  // cx * cy pixels each, rows top-down, BGRA
};

namespace {

constexpr int kMaxSide = 1024;
constexpr int kMaxImages = 65536;

// Handles are numbers that are never used again, so a list destroyed twice (by a control and
// by its owner) never takes another list with it.
struct ListTable {
  std::mutex lock;
  std::map<ULONG_PTR, std::unique_ptr<_IMAGELIST>> lists;
  ULONG_PTR next = 0x10;
};
ListTable& Table() {
  static ListTable table;
  return table;
}

// The list behind a handle, or null (with the last error) for one that is not alive.
_IMAGELIST* Live(HIMAGELIST handle) {
  ListTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  auto it = table.lists.find(reinterpret_cast<ULONG_PTR>(handle));
  if (it != table.lists.end()) return it->second.get();
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

bool Masked(const _IMAGELIST& list) { return (list.flags & ILC_MASK) != 0; }

// COLORREF 0x00BBGGRR as a pixel 0x00RRGGBB.
DWORD PixelRgb(COLORREF colour) {
  return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

// The bitmap's pixels; a bitmap that carries no alpha at all counts as opaque.
bool ReadPixels(HBITMAP bitmap, std::vector<DWORD>& pixels, SIZE& size) {
  if (!bitmap || !zx::gdi::CopyBitmapPixels(bitmap, pixels, size)) return false;
  if (std::all_of(pixels.begin(), pixels.end(), [](DWORD p) { return (p >> 24) == 0; }))
    for (DWORD& p : pixels) p |= 0xFF000000u;
  return true;
}

// Cuts a strip into images; `transparent(x, y, pixel)` marks pixels left out by the mask.
template <class Transparent>
int AddStrip(_IMAGELIST& list, const std::vector<DWORD>& pixels, SIZE size, Transparent transparent) {
  const int count = static_cast<int>(size.cx) / list.cx;
  if (count < 1 || size.cy < list.cy ||
      static_cast<int>(list.images.size()) + count > kMaxImages) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  const int first = static_cast<int>(list.images.size());
  for (int i = 0; i < count; ++i) {
    std::vector<DWORD> image(static_cast<std::size_t>(list.cx) * list.cy);
    for (int y = 0; y < list.cy; ++y)
      for (int x = 0; x < list.cx; ++x) {
        const int sx = i * list.cx + x;
        const DWORD p = pixels[static_cast<std::size_t>(y) * size.cx + sx];
        image[static_cast<std::size_t>(y) * list.cx + x] =
            Masked(list) && transparent(sx, y, p) ? 0u : p;
      }
    list.images.push_back(std::move(image));
  }
  return first;
}

BYTE Mix(DWORD a, DWORD b, int shift, int percentOfB) {
  const int x = static_cast<int>((a >> shift) & 0xFF);
  const int y = static_cast<int>((b >> shift) & 0xFF);
  return static_cast<BYTE>((x * (100 - percentOfB) + y * percentOfB) / 100);
}

// The pixels as drawn for a style: the mask, a blend with the foreground colour, and the
// background colour under transparent pixels.
std::vector<DWORD> StyledPixels(const std::vector<DWORD>& image, UINT style, COLORREF background,
                                COLORREF foreground) {
  std::vector<DWORD> out = image;
  if (style & ILD_MASK) {
    for (DWORD& p : out) p = (p >> 24) ? 0xFF000000u : 0xFFFFFFFFu;
    return out;
  }
  const int percent = (style & ILD_BLEND50) ? 50 : (style & ILD_BLEND25) ? 25 : 0;
  const DWORD blend = PixelRgb(foreground);
  const DWORD under = PixelRgb(background);
  for (DWORD& p : out) {
    const DWORD alpha = p >> 24;
    if (alpha == 0) {
      if (background != CLR_NONE) p = 0xFF000000u | under;
      continue;
    }
    if (percent) {
      // Blend in the premultiplied space: the foreground scaled by the pixel's alpha.
      const DWORD f = (((blend >> 16 & 0xFF) * alpha / 255) << 16) |
                      (((blend >> 8 & 0xFF) * alpha / 255) << 8) | ((blend & 0xFF) * alpha / 255);
      p = (alpha << 24) | (static_cast<DWORD>(Mix(p, f, 16, percent)) << 16) |
          (static_cast<DWORD>(Mix(p, f, 8, percent)) << 8) | Mix(p, f, 0, percent);
    }
  }
  return out;
}

BOOL BlendPixels(HDC dc, int x, int y, int width, int height, const std::vector<DWORD>& pixels,
                 int cx, int cy) {
  HBITMAP bitmap = CreateBitmap(cx, cy, 1, 32, pixels.data());
  HDC memory = CreateCompatibleDC(dc);
  if (!bitmap || !memory) {
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    return FALSE;
  }
  HGDIOBJ old = SelectObject(memory, bitmap);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  const BOOL drawn = AlphaBlend(dc, x, y, width, height, memory, 0, 0, width, height, blend);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return drawn;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow) {
  if (cx < 1 || cy < 1 || cx > kMaxSide || cy > kMaxSide || initial < 0 || grow < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto list = std::make_unique<_IMAGELIST>();
  list->cx = cx;
  list->cy = cy;
  list->flags = flags;
  list->images.reserve(static_cast<std::size_t>(std::min(initial, 256)));
  ListTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  const ULONG_PTR id = table.next++;
  table.lists[id] = std::move(list);
  return reinterpret_cast<HIMAGELIST>(id);
}

BOOL ImageList_Destroy(HIMAGELIST handle) {
  ListTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  auto it = table.lists.find(reinterpret_cast<ULONG_PTR>(handle));
  if (it == table.lists.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  table.lists.erase(it);
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST handle) {
  _IMAGELIST* list = Live(handle);
  return list ? static_cast<int>(list->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST handle, int* cx, int* cy) {
  _IMAGELIST* list = Live(handle);
  if (!list || !cx || !cy) return FALSE;
  *cx = list->cx;
  *cy = list->cy;
  return TRUE;
}

int ImageList_Add(HIMAGELIST handle, HBITMAP image, HBITMAP mask) {
  _IMAGELIST* list = Live(handle);
  std::vector<DWORD> pixels;
  SIZE size{};
  if (!list || !ReadPixels(image, pixels, size)) return -1;
  std::vector<DWORD> maskPixels;
  SIZE maskSize{};
  if (mask && !zx::gdi::CopyBitmapPixels(mask, maskPixels, maskSize)) return -1;
  return AddStrip(*list, pixels, size, [&](int x, int y, DWORD p) {
    if (maskPixels.empty()) return (p >> 24) == 0;
    if (x >= maskSize.cx || y >= maskSize.cy) return false;
    return (maskPixels[static_cast<std::size_t>(y) * maskSize.cx + x] & 0xFFFFFFu) != 0;
  });
}

int ImageList_AddMasked(HIMAGELIST handle, HBITMAP image, COLORREF maskColour) {
  _IMAGELIST* list = Live(handle);
  std::vector<DWORD> pixels;
  SIZE size{};
  if (!list || !ReadPixels(image, pixels, size)) return -1;
  const DWORD key = PixelRgb(maskColour);
  return AddStrip(*list, pixels, size, [key](int, int, DWORD p) {
    return (p >> 24) == 0 || ((p >> 24) == 0xFF && (p & 0xFFFFFFu) == key);
  });
}

int ImageList_ReplaceIcon(HIMAGELIST handle, int index, HICON icon) {
  _IMAGELIST* list = Live(handle);
  if (!list || !icon || index < -1 || index >= static_cast<int>(list->images.size())) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  // The icon drawn at the list's size over transparent pixels.
  std::vector<DWORD> clear(static_cast<std::size_t>(list->cx) * list->cy, 0u);
  HBITMAP canvas = CreateBitmap(list->cx, list->cy, 1, 32, clear.data());
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, canvas);
  const BOOL drawn = DrawIconEx(dc, 0, 0, icon, list->cx, list->cy, 0, nullptr, DI_NORMAL);
  SelectObject(dc, old);
  DeleteDC(dc);
  std::vector<DWORD> pixels;
  SIZE size{};
  const bool read = drawn && zx::gdi::CopyBitmapPixels(canvas, pixels, size);
  DeleteObject(canvas);
  if (!read) return -1;
  if (index == -1) {
    if (static_cast<int>(list->images.size()) >= kMaxImages) return -1;
    list->images.push_back(std::move(pixels));
    return static_cast<int>(list->images.size()) - 1;
  }
  list->images[static_cast<std::size_t>(index)] = std::move(pixels);
  return index;
}

BOOL ImageList_Remove(HIMAGELIST handle, int index) {
  _IMAGELIST* list = Live(handle);
  if (!list) return FALSE;
  if (index == -1) {
    list->images.clear();
    return TRUE;
  }
  if (index < 0 || index >= static_cast<int>(list->images.size())) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  list->images.erase(list->images.begin() + index);
  return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST handle, COLORREF colour) {
  _IMAGELIST* list = Live(handle);
  if (!list) return CLR_NONE;
  const COLORREF old = list->background;
  list->background = colour;
  return old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST handle) {
  _IMAGELIST* list = Live(handle);
  return list ? list->background : CLR_NONE;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style) {
  return ImageList_DrawEx(list, index, dc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}

BOOL ImageList_DrawEx(HIMAGELIST handle, int index, HDC dc, int x, int y, int dx, int dy,
                      COLORREF rgbBk, COLORREF rgbFg, UINT style) {
  _IMAGELIST* list = Live(handle);
  if (!list || !dc || index < 0 || index >= static_cast<int>(list->images.size()) ||
      dx < 0 || dy < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  COLORREF background = rgbBk == CLR_DEFAULT ? list->background : rgbBk;
  if ((style & ILD_TRANSPARENT) || !Masked(*list)) background = CLR_NONE;
  const COLORREF foreground =
      rgbFg == CLR_DEFAULT || rgbFg == CLR_NONE ? zx::gdi::SystemColour(COLOR_HIGHLIGHT) : rgbFg;
  const std::vector<DWORD> pixels = StyledPixels(list->images[static_cast<std::size_t>(index)],
                                                 style, background, foreground);
  const int width = dx ? std::min(dx, list->cx) : list->cx;
  const int height = dy ? std::min(dy, list->cy) : list->cy;
  return BlendPixels(dc, x, y, width, height, pixels, list->cx, list->cy);
}

HICON ImageList_GetIcon(HIMAGELIST handle, int index, UINT /*flags*/) {
  _IMAGELIST* list = Live(handle);
  if (!list || index < 0 || index >= static_cast<int>(list->images.size())) return nullptr;
  HBITMAP bitmap = CreateBitmap(list->cx, list->cy, 1, 32,
                                list->images[static_cast<std::size_t>(index)].data());
  if (!bitmap) return nullptr;
  HICON icon = zx::gdi::CreateIconFromBitmap(bitmap, true, POINT{0, 0});
  DeleteObject(bitmap);
  return icon;
}
