// GDI+ bitmaps from COM streams: the stream read from its position to its end (at most
// kMaxImageBytes), then decoded as PNG.
#include <string>

#include "gdiplus.h"
#include "objidl.h"
#include "zx/gdi.h"

namespace Gdiplus {
namespace {

constexpr std::size_t kMaxImageBytes = 64u << 20;

// False when the stream fails or holds more than an image may.
bool ReadAll(IStream* stream, std::string& bytes) {
  char chunk[16384];
  for (;;) {
    ULONG got = 0;
    if (FAILED(stream->Read(chunk, sizeof chunk, &got))) return false;
    if (got == 0) return true;
    if (bytes.size() + got > kMaxImageBytes) return false;
    bytes.append(chunk, got);
  }
}

}  // namespace

Bitmap::Bitmap(IStream* stream, BOOL /*useEmbeddedColorManagement*/) {
  std::string bytes;
  if (!stream) {
    SetStatus(InvalidParameter);
    return;
  }
  if (!ReadAll(stream, bytes)) {
    SetStatus(Win32Error);
    return;
  }
  Adopt(bytes.empty() ? nullptr : zx::gdi::DecodePngBitmap(bytes.data(), bytes.size()), PixelFormat32bppARGB);
}

Bitmap* Bitmap::FromStream(IStream* stream, BOOL useEmbeddedColorManagement) {
  return new Bitmap(stream, useEmbeddedColorManagement);
}

}  // namespace Gdiplus
