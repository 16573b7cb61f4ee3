// PE images as carriers of a version resource: finding RT_VERSION in the resource section
// of an image, and building a code-less PE32+ image around one.
#include <cstring>

#include "zx/versionresource.h"

namespace zx::version {
namespace {

constexpr DWORD kResourceTypeVersion = 16;
constexpr DWORD kSubdirectory = 0x80000000u;
constexpr std::size_t kMaxEntries = 4096;

class Reader {
 public:
  explicit Reader(std::span<const BYTE> image) : image_(image) {}
  bool Word(std::size_t at, WORD& value) const {
    if (at > image_.size() || image_.size() - at < 2) return false;
    value = static_cast<WORD>(image_[at] | image_[at + 1] << 8);
    return true;
  }
  bool Dword(std::size_t at, DWORD& value) const {
    if (at > image_.size() || image_.size() - at < 4) return false;
    value = static_cast<DWORD>(image_[at]) | static_cast<DWORD>(image_[at + 1]) << 8 |
            static_cast<DWORD>(image_[at + 2]) << 16 | static_cast<DWORD>(image_[at + 3]) << 24;
    return true;
  }

 private:
  std::span<const BYTE> image_;
};

struct Section {
  DWORD virtualAddress, virtualSize, rawSize, rawOffset;
};

// Maps an address range of the loaded image to file offsets.
bool ToFileOffset(const std::vector<Section>& sections, std::size_t imageSize, DWORD rva,
                  std::size_t length, std::size_t& offset) {
  for (const Section& s : sections) {
    const std::uint64_t extent = std::max(s.virtualSize, s.rawSize);
    if (rva < s.virtualAddress || rva - s.virtualAddress >= extent) continue;
    const std::uint64_t within = rva - s.virtualAddress;
    if (within + length > s.rawSize) return false;
    const std::uint64_t at = std::uint64_t{s.rawOffset} + within;
    if (at + length > imageSize) return false;
    offset = static_cast<std::size_t>(at);
    return true;
  }
  return false;
}

// The entry of a resource directory (at file offset `dir`) with the id wanted, or the first
// entry when `wanted` is negative; its OffsetToData.
bool FindEntry(const Reader& read, std::size_t dir, long wanted, DWORD& target) {
  WORD named = 0, ids = 0;
  if (!read.Word(dir + 12, named) || !read.Word(dir + 14, ids)) return false;
  const std::size_t count = std::size_t{named} + ids;
  if (count == 0 || count > kMaxEntries) return false;
  for (std::size_t i = 0; i < count; ++i) {
    DWORD name = 0, data = 0;
    if (!read.Dword(dir + 16 + i * 8, name) || !read.Dword(dir + 20 + i * 8, data)) return false;
    if (wanted < 0 || ((name & kSubdirectory) == 0 && name == static_cast<DWORD>(wanted))) {
      target = data;
      return true;
    }
  }
  return false;
}

void Put16(std::vector<BYTE>& out, std::size_t at, WORD v) {
  out[at] = static_cast<BYTE>(v);
  out[at + 1] = static_cast<BYTE>(v >> 8);
}
void Put32(std::vector<BYTE>& out, std::size_t at, DWORD v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<BYTE>(v >> (8 * i));
}

}  // namespace

bool FindVersionResource(std::span<const BYTE> image, std::span<const BYTE>& resource) {
  const Reader read(image);
  DWORD peOffset = 0, signature = 0;
  if (image.size() < 64 || image[0] != 'M' || image[1] != 'Z' || !read.Dword(0x3C, peOffset) ||
      !read.Dword(peOffset, signature) || signature != 0x00004550u)
    return false;
  const std::size_t coff = std::size_t{peOffset} + 4;
  WORD sectionCount = 0, optionalSize = 0, magic = 0;
  if (!read.Word(coff + 2, sectionCount) || !read.Word(coff + 16, optionalSize)) return false;
  const std::size_t optional = coff + 20;
  if (!read.Word(optional, magic) || (magic != 0x10B && magic != 0x20B)) return false;
  const std::size_t directories = magic == 0x10B ? 96 : 112;
  DWORD directoryCount = 0, resourceRva = 0, resourceSize = 0;
  if (!read.Dword(optional + directories - 4, directoryCount) || directoryCount < 3 ||
      directories + 3 * 8 > optionalSize || !read.Dword(optional + directories + 16, resourceRva) ||
      !read.Dword(optional + directories + 20, resourceSize) || resourceRva == 0)
    return false;

  std::vector<Section> sections;
  const std::size_t table = optional + optionalSize;
  for (std::size_t i = 0; i < sectionCount; ++i) {
    Section s{};
    const std::size_t at = table + i * 40;
    if (!read.Dword(at + 8, s.virtualSize) || !read.Dword(at + 12, s.virtualAddress) ||
        !read.Dword(at + 16, s.rawSize) || !read.Dword(at + 20, s.rawOffset))
      return false;
    sections.push_back(s);
  }
  std::size_t root = 0;
  if (!ToFileOffset(sections, image.size(), resourceRva, 16, root)) return false;
  // Type 16, then its first name, then that one's first language: two directories and a
  // data entry, each inside the resource section.
  const auto descend = [&](DWORD entry, std::size_t& offset) {
    const DWORD within = entry & ~kSubdirectory;
    return within < resourceSize &&
           ToFileOffset(sections, image.size(), resourceRva + within, 16, offset);
  };
  DWORD entry = 0;
  std::size_t at = root;
  if (!FindEntry(read, at, kResourceTypeVersion, entry) || (entry & kSubdirectory) == 0 ||
      !descend(entry, at) || !FindEntry(read, at, -1, entry) || (entry & kSubdirectory) == 0 ||
      !descend(entry, at) || !FindEntry(read, at, -1, entry) || (entry & kSubdirectory) != 0 ||
      !descend(entry, at))
    return false;
  DWORD dataRva = 0, dataSize = 0;
  std::size_t data = 0;
  if (!read.Dword(at, dataRva) || !read.Dword(at + 4, dataSize) ||
      !ToFileOffset(sections, image.size(), dataRva, dataSize, data))
    return false;
  resource = image.subspan(data, dataSize);
  return true;
}

std::vector<BYTE> BuildResourceImage(std::span<const BYTE> versionResource) {
  constexpr std::size_t kHeaders = 0x200, kSectionRva = 0x1000, kDirectories = 88;
  const std::size_t rawSize = (kDirectories + versionResource.size() + 0x1FF) & ~std::size_t{0x1FF};
  std::vector<BYTE> out(kHeaders + rawSize, 0);
  out[0] = 'M';
  out[1] = 'Z';
  Put32(out, 0x3C, 0x40);
  Put32(out, 0x40, 0x00004550u);  // "PE\0\0"
  const std::size_t coff = 0x44, optional = coff + 20;
  Put16(out, coff, 0x8664);       // x64
  Put16(out, coff + 2, 1);        // one section
  Put16(out, coff + 16, 240);     // optional header size
  Put16(out, coff + 18, 0x0022);  // executable, large addresses
  Put16(out, optional, 0x20B);    // PE32+
  Put32(out, optional + 32, 0x1000);
  Put32(out, optional + 36, 0x200);
  Put16(out, optional + 40, 6);
  Put16(out, optional + 48, 6);
  Put32(out, optional + 56, static_cast<DWORD>(kSectionRva + ((rawSize + 0xFFF) & ~std::size_t{0xFFF})));
  Put32(out, optional + 60, kHeaders);
  Put16(out, optional + 68, 1);  // native
  Put32(out, optional + 108, 16);
  Put32(out, optional + 112 + 16, kSectionRva);
  Put32(out, optional + 112 + 20, static_cast<DWORD>(kDirectories + versionResource.size()));
  const std::size_t section = optional + 240;
  std::memcpy(&out[section], ".rsrc", 5);
  Put32(out, section + 8, static_cast<DWORD>(kDirectories + versionResource.size()));
  Put32(out, section + 12, kSectionRva);
  Put32(out, section + 16, static_cast<DWORD>(rawSize));
  Put32(out, section + 20, kHeaders);
  Put32(out, section + 36, 0x40000040u);  // initialised data, readable
  // Three directories of one entry each (type 16, name 1, language 0x409), then the data
  // entry and the resource itself.
  const std::size_t base = kHeaders;
  Put16(out, base + 14, 1);
  Put32(out, base + 16, kResourceTypeVersion);
  Put32(out, base + 20, kSubdirectory | 24);
  Put16(out, base + 24 + 14, 1);
  Put32(out, base + 24 + 16, 1);
  Put32(out, base + 24 + 20, kSubdirectory | 48);
  Put16(out, base + 48 + 14, 1);
  Put32(out, base + 48 + 16, 0x409);
  Put32(out, base + 48 + 20, 72);
  Put32(out, base + 72, static_cast<DWORD>(kSectionRva + kDirectories));
  Put32(out, base + 76, static_cast<DWORD>(versionResource.size()));
  std::memcpy(&out[base + kDirectories], versionResource.data(), versionResource.size());
  return out;
}

}  // namespace zx::version
