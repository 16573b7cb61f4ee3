// Image file encoders.
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

std::string EncodeBmp(const Image& image) {
  const int stride = (image.width * 3 + 3) & ~3;
  const std::uint32_t imageSize = static_cast<std::uint32_t>(stride) * image.height;
  std::string out = "BM";
  Put32(out, 14 + 40 + imageSize);
  Put32(out, 0);
  Put32(out, 14 + 40);
  InfoHeader(out, image.width, image.height, 24, imageSize);
  for (int y = image.height - 1; y >= 0; --y) {  // bottom-up
    std::string row;
    for (int x = 0; x < image.width; ++x) {
      const std::uint32_t p = image.At(x, y);
      row.push_back(static_cast<char>(p & 0xFF));
      row.push_back(static_cast<char>((p >> 8) & 0xFF));
      row.push_back(static_cast<char>((p >> 16) & 0xFF));
    }
    row.resize(static_cast<std::size_t>(stride), '\0');
    out += row;
  }
  return out;
}

std::string EncodePng(const Image& image) {
  std::string raw;
  for (int y = 0; y < image.height; ++y) {
    raw.push_back('\0');  // no filter
    for (int x = 0; x < image.width; ++x) {
      const std::uint32_t p = image.At(x, y);
      for (int shift : {16, 8, 0, 24}) raw.push_back(static_cast<char>((p >> shift) & 0xFF));
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()), 9) != Z_OK)
    throw std::runtime_error("the image does not compress");
  packed.resize(packedSize);
  std::string header;
  PutBig32(header, static_cast<std::uint32_t>(image.width));
  PutBig32(header, static_cast<std::uint32_t>(image.height));
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no filter, no interlace
  std::string out("\x89PNG\r\n\x1A\n", 8);
  Chunk(out, "IHDR", header);
  Chunk(out, "IDAT", packed);
  Chunk(out, "IEND", "");
  return out;
}

std::string EncodeIcon(const std::vector<Image>& images, bool cursor, int hotX, int hotY) {
  std::vector<std::string> entries;
  for (const Image& s : images) {
    const int maskStride = ((s.width + 31) / 32) * 4;
    std::string entry;
    InfoHeader(entry, s.width, s.height * 2, 32,
               static_cast<std::uint32_t>(s.width * 4 * s.height + maskStride * s.height));
    std::string mask;
    for (int y = s.height - 1; y >= 0; --y) {  // bottom-up, colour then mask
      std::string maskRow(static_cast<std::size_t>(maskStride), '\0');
      for (int x = 0; x < s.width; ++x) {
        const std::uint32_t p = s.At(x, y);
        Put32(entry, p);
        if ((p >> 24) == 0) maskRow[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
      }
      mask += maskRow;
    }
    entries.push_back(entry + mask);
  }
  std::string out;
  Put16(out, 0);
  Put16(out, cursor ? 2 : 1);
  Put16(out, static_cast<unsigned>(images.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    out.push_back(static_cast<char>(images[i].width >= 256 ? 0 : images[i].width));
    out.push_back(static_cast<char>(images[i].height >= 256 ? 0 : images[i].height));
    out.push_back('\0');
    out.push_back('\0');
    Put16(out, cursor ? static_cast<unsigned>(hotX) : 1);
    Put16(out, cursor ? static_cast<unsigned>(hotY) : 32);
    Put32(out, static_cast<std::uint32_t>(entries[i].size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(entries[i].size());
  }
  for (const std::string& entry : entries) out += entry;
  return out;
}

}  // namespace zx::resgen
