// Making bitmaps and moving rows in and out: CreateCompatibleBitmap, CreateBitmap,
// CreateDIBSection, GetDIBits, SetDIBits, and the packed-DIB and pixel helpers.
#include <cstring>

#include "dc.h"
#include "dib.h"
#include "errhandlingapi.h"
#include "zx/gdi.h"

using namespace zx::gdi;

namespace {

constexpr DWORD kBlack = 0xFF000000u;

HBITMAP Answer(std::shared_ptr<BitmapObject> bitmap) {
  if (!bitmap) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return Insert<HBITMAP>(std::move(bitmap));
}

bool Is32BitRgb(const BITMAPINFO* info) {
  return info && info->bmiHeader.biBitCount == 32 &&
         (info->bmiHeader.biCompression == BI_RGB || info->bmiHeader.biCompression == BI_BITFIELDS);
}

// Rows [start, start + lines) of a DIB numbered as the header says (bottom-up unless the
// height is negative), mapped to surface rows; calls move(surfaceRow, dibRowIndex).
template <class Move>
int ForEachDibRow(const BitmapObject& bitmap, const BITMAPINFOHEADER& h, UINT start, UINT lines,
                  Move move) {
  const bool topDown = h.biHeight < 0;
  const long long total = bitmap.height();
  int moved = 0;
  for (UINT i = 0; i < lines; ++i) {
    const long long scan = static_cast<long long>(start) + i;
    if (scan >= total) break;
    const int surfaceRow = static_cast<int>(topDown ? scan : total - 1 - scan);
    move(surfaceRow, static_cast<std::size_t>(i));
    ++moved;
  }
  return moved;
}

}  // namespace

namespace zx::gdi {

HBITMAP CreateSurfaceBitmap(int width, int height) {
  return Answer(BitmapObject::Create(width, height, kBlack));
}

HBITMAP CreateBitmapFromPackedDib(const void* dib, std::size_t size) {
  DibImage image;
  if (!DecodeDib(static_cast<const BYTE*>(dib), size, false, image)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  auto bitmap = BitmapObject::Create(image.width, image.height, 0);
  if (!bitmap) return Answer(nullptr);
  std::memcpy(bitmap->Row(0), image.pixels.data(), image.pixels.size() * 4);
  bitmap->Changed();
  return Answer(std::move(bitmap));
}

bool CopyBitmapPixels(HBITMAP handle, std::vector<DWORD>& pixels, SIZE& size) {
  auto bitmap = ReferenceAs<BitmapObject>(handle);
  if (!bitmap) return false;
  cairo_surface_flush(bitmap->Surface());
  size = {bitmap->width(), bitmap->height()};
  const DWORD* first = bitmap->Row(0);
  pixels.assign(first, first + static_cast<std::size_t>(size.cx) * size.cy);
  return true;
}

}  // namespace zx::gdi

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  if (!DcFromHandle(dc)) return nullptr;
  if (width < 0 || height < 0) return Answer(nullptr);
  // A zero size makes the smallest bitmap, as Windows does.
  return Answer(BitmapObject::Create(width ? width : 1, height ? height : 1, kBlack));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits) {
  if (planes != 1 || (bits && bitCount != 1 && bitCount != 32)) return Answer(nullptr);
  auto bitmap = BitmapObject::Create(width, height, kBlack);
  if (!bitmap || !bits) return Answer(std::move(bitmap));
  const auto* source = static_cast<const BYTE*>(bits);
  // Device-dependent rows are WORD-aligned.
  const std::size_t stride = bitCount == 1 ? ((static_cast<std::size_t>(width) + 15) / 16) * 2
                                           : static_cast<std::size_t>(width) * 4;
  for (int y = 0; y < height; ++y) {
    const BYTE* row = source + stride * y;
    DWORD* out = bitmap->Row(y);
    if (bitCount == 32) {
      std::memcpy(out, row, stride);
      continue;
    }
    for (int x = 0; x < width; ++x)
      out[x] = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? 0xFFFFFFFFu : kBlack;
  }
  bitmap->Changed();
  return Answer(std::move(bitmap));
}

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD /*offset*/) {
  if (bits) *bits = nullptr;
  if (dc && !DcFromHandle(dc)) return nullptr;
  if (!Is32BitRgb(info) || usage != DIB_RGB_COLORS || section || info->bmiHeader.biHeight == 0)
    return Answer(nullptr);
  const LONG height = info->bmiHeader.biHeight;
  auto bitmap = BitmapObject::CreateDib(info->bmiHeader.biWidth, height < 0 ? -height : height,
                                        height > 0);
  if (!bitmap) return Answer(nullptr);
  if (bits) *bits = bitmap->dibBits();
  return Answer(std::move(bitmap));
}

int GetDIBits(HDC dc, HBITMAP handle, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info,
              UINT usage) {
  auto bitmap = ReferenceAs<BitmapObject>(handle);
  if (!DcFromHandle(dc) || !bitmap || !info || usage != DIB_RGB_COLORS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  BITMAPINFOHEADER& h = info->bmiHeader;
  if (!bits) {
    const bool topDown = h.biBitCount == 32 && h.biHeight < 0;
    h = {sizeof(BITMAPINFOHEADER), bitmap->width(), topDown ? -bitmap->height() : bitmap->height(),
         1, 32, BI_RGB, static_cast<DWORD>(bitmap->width() * bitmap->height() * 4), 0, 0, 0, 0};
    return bitmap->height();
  }
  if (!Is32BitRgb(info) || h.biWidth != bitmap->width()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  cairo_surface_flush(bitmap->Surface());
  const std::size_t stride = static_cast<std::size_t>(bitmap->width()) * 4;
  auto* out = static_cast<BYTE*>(bits);
  return ForEachDibRow(*bitmap, h, start, lines, [&](int row, std::size_t index) {
    std::memcpy(out + stride * index, bitmap->Row(row), stride);
  });
}

int SetDIBits(HDC dc, HBITMAP handle, UINT start, UINT lines, const void* bits,
              const BITMAPINFO* info, UINT usage) {
  auto bitmap = ReferenceAs<BitmapObject>(handle);
  if ((dc && !DcFromHandle(dc)) || !bitmap || !bits || !Is32BitRgb(info) ||
      usage != DIB_RGB_COLORS || info->bmiHeader.biWidth != bitmap->width()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  cairo_surface_flush(bitmap->Surface());
  const std::size_t stride = static_cast<std::size_t>(bitmap->width()) * 4;
  const auto* in = static_cast<const BYTE*>(bits);
  const int moved = ForEachDibRow(*bitmap, info->bmiHeader, start, lines, [&](int row, std::size_t index) {
    std::memcpy(bitmap->Row(row), in + stride * index, stride);
  });
  bitmap->Changed();
  return moved;
}
