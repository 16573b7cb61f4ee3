// The GDI+ subset on the GDI of this layer: an image is a premultiplied 32-bit HBITMAP, and
// drawing blends it through AlphaBlend.
#include "gdiplus.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "windraw.h"
#include "zx/gdi.h"
#include "zx/pathmap.h"

namespace Gdiplus {
namespace {

std::atomic<int> g_started{0};
std::atomic<ULONG_PTR> g_nextToken{1};

bool Started() { return g_started.load() > 0; }

constexpr BYTE kPngSignature[] = {0x89, 'P', 'N', 'G'};

HBITMAP Decode(const std::string& bytes) {
  const auto* data = reinterpret_cast<const BYTE*>(bytes.data());
  if (bytes.size() >= 4 && std::equal(kPngSignature, kPngSignature + 4, data))
    return zx::gdi::DecodePngBitmap(data, bytes.size());
  if (bytes.size() > sizeof(BITMAPFILEHEADER) && bytes[0] == 'B' && bytes[1] == 'M')
    return zx::gdi::CreateBitmapFromPackedDib(data + sizeof(BITMAPFILEHEADER),
                                              bytes.size() - sizeof(BITMAPFILEHEADER));
  return nullptr;
}

Status ReadFile(const WCHAR* fileName, std::string& bytes) {
  if (!fileName) return InvalidParameter;
  std::string host;
  if (!zx::path::WindowsToHost(fileName, host)) return Win32Error;
  std::ifstream in(host, std::ios::binary);
  if (!in) return Win32Error;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return Ok;
}

BITMAPINFO RowInfo(int width) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  return info;
}

// One row of a bitmap, read or written through GetDIBits/SetDIBits with a top-down header.
bool MoveRow(HBITMAP image, int width, int y, std::vector<DWORD>& row, bool write) {
  row.resize(static_cast<std::size_t>(width));
  BITMAPINFO info = RowInfo(width);
  info.bmiHeader.biHeight = -(y + 1);
  HDC dc = CreateCompatibleDC(nullptr);
  const int moved = write ? SetDIBits(dc, image, static_cast<UINT>(y), 1, row.data(), &info, DIB_RGB_COLORS)
                          : GetDIBits(dc, image, static_cast<UINT>(y), 1, row.data(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  return moved == 1;
}

}  // namespace

Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                      GdiplusStartupOutput* output) {
  if (!token || !input) return InvalidParameter;
  if (input->GdiplusVersion != 1) return UnsupportedGdiplusVersion;
  if (output) *output = GdiplusStartupOutput{nullptr, nullptr};
  *token = g_nextToken++;
  ++g_started;
  return Ok;
}

void GdiplusShutdown(ULONG_PTR token) {
  if (token != 0 && g_started.load() > 0) --g_started;
}

Image::~Image() {
  if (image_) DeleteObject(image_);
}

void Image::Adopt(HBITMAP image, PixelFormat format) {
  if (image_) DeleteObject(image_);
  image_ = image;
  format_ = format;
  SetStatus(image ? Ok : UnknownImageFormat);
}

Image* Image::FromFile(const WCHAR* fileName, BOOL useEmbeddedColorManagement) {
  return Bitmap::FromFile(fileName, useEmbeddedColorManagement);
}

UINT Image::GetWidth() {
  BITMAP bm{};
  if (!image_ || !GetObjectW(image_, sizeof(bm), &bm)) return SetStatus(InvalidParameter), 0;
  return static_cast<UINT>(bm.bmWidth);
}

UINT Image::GetHeight() {
  BITMAP bm{};
  if (!image_ || !GetObjectW(image_, sizeof(bm), &bm)) return SetStatus(InvalidParameter), 0;
  return static_cast<UINT>(bm.bmHeight);
}

PixelFormat Image::GetPixelFormat() { return format_; }

Status Image::GetLastStatus() const {
  const Status status = lastStatus_;
  lastStatus_ = Ok;
  return status;
}

Bitmap::Bitmap(const WCHAR* fileName, BOOL /*useEmbeddedColorManagement*/) {
  if (!Started()) {
    SetStatus(GdiplusNotInitialized);
    return;
  }
  std::string bytes;
  const Status read = ReadFile(fileName, bytes);
  if (read != Ok) {
    SetStatus(read);
    return;
  }
  Adopt(Decode(bytes), PixelFormat32bppARGB);
}

Bitmap::Bitmap(INT width, INT height, PixelFormat format) {
  if (!Started()) {
    SetStatus(GdiplusNotInitialized);
    return;
  }
  if (width <= 0 || height <= 0) {
    SetStatus(InvalidParameter);
    return;
  }
  // A new ARGB bitmap is transparent; an RGB one black.
  std::vector<DWORD> pixels(static_cast<std::size_t>(width) * height,
                            format == PixelFormat32bppRGB ? 0xFF000000u : 0u);
  Adopt(CreateBitmap(width, height, 1, 32, pixels.data()), format);
  if (!image_) SetStatus(OutOfMemory);
}

Bitmap::Bitmap(HBITMAP bitmap, HPALETTE /*palette*/) {
  if (!Started()) {
    SetStatus(GdiplusNotInitialized);
    return;
  }
  std::vector<DWORD> pixels;
  SIZE size{};
  if (!zx::gdi::CopyBitmapPixels(bitmap, pixels, size)) {
    SetStatus(InvalidParameter);
    return;
  }
  for (DWORD& p : pixels) p |= 0xFF000000u;
  Adopt(CreateBitmap(size.cx, size.cy, 1, 32, pixels.data()), PixelFormat32bppRGB);
}

Bitmap* Bitmap::FromFile(const WCHAR* fileName, BOOL useEmbeddedColorManagement) {
  return new Bitmap(fileName, useEmbeddedColorManagement);
}

Bitmap* Bitmap::FromHBITMAP(HBITMAP bitmap, HPALETTE palette) { return new Bitmap(bitmap, palette); }

Status Bitmap::GetPixel(INT x, INT y, Color* color) {
  if (!image_ || !color || x < 0 || y < 0 || x >= static_cast<INT>(GetWidth()) ||
      y >= static_cast<INT>(GetHeight()))
    return SetStatus(InvalidParameter);
  std::vector<DWORD> row;
  if (!MoveRow(image_, static_cast<int>(GetWidth()), y, row, false)) return SetStatus(GenericError);
  const DWORD p = row[static_cast<std::size_t>(x)];
  const DWORD a = p >> 24;
  auto straight = [a](DWORD c) { return static_cast<BYTE>(a ? std::min<DWORD>(255, (c * 255 + a / 2) / a) : 0); };
  *color = Color(static_cast<BYTE>(a), straight((p >> 16) & 0xFF), straight((p >> 8) & 0xFF),
                 straight(p & 0xFF));
  return Ok;
}

Status Bitmap::SetPixel(INT x, INT y, const Color& color) {
  if (!image_ || x < 0 || y < 0 || x >= static_cast<INT>(GetWidth()) ||
      y >= static_cast<INT>(GetHeight()))
    return SetStatus(InvalidParameter);
  std::vector<DWORD> row;
  if (!MoveRow(image_, static_cast<int>(GetWidth()), y, row, false)) return SetStatus(GenericError);
  const DWORD a = color.GetA();
  auto scale = [a](BYTE c) { return (DWORD{c} * a + 127) / 255; };
  row[static_cast<std::size_t>(x)] =
      (a << 24) | (scale(color.GetR()) << 16) | (scale(color.GetG()) << 8) | scale(color.GetB());
  return MoveRow(image_, static_cast<int>(GetWidth()), y, row, true) ? Ok : SetStatus(GenericError);
}

Status Bitmap::GetHBITMAP(const Color& background, HBITMAP* bitmap) {
  if (!image_ || !bitmap) return SetStatus(InvalidParameter);
  const INT width = static_cast<INT>(GetWidth());
  const INT height = static_cast<INT>(GetHeight());
  *bitmap = zx::gdi::CreateSurfaceBitmap(width, height);
  if (!*bitmap) return SetStatus(OutOfMemory);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, *bitmap);
  HBRUSH brush = CreateSolidBrush(background.ToCOLORREF());
  const RECT all{0, 0, width, height};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  Graphics(dc).DrawImage(this, 0, 0);
  SelectObject(dc, previous);
  DeleteDC(dc);
  return Ok;
}

Graphics::Graphics(HDC dc) : dc_(dc) {}

Graphics::Graphics(Image* image) {
  if (!image || !image->image_) {
    SetStatus(InvalidParameter);
    return;
  }
  dc_ = zx::gdi::CreateSurfaceDC(image->image_);
  ownsDc_ = true;
}

Graphics::~Graphics() {
  if (ownsDc_) DeleteDC(dc_);
}

Graphics* Graphics::FromHDC(HDC dc) { return new Graphics(dc); }
Graphics* Graphics::FromImage(Image* image) { return new Graphics(image); }

Status Graphics::DrawImage(Image* image, INT x, INT y) {
  if (!image) return SetStatus(InvalidParameter);
  const INT width = static_cast<INT>(image->GetWidth());
  const INT height = static_cast<INT>(image->GetHeight());
  return DrawImage(image, Rect(x, y, width, height), 0, 0, width, height, UnitPixel);
}

Status Graphics::DrawImage(Image* image, INT x, INT y, INT width, INT height) {
  if (!image) return SetStatus(InvalidParameter);
  return DrawImage(image, Rect(x, y, width, height), 0, 0, static_cast<INT>(image->GetWidth()),
                   static_cast<INT>(image->GetHeight()), UnitPixel);
}

Status Graphics::DrawImage(Image* image, const Rect& destination) {
  return DrawImage(image, destination.X, destination.Y, destination.Width, destination.Height);
}

Status Graphics::DrawImage(Image* image, INT x, INT y, INT sourceX, INT sourceY, INT sourceWidth,
                           INT sourceHeight, Unit sourceUnit) {
  return DrawImage(image, Rect(x, y, sourceWidth, sourceHeight), sourceX, sourceY, sourceWidth,
                   sourceHeight, sourceUnit);
}

Status Graphics::DrawImage(Image* image, const Rect& destination, INT sourceX, INT sourceY,
                           INT sourceWidth, INT sourceHeight, Unit sourceUnit,
                           const ImageAttributes* /*attributes*/, DrawImageAbort /*callback*/,
                           void* /*callbackData*/) {
  if (!dc_ || !image || !image->image_ || sourceWidth <= 0 || sourceHeight <= 0)
    return SetStatus(InvalidParameter);
  if (sourceUnit != UnitPixel) return SetStatus(NotImplemented);
  if (destination.Width <= 0 || destination.Height <= 0) return Ok;
  // Keep the source rectangle inside the image; the destination follows in proportion.
  const long long imageWidth = image->GetWidth();
  const long long imageHeight = image->GetHeight();
  const long long x0 = std::max<long long>(sourceX, 0);
  const long long y0 = std::max<long long>(sourceY, 0);
  const long long x1 = std::min<long long>(static_cast<long long>(sourceX) + sourceWidth, imageWidth);
  const long long y1 = std::min<long long>(static_cast<long long>(sourceY) + sourceHeight, imageHeight);
  if (x0 >= x1 || y0 >= y1) return Ok;
  auto map = [](long long s, long long origin, long long sourceSize, long long dest, long long destSize) {
    return static_cast<INT>(dest + (s - origin) * destSize / sourceSize);
  };
  const INT dx0 = map(x0, sourceX, sourceWidth, destination.X, destination.Width);
  const INT dx1 = map(x1, sourceX, sourceWidth, destination.X, destination.Width);
  const INT dy0 = map(y0, sourceY, sourceHeight, destination.Y, destination.Height);
  const INT dy1 = map(y1, sourceY, sourceHeight, destination.Y, destination.Height);
  if (dx1 <= dx0 || dy1 <= dy0) return Ok;
  HDC source = zx::gdi::CreateSurfaceDC(image->image_);
  const BOOL done = AlphaBlend(dc_, dx0, dy0, dx1 - dx0, dy1 - dy0, source, static_cast<int>(x0),
                               static_cast<int>(y0), static_cast<int>(x1 - x0),
                               static_cast<int>(y1 - y0),
                               BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
  DeleteDC(source);
  return done ? Ok : SetStatus(GenericError);
}

Status Graphics::Clear(const Color& color) {
  if (!dc_) return SetStatus(InvalidParameter);
  RECT box{};
  if (GetClipBox(dc_, &box) == ERROR) return SetStatus(InvalidParameter);
  const DWORD a = color.GetA();
  auto scale = [a](BYTE c) { return (DWORD{c} * a + 127) / 255; };
  const DWORD pixel =
      (a << 24) | (scale(color.GetR()) << 16) | (scale(color.GetG()) << 8) | scale(color.GetB());
  HBITMAP dot = CreateBitmap(1, 1, 1, 32, &pixel);
  HDC source = zx::gdi::CreateSurfaceDC(dot);
  StretchBlt(dc_, box.left, box.top, box.right - box.left, box.bottom - box.top, source, 0, 0, 1, 1,
             SRCCOPY);
  DeleteDC(source);
  DeleteObject(dot);
  return Ok;
}

Status Graphics::SetInterpolationMode(InterpolationMode mode) {
  if (mode == InterpolationModeInvalid) return SetStatus(InvalidParameter);
  interpolation_ = mode;
  return Ok;
}

Status Graphics::GetLastStatus() const {
  const Status status = lastStatus_;
  lastStatus_ = Ok;
  return status;
}

Bitmap* BitmapFromDecoded(HBITMAP image) {
  auto* bitmap = new Bitmap();
  if (!Started()) {
    if (image) DeleteObject(image);
    bitmap->SetStatus(GdiplusNotInitialized);
    return bitmap;
  }
  bitmap->Adopt(image, PixelFormat32bppARGB);
  return bitmap;
}

}  // namespace Gdiplus

namespace zx::gdiplus {

Gdiplus::Bitmap* BitmapFromMemory(const void* bytes, std::size_t size) {
  return Gdiplus::BitmapFromDecoded(bytes ? zx::gdi::DecodePngBitmap(bytes, size) : nullptr);
}

}  // namespace zx::gdiplus
