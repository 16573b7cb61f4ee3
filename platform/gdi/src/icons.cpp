// Icons and cursors: a premultiplied 32-bit image with a hot spot, drawn by DrawIconEx.
#include <cstring>

#include "bitmap.h"
#include "dib.h"
#include "errhandlingapi.h"
#include "windraw.h"
#include "zx/gdi.h"

using namespace zx::gdi;

namespace {

class IconObject : public GdiObject {
 public:
  IconObject(HBITMAP image, bool isIcon, POINT hotspot)
      : GdiObject(kIconType), image(image), isIcon(isIcon), hotspot(hotspot) {}
  ~IconObject() override { DeleteObject(image); }
  const HBITMAP image;  // owned; premultiplied alpha
  const bool isIcon;
  const POINT hotspot;
};

std::shared_ptr<IconObject> FindIcon(HICON icon) {
  auto object = ReferenceAs<IconObject>(icon);
  if (!object) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

HBITMAP CopyOf(HBITMAP source) {
  std::vector<DWORD> pixels;
  SIZE size{};
  if (!CopyBitmapPixels(source, pixels, size)) return nullptr;
  return CreateBitmap(size.cx, size.cy, 1, 32, pixels.data());
}

// White where the image is transparent, black elsewhere.
HBITMAP MaskOf(HBITMAP image) {
  std::vector<DWORD> pixels;
  SIZE size{};
  if (!CopyBitmapPixels(image, pixels, size)) return nullptr;
  for (DWORD& p : pixels) p = (p >> 24) == 0 ? 0xFFFFFFFFu : 0xFF000000u;
  return CreateBitmap(size.cx, size.cy, 1, 32, pixels.data());
}

HICON Adopt(HBITMAP image, bool isIcon, POINT hotspot) {
  if (!image) return nullptr;
  return Insert<HICON>(std::make_shared<IconObject>(image, isIcon, hotspot));
}

WORD ReadWord(const BYTE* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }

}  // namespace

namespace zx::gdi {

HICON CreateIconFromBitmap(HBITMAP image, bool isIcon, POINT hotspot) {
  return Adopt(CopyOf(image), isIcon, hotspot);
}

bool GetIconSize(HICON icon, SIZE& size) {
  auto object = ReferenceAs<IconObject>(icon);
  BITMAP bm{};
  if (!object || !GetObjectW(object->image, sizeof(bm), &bm)) return false;
  size = {bm.bmWidth, bm.bmHeight};
  return true;
}

}  // namespace zx::gdi

HICON CreateIconIndirect(PICONINFO info) {
  if (!info || !info->hbmColor) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::vector<DWORD> pixels;
  SIZE size{};
  if (!CopyBitmapPixels(info->hbmColor, pixels, size)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  bool alpha = false;
  for (DWORD p : pixels) alpha = alpha || (p >> 24) != 0xFF;
  std::vector<DWORD> mask;
  SIZE maskSize{};
  if (!alpha && info->hbmMask && CopyBitmapPixels(info->hbmMask, mask, maskSize) &&
      maskSize.cx == size.cx && maskSize.cy >= size.cy) {
    for (std::size_t i = 0; i < pixels.size(); ++i)
      if (mask[i] & 0x00FFFFFFu) pixels[i] = 0;
  }
  const POINT hotspot{static_cast<LONG>(info->xHotspot), static_cast<LONG>(info->yHotspot)};
  return Adopt(CreateBitmap(size.cx, size.cy, 1, 32, pixels.data()), info->fIcon != FALSE,
               info->fIcon ? POINT{size.cx / 2, size.cy / 2} : hotspot);
}

BOOL GetIconInfo(HICON icon, PICONINFO info) {
  auto object = FindIcon(icon);
  if (!object || !info) return FALSE;
  info->fIcon = object->isIcon ? TRUE : FALSE;
  info->xHotspot = static_cast<DWORD>(object->hotspot.x);
  info->yHotspot = static_cast<DWORD>(object->hotspot.y);
  info->hbmColor = CopyOf(object->image);
  info->hbmMask = MaskOf(object->image);
  return TRUE;
}

BOOL DestroyIcon(HICON icon) {
  if (!FindIcon(icon)) return FALSE;
  return RemoveObject(icon) ? TRUE : FALSE;
}

BOOL DestroyCursor(HCURSOR cursor) { return DestroyIcon(cursor); }

HICON CopyIcon(HICON icon) {
  auto object = FindIcon(icon);
  if (!object) return nullptr;
  return Adopt(CopyOf(object->image), object->isIcon, object->hotspot);
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT /*step*/,
                HBRUSH flickerFreeBrush, UINT flags) {
  auto object = FindIcon(icon);
  if (!object) return FALSE;
  SIZE size{};
  GetIconSize(icon, size);
  if (width == 0) width = size.cx;
  if (height == 0) height = size.cy;
  if (flickerFreeBrush) {
    const RECT area{x, y, x + width, y + height};
    if (!FillRect(dc, &area, flickerFreeBrush)) return FALSE;
  }
  HDC source = CreateSurfaceDC(object->image);
  BOOL done = FALSE;
  if ((flags & DI_NORMAL) == DI_NORMAL) {
    done = AlphaBlend(dc, x, y, width, height, source, 0, 0, size.cx, size.cy,
                      BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
  } else if (flags & DI_IMAGE) {
    done = StretchBlt(dc, x, y, width, height, source, 0, 0, size.cx, size.cy, SRCCOPY);
  } else if (flags & DI_MASK) {
    HBITMAP mask = MaskOf(object->image);
    HDC maskDc = CreateSurfaceDC(mask);
    done = StretchBlt(dc, x, y, width, height, maskDc, 0, 0, size.cx, size.cy, SRCAND);
    DeleteDC(maskDc);
    DeleteObject(mask);
  }
  DeleteDC(source);
  return done;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
  return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

HICON CreateIconFromResourceEx(const BYTE* bits, DWORD size, BOOL isIcon, DWORD /*version*/,
                               int /*width*/, int /*height*/, UINT /*flags*/) {
  POINT hotspot{0, 0};
  if (bits && !isIcon) {
    if (size < 4) bits = nullptr;
    else {
      hotspot = {ReadWord(bits), ReadWord(bits + 2)};
      bits += 4;
      size -= 4;
    }
  }
  if (!bits) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  static const BYTE kPng[] = {0x89, 'P', 'N', 'G'};
  if (size >= 4 && std::memcmp(bits, kPng, 4) == 0) {
    HBITMAP image = DecodePngBitmap(bits, size);
    if (!image) return nullptr;
    BITMAP bm{};
    GetObjectW(image, sizeof(bm), &bm);
    return Adopt(image, isIcon != FALSE,
                 isIcon ? POINT{bm.bmWidth / 2, bm.bmHeight / 2} : hotspot);
  }
  DibImage dib;
  if (!DecodeDib(bits, size, true, dib)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  Premultiply(dib.pixels);
  HBITMAP image = CreateBitmap(dib.width, dib.height, 1, 32, dib.pixels.data());
  return Adopt(image, isIcon != FALSE, isIcon ? POINT{dib.width / 2, dib.height / 2} : hotspot);
}

HICON CreateIconFromResource(const BYTE* bits, DWORD size, BOOL isIcon, DWORD version) {
  return CreateIconFromResourceEx(bits, size, isIcon, version, 0, 0, LR_DEFAULTCOLOR);
}
