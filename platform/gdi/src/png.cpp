// PNG files: writing a bitmap as the screen shows it, and decoding PNG images into bitmaps.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "dc.h"
#include "errhandlingapi.h"
#include "zx/gdi.h"

namespace zx::gdi {
namespace {

// Largest image accepted from a PNG: a side and a pixel count.
constexpr DWORD kMaxPngSide = 16384;
constexpr std::size_t kMaxPngPixels = std::size_t{1} << 26;

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

struct Reader {
  const unsigned char* data;
  std::size_t size;
  std::size_t at = 0;
};

cairo_status_t ReadBytes(void* closure, unsigned char* out, unsigned int length) {
  auto* r = static_cast<Reader*>(closure);
  if (r->size - r->at < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(out, r->data + r->at, length);
  r->at += length;
  return CAIRO_STATUS_SUCCESS;
}

DWORD BigEndian(const unsigned char* p) {
  return (DWORD{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// The signature and a header of an acceptable size, before the decoder sees the bytes.
bool AcceptableHeader(const unsigned char* data, std::size_t size) {
  static const unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size < 33 || std::memcmp(data, kSignature, 8) != 0 || std::memcmp(data + 12, "IHDR", 4) != 0)
    return false;
  const DWORD width = BigEndian(data + 16);
  const DWORD height = BigEndian(data + 20);
  return width > 0 && height > 0 && width <= kMaxPngSide && height <= kMaxPngSide &&
         static_cast<std::size_t>(width) * height <= kMaxPngPixels;
}

// Writes bytes to a file through a temporary beside it, so no half-written file is left.
bool WriteWhole(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

bool EncodePixels(BitmapObject& bitmap, std::string* bytes, bool withAlpha) {
  cairo_surface_flush(bitmap.Surface());
  // As 24-bit colour it is what the screen shows, whatever the alpha bytes hold.
  cairo_surface_t* view = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(bitmap.Row(0)),
      withAlpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, bitmap.width(),
      bitmap.height(), bitmap.width() * 4);
  bytes->clear();
  const cairo_status_t status = cairo_surface_write_to_png_stream(view, AppendBytes, bytes);
  cairo_surface_destroy(view);
  return status == CAIRO_STATUS_SUCCESS;
}

bool SavePixels(BitmapObject& bitmap, const std::string& hostPath, bool withAlpha) {
  std::string bytes;
  return EncodePixels(bitmap, &bytes, withAlpha) && WriteWhole(hostPath, bytes);
}

}  // namespace

bool SaveBitmapPng(HBITMAP handle, const std::string& hostPath, bool withAlpha) {
  auto bitmap = ReferenceAs<BitmapObject>(handle);
  return bitmap && SavePixels(*bitmap, hostPath, withAlpha);
}

bool SaveDcPng(HDC dc, const std::string& hostPath) {
  auto object = ReferenceAs<DcObject>(dc);
  if (!object) return false;
  auto bitmap = object->BitmapRef();
  return bitmap && SavePixels(*bitmap, hostPath, false);
}

bool EncodeBitmapPng(HBITMAP handle, std::string* bytes) {
  auto bitmap = ReferenceAs<BitmapObject>(handle);
  return bitmap && EncodePixels(*bitmap, bytes, false);
}

bool SavePngBytes(const std::string& hostPath, const std::string& bytes) {
  if (!AcceptableHeader(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size())) {
    SetLastError(ERROR_INVALID_DATA);
    return false;
  }
  return WriteWhole(hostPath, bytes);
}

HBITMAP DecodePngBitmap(const void* bytes, std::size_t size) {
  const auto* data = static_cast<const unsigned char*>(bytes);
  if (!data || !AcceptableHeader(data, size)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  Reader reader{data, size};
  cairo_surface_t* image = cairo_image_surface_create_from_png_stream(ReadBytes, &reader);
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(image);
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  const int width = cairo_image_surface_get_width(image);
  const int height = cairo_image_surface_get_height(image);
  const bool opaque = cairo_image_surface_get_format(image) != CAIRO_FORMAT_ARGB32;
  auto bitmap = BitmapObject::Create(width, height, 0);
  if (bitmap) {
    cairo_surface_flush(image);
    const unsigned char* rows = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int y = 0; y < height; ++y) {
      const auto* in = reinterpret_cast<const DWORD*>(rows + static_cast<std::size_t>(stride) * y);
      DWORD* out = bitmap->Row(y);
      for (int x = 0; x < width; ++x) out[x] = opaque ? (in[x] | 0xFF000000u) : in[x];
    }
    bitmap->Changed();
  }
  cairo_surface_destroy(image);
  if (!bitmap) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return Insert<HBITMAP>(std::move(bitmap));
}

HBITMAP LoadPngBitmap(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  if (!in) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return DecodePngBitmap(bytes.data(), bytes.size());
}

}  // namespace zx::gdi
