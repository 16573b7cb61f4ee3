// The AVI reader: RIFF chunks walked with bounds checks, the main header, the video
// stream's format, and the first frame of the movie list (BI_RGB, or BI_RLE8 expanded).
#include "avi.h"

#include <algorithm>
#include <cstring>

#include "wingdi.h"

namespace zx::comctl {
namespace {

constexpr int kMaxSide = 4096;
constexpr DWORD kRle8 = 1;

DWORD Read32(const BYTE* p) {
  return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
         (static_cast<DWORD>(p[3]) << 24);
}

bool Is(const BYTE* p, const char* fourcc) { return std::memcmp(p, fourcc, 4) == 0; }

struct Found {
  bool header = false;
  bool video = false;
  std::vector<BYTE> format;  // the video stream's BITMAPINFOHEADER and colour table
  const BYTE* frame = nullptr;
  std::size_t frameSize = 0;
};

// Walks the chunks of [p, end): LIST chunks are entered, the ones the control needs kept.
bool Walk(const BYTE* p, const BYTE* end, AviClip& clip, Found& found, int depth) {
  if (depth > 8) return false;
  bool videoStream = false;  // the last stream header of this list was a video one
  while (end - p >= 8) {
    const DWORD size = Read32(p + 4);
    const BYTE* body = p + 8;
    if (size > static_cast<std::size_t>(end - body)) return false;
    if (Is(p, "LIST") && size >= 4) {
      if (!Walk(body + 4, body + size, clip, found, depth + 1)) return false;
    } else if (Is(p, "avih") && size >= 40) {
      clip.frames = static_cast<int>(std::min<DWORD>(Read32(body + 16), 0x7FFFFFFF));
      clip.width = static_cast<int>(std::min<DWORD>(Read32(body + 32), kMaxSide));
      clip.height = static_cast<int>(std::min<DWORD>(Read32(body + 36), kMaxSide));
      found.header = true;
    } else if (Is(p, "strh") && size >= 4) {
      videoStream = Is(body, "vids");
    } else if (Is(p, "strf") && videoStream && !found.video && size >= sizeof(BITMAPINFOHEADER)) {
      found.video = true;
      found.format.assign(body, body + size);
    } else if ((std::memcmp(p + 2, "db", 2) == 0 || std::memcmp(p + 2, "dc", 2) == 0) && !found.frame) {
      found.frame = body;
      found.frameSize = size;
    }
    const std::size_t step = 8 + static_cast<std::size_t>(size) + (size & 1);
    if (step > static_cast<std::size_t>(end - p)) break;
    p += step;
  }
  return true;
}

// Expands 8-bit run-length data into bottom-up rows of `stride` bytes; false when damaged.
bool ExpandRle8(const BYTE* data, std::size_t size, int width, int height, std::size_t stride,
                std::vector<BYTE>& rows) {
  rows.assign(stride * static_cast<std::size_t>(height), 0);
  std::size_t i = 0;
  int x = 0, y = 0;
  auto put = [&](BYTE value) {
    if (x < width && y < height) rows[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x)] = value;
    ++x;
  };
  while (i + 1 < size) {
    const BYTE count = data[i], value = data[i + 1];
    i += 2;
    if (count > 0) {
      for (int n = 0; n < count; ++n) put(value);
    } else if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      return true;
    } else if (value == 2) {
      if (i + 1 >= size) return false;
      x += data[i];
      y += data[i + 1];
      i += 2;
    } else {
      if (i + value > size) return false;
      for (int n = 0; n < value; ++n) put(data[i + static_cast<std::size_t>(n)]);
      i += value + (value & 1);
    }
  }
  return true;
}

// The first frame as an uncompressed packed DIB, or empty.
std::vector<BYTE> FirstFrame(const Found& found) {
  BITMAPINFOHEADER header{};
  std::memcpy(&header, found.format.data(), sizeof(header));
  const int width = header.biWidth;
  const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || !found.frame) return {};
  const std::size_t stride = ((static_cast<std::size_t>(width) * header.biBitCount + 31) / 32) * 4;
  std::vector<BYTE> bits;
  if (header.biCompression == BI_RGB) {
    if (found.frameSize < stride * static_cast<std::size_t>(height)) return {};
    bits.assign(found.frame, found.frame + stride * static_cast<std::size_t>(height));
  } else if (header.biCompression == kRle8 && header.biBitCount == 8 && header.biHeight > 0) {
    if (!ExpandRle8(found.frame, found.frameSize, width, height, stride, bits)) return {};
  } else {
    return {};
  }
  std::vector<BYTE> dib = found.format;
  BITMAPINFOHEADER uncompressed = header;
  uncompressed.biCompression = BI_RGB;
  uncompressed.biSizeImage = static_cast<DWORD>(bits.size());
  std::memcpy(dib.data(), &uncompressed, sizeof(uncompressed));
  dib.insert(dib.end(), bits.begin(), bits.end());
  return dib;
}

}  // namespace

bool ReadAvi(const BYTE* bytes, std::size_t size, AviClip& clip) {
  clip = AviClip{};
  if (!bytes || size < 12 || !Is(bytes, "RIFF") || !Is(bytes + 8, "AVI ")) return false;
  const std::size_t riffSize = std::min<std::size_t>(Read32(bytes + 4), size - 8);
  Found found;
  if (!Walk(bytes + 12, bytes + 8 + riffSize, clip, found, 0) || !found.header || !found.video) {
    clip = AviClip{};
    return false;
  }
  clip.firstFrame = FirstFrame(found);
  return true;
}

}  // namespace zx::comctl
