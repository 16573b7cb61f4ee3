// Placeholder image encoders.
#include "writers.h"

#include <zlib.h>

#include <stdexcept>

namespace zx::resgen {
namespace {

void Put16(std::string& out, unsigned v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutBig32(std::string& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

// The colour of pixel x of a strip image.
const Rgb& At(const std::vector<Rgb>& colours, int width, int x) {
  return colours[static_cast<std::size_t>(x / width)];
}

void InfoHeader(std::string& out, int width, int height, int bits, std::uint32_t imageSize) {
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<unsigned>(bits));
  Put32(out, 0);  // BI_RGB
  Put32(out, imageSize);
  Put32(out, 3780);  // 96 pixels per inch
  Put32(out, 3780);
  Put32(out, 0);
  Put32(out, 0);
}

void Chunk(std::string& out, const char* type, const std::string& data) {
  PutBig32(out, static_cast<std::uint32_t>(data.size()));
  const std::string body = std::string(type, 4) + data;
  out += body;
  PutBig32(out, static_cast<std::uint32_t>(
                    crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

}  // namespace

std::string EncodeBmp(int width, int height, const std::vector<Rgb>& colours) {
  const int total = width * static_cast<int>(colours.size());
  const int stride = (total * 3 + 3) & ~3;
  const std::uint32_t imageSize = static_cast<std::uint32_t>(stride) * height;
  std::string out = "BM";
  Put32(out, 14 + 40 + imageSize);
  Put32(out, 0);
  Put32(out, 14 + 40);
  InfoHeader(out, total, height, 24, imageSize);
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < total; ++x) {
      const Rgb& c = At(colours, width, x);
      row.push_back(static_cast<char>(c.b));
      row.push_back(static_cast<char>(c.g));
      row.push_back(static_cast<char>(c.r));
    }
    row.resize(static_cast<std::size_t>(stride), '\0');
    out += row;
  }
  return out;
}

std::string EncodePng(int width, int height, const std::vector<Rgb>& colours) {
  const int total = width * static_cast<int>(colours.size());
  std::string raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back('\0');  // no filter
    for (int x = 0; x < total; ++x) {
      const Rgb& c = At(colours, width, x);
      raw.push_back(static_cast<char>(c.r));
      raw.push_back(static_cast<char>(c.g));
      raw.push_back(static_cast<char>(c.b));
      raw.push_back(static_cast<char>(0xFF));
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()), 9) != Z_OK)
    throw std::runtime_error("the image does not compress");
  packed.resize(packedSize);
  std::string header;
  PutBig32(header, static_cast<std::uint32_t>(total));
  PutBig32(header, static_cast<std::uint32_t>(height));
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no filter, no interlace
  std::string out("\x89PNG\r\n\x1A\n", 8);
  Chunk(out, "IHDR", header);
  Chunk(out, "IDAT", packed);
  Chunk(out, "IEND", "");
  return out;
}

std::string EncodeIcon(const std::vector<Size>& sizes, Rgb colour, bool cursor, int hotX, int hotY) {
  std::vector<std::string> images;
  for (const Size& s : sizes) {
    const int maskStride = ((s.width + 31) / 32) * 4;
    std::string image;
    InfoHeader(image, s.width, s.height * 2, 32,
               static_cast<std::uint32_t>(s.width * 4 * s.height + maskStride * s.height));
    for (int i = 0; i < s.width * s.height; ++i) {
      image.push_back(static_cast<char>(colour.b));
      image.push_back(static_cast<char>(colour.g));
      image.push_back(static_cast<char>(colour.r));
      image.push_back(static_cast<char>(0xFF));
    }
    image.append(static_cast<std::size_t>(maskStride) * s.height, '\0');  // all opaque
    images.push_back(std::move(image));
  }
  std::string out;
  Put16(out, 0);
  Put16(out, cursor ? 2 : 1);
  Put16(out, static_cast<unsigned>(sizes.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(sizes.size());
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    out.push_back(static_cast<char>(sizes[i].width >= 256 ? 0 : sizes[i].width));
    out.push_back(static_cast<char>(sizes[i].height >= 256 ? 0 : sizes[i].height));
    out.push_back('\0');
    out.push_back('\0');
    Put16(out, cursor ? static_cast<unsigned>(hotX) : 1);
    Put16(out, cursor ? static_cast<unsigned>(hotY) : 32);
    Put32(out, static_cast<std::uint32_t>(images[i].size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const std::string& image : images) out += image;
  return out;
}

}  // namespace zx::resgen
