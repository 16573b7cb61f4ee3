// The GDI+ subset the system uses: start-up and shut-down, bitmaps from PNG (or BMP) files
// and HBITMAPs as 32-bit ARGB images, and Graphics::DrawImage (whole images or a source
// rectangle) blending source over destination.
//
// Images are drawn unscaled pixel for pixel; scaled drawing samples the nearest pixel. Only
// pixel units exist. Bitmaps also come from PNG bytes in a COM stream (IStream, objidl.h) or
// in memory (zx::gdiplus::BitmapFromMemory).
#pragma once
#include <cstddef>

#include "wingdi.h"

struct IStream;

namespace Gdiplus {

enum Status {
  Ok = 0,
  GenericError = 1,
  InvalidParameter = 2,
  OutOfMemory = 3,
  ObjectBusy = 4,
  InsufficientBuffer = 5,
  NotImplemented = 6,
  Win32Error = 7,
  WrongState = 8,
  Aborted = 9,
  FileNotFound = 10,
  ValueOverflow = 11,
  AccessDenied = 12,
  UnknownImageFormat = 13,
  FontFamilyNotFound = 14,
  FontStyleNotFound = 15,
  NotTrueTypeFont = 16,
  UnsupportedGdiplusVersion = 17,
  GdiplusNotInitialized = 18,
  PropertyNotFound = 19,
  PropertyNotSupported = 20,
};

using ARGB = DWORD;
using REAL = float;
using PixelFormat = INT;
constexpr PixelFormat PixelFormat32bppRGB = 0x00022009;
constexpr PixelFormat PixelFormat32bppARGB = 0x0026200A;
constexpr PixelFormat PixelFormat32bppPARGB = 0x000E200B;

enum Unit {
  UnitWorld = 0,
  UnitDisplay = 1,
  UnitPixel = 2,
  UnitPoint = 3,
  UnitInch = 4,
  UnitDocument = 5,
  UnitMillimeter = 6,
};

enum InterpolationMode {
  InterpolationModeInvalid = -1,
  InterpolationModeDefault = 0,
  InterpolationModeLowQuality = 1,
  InterpolationModeHighQuality = 2,
  InterpolationModeBilinear = 3,
  InterpolationModeBicubic = 4,
  InterpolationModeNearestNeighbor = 5,
  InterpolationModeHighQualityBilinear = 6,
  InterpolationModeHighQualityBicubic = 7,
};

struct GdiplusStartupInput {
  explicit GdiplusStartupInput(void* debugEventCallback = nullptr,
                               BOOL suppressBackgroundThread = FALSE,
                               BOOL suppressExternalCodecs = FALSE)
      : GdiplusVersion(1), DebugEventCallback(debugEventCallback),
        SuppressBackgroundThread(suppressBackgroundThread),
        SuppressExternalCodecs(suppressExternalCodecs) {}
  UINT GdiplusVersion;
  void* DebugEventCallback;
  BOOL SuppressBackgroundThread;
  BOOL SuppressExternalCodecs;
};

struct GdiplusStartupOutput {
  void* NotificationHook;
  void* NotificationUnhook;
};

// Version 1 only. Every started token must be shut down; objects made while no token is
// started answer GdiplusNotInitialized.
Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                      GdiplusStartupOutput* output);
void GdiplusShutdown(ULONG_PTR token);

class Color {
 public:
  Color() : argb_(0xFF000000u) {}
  Color(BYTE r, BYTE g, BYTE b) : argb_(MakeARGB(255, r, g, b)) {}
  Color(BYTE a, BYTE r, BYTE g, BYTE b) : argb_(MakeARGB(a, r, g, b)) {}
  explicit Color(ARGB argb) : argb_(argb) {}
  BYTE GetA() const { return static_cast<BYTE>(argb_ >> 24); }
  BYTE GetR() const { return static_cast<BYTE>(argb_ >> 16); }
  BYTE GetG() const { return static_cast<BYTE>(argb_ >> 8); }
  BYTE GetB() const { return static_cast<BYTE>(argb_); }
  BYTE GetAlpha() const { return GetA(); }
  BYTE GetRed() const { return GetR(); }
  BYTE GetGreen() const { return GetG(); }
  BYTE GetBlue() const { return GetB(); }
  ARGB GetValue() const { return argb_; }
  void SetValue(ARGB argb) { argb_ = argb; }
  COLORREF ToCOLORREF() const { return RGB(GetR(), GetG(), GetB()); }
  static ARGB MakeARGB(BYTE a, BYTE r, BYTE g, BYTE b) {
    return (ARGB{a} << 24) | (ARGB{r} << 16) | (ARGB{g} << 8) | b;
  }

 private:
  ARGB argb_;
};

struct Rect {
  Rect() : X(0), Y(0), Width(0), Height(0) {}
  Rect(INT x, INT y, INT width, INT height) : X(x), Y(y), Width(width), Height(height) {}
  INT X;
  INT Y;
  INT Width;
  INT Height;
};

class ImageAttributes;
using DrawImageAbort = BOOL (*)(void*);

class Image {
 public:
  virtual ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  static Image* FromFile(const WCHAR* fileName, BOOL useEmbeddedColorManagement = FALSE);
  UINT GetWidth();
  UINT GetHeight();
  PixelFormat GetPixelFormat();
  Status GetLastStatus() const;

 protected:
  Image() = default;
  // Takes a decoded image (premultiplied 32-bit HBITMAP of this layer's GDI).
  void Adopt(HBITMAP image, PixelFormat format);
  Status SetStatus(Status status) const { return lastStatus_ = status; }
  HBITMAP image_ = nullptr;
  PixelFormat format_ = PixelFormat32bppARGB;
  mutable Status lastStatus_ = Ok;
  friend class Graphics;
};

class Bitmap : public Image {
 public:
  // A PNG or BMP file by its Windows path.
  explicit Bitmap(const WCHAR* fileName, BOOL useEmbeddedColorManagement = FALSE);
  Bitmap(INT width, INT height, PixelFormat format = PixelFormat32bppARGB);
  // The bitmap's colours, opaque.
  Bitmap(HBITMAP bitmap, HPALETTE palette);
  static Bitmap* FromFile(const WCHAR* fileName, BOOL useEmbeddedColorManagement = FALSE);
  // The PNG image a stream holds from its present position to its end.
  explicit Bitmap(IStream* stream, BOOL useEmbeddedColorManagement = FALSE);
  static Bitmap* FromStream(IStream* stream, BOOL useEmbeddedColorManagement = FALSE);
  static Bitmap* FromHBITMAP(HBITMAP bitmap, HPALETTE palette);
  // Straight (not premultiplied) ARGB.
  Status GetPixel(INT x, INT y, Color* color);
  Status SetPixel(INT x, INT y, const Color& color);
  // A new opaque HBITMAP: the image over the background colour.
  Status GetHBITMAP(const Color& background, HBITMAP* bitmap);

 private:
  Bitmap() = default;
  friend Bitmap* BitmapFromDecoded(HBITMAP);
};

class Graphics {
 public:
  explicit Graphics(HDC dc);
  explicit Graphics(Image* image);
  ~Graphics();
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;
  static Graphics* FromHDC(HDC dc);
  static Graphics* FromImage(Image* image);

  Status DrawImage(Image* image, INT x, INT y);
  Status DrawImage(Image* image, INT x, INT y, INT width, INT height);
  Status DrawImage(Image* image, const Rect& destination);
  Status DrawImage(Image* image, INT x, INT y, INT sourceX, INT sourceY, INT sourceWidth,
                   INT sourceHeight, Unit sourceUnit);
  Status DrawImage(Image* image, const Rect& destination, INT sourceX, INT sourceY,
                   INT sourceWidth, INT sourceHeight, Unit sourceUnit,
                   const ImageAttributes* attributes = nullptr, DrawImageAbort callback = nullptr,
                   void* callbackData = nullptr);
  Status Clear(const Color& color);
  Status SetInterpolationMode(InterpolationMode mode);
  InterpolationMode GetInterpolationMode() const { return interpolation_; }
  Status GetLastStatus() const;

 private:
  Status SetStatus(Status status) const { return lastStatus_ = status; }
  HDC dc_ = nullptr;
  bool ownsDc_ = false;
  InterpolationMode interpolation_ = InterpolationModeDefault;
  mutable Status lastStatus_ = Ok;
};

}  // namespace Gdiplus

namespace zx::gdiplus {
// A GDI+ bitmap decoded from PNG bytes (the stand-in for a bitmap made from a stream over a
// resource's bytes); its status is UnknownImageFormat when they don't decode. Caller deletes.
Gdiplus::Bitmap* BitmapFromMemory(const void* bytes, std::size_t size);
}  // namespace zx::gdiplus
