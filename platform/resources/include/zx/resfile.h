// The resource file of a module: one file beside the module ("zephrinkxhelper.so" ->
// "zephrinkxhelper.res", program "zephrinkx" -> "zephrinkx.res") holding all its resources,
// each in the binary layout Windows gives it (dialog templates, menus, string blocks,
// version records, packed DIBs, icon directories ...). Written by the resource compiler,
// read whole and checked before any resource is handed out.
//
// Layout, little-endian:
//   header, 32 bytes:
//     0  "ZXRS"            4  u16 format version (1)     6  u16 header size (32)
//     8  u32 entry count   12 u32 file size              16 u32 CRC-32 of bytes 32..end
//     20 u32 name pool offset                             24 u32 name pool size
//     28 u32 zero
//   entries, 24 bytes each, from offset 32, sorted by type, name and language:
//     0  u32 type   4  u32 name   (below 0x10000: a number; 0x80000000 | n: the name at
//                                  byte n of the name pool)
//     8  u16 language   10 u16 zero   12 u32 data offset (a multiple of 8)
//     16 u32 data size  20 u32 zero
//   name pool: each name a u16 count of UTF-16 units and the units (upper case), names
//   4-byte aligned;
//   data: each resource's bytes at its offset, zero padding between.
// A file is refused whole when any of this does not hold, or when a dialog template, menu,
// string block, version record or icon directory inside it is malformed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "wintypes.h"

namespace zx::res {

inline constexpr char kMagic[4] = {'Z', 'X', 'R', 'S'};
inline constexpr std::uint16_t kFormatVersion = 1;
inline constexpr std::uint32_t kHeaderSize = 32;
inline constexpr std::uint32_t kEntrySize = 24;
inline constexpr std::uint32_t kNameFlag = 0x80000000u;
inline constexpr WORD kDefaultLanguage = 0x0409;

// A resource type or name: a 16-bit number or a text (upper case in a file).
struct ResourceId {
  bool isNumber = true;
  WORD number = 0;
  std::u16string name;
  static ResourceId Number(WORD n) { return {true, n, {}}; }
  static ResourceId Name(std::u16string text) { return {false, 0, std::move(text)}; }
  bool operator==(const ResourceId& other) const {
    return isNumber == other.isNumber && (isNumber ? number == other.number : name == other.name);
  }
  bool operator<(const ResourceId& other) const;
};

// One resource as the compiler hands it to the writer.
struct ResourceInput {
  ResourceId type;
  ResourceId name;
  WORD language = kDefaultLanguage;
  std::vector<BYTE> data;
};

// The bytes of a resource file for these resources (names upper-cased by the caller).
// False with a message when two resources share type, name and language.
bool WriteResourceFile(std::vector<ResourceInput> resources, std::vector<BYTE>& file,
                       std::string& error);

// Sets the header's file size and checksum for the bytes as they are (the writer's last step;
// tests and fuzzing use it to reach the checks behind the checksum).
void SealResourceFile(std::vector<BYTE>& file);

class ResourceFile {
 public:
  struct Resource {
    ResourceId type;
    ResourceId name;
    WORD language;
    const BYTE* data;  // inside the file's bytes, 8-byte aligned
    DWORD size;
  };

  // Checks the bytes whole (layout, checksum, every template); null with a message that
  // says what is wrong.
  static std::shared_ptr<const ResourceFile> Parse(std::vector<BYTE> bytes, std::string& error);

  // The resource of that type and name: of the language when one is asked for (non-zero),
  // else neutral, then US English, then any. Null when there is none.
  const Resource* Find(const ResourceId& type, const ResourceId& name, WORD language = 0) const;
  bool HasType(const ResourceId& type) const;
  const std::vector<Resource>& resources() const { return resources_; }

 private:
  ResourceFile() = default;
  std::unique_ptr<std::uint64_t[]> storage_;  // the file's bytes, 8-byte aligned
  std::vector<Resource> resources_;
};

// Standard resource types, as numbers.
inline constexpr WORD kCursor = 1;
inline constexpr WORD kBitmap = 2;
inline constexpr WORD kIcon = 3;
inline constexpr WORD kMenu = 4;
inline constexpr WORD kDialog = 5;
inline constexpr WORD kString = 6;
inline constexpr WORD kRcData = 10;
inline constexpr WORD kGroupCursor = 12;
inline constexpr WORD kGroupIcon = 14;
inline constexpr WORD kVersion = 16;
inline constexpr WORD kHtml = 23;
inline constexpr WORD kToolbar = 241;

}  // namespace zx::res
