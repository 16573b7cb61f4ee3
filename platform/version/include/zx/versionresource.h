// Version resources and the PE images that carry them. Platform-internal: the version API
// reads them; the machine's seeding writes driver files with them.
//
// A version resource is Windows' VS_VERSIONINFO block: nested blocks of (WORD length, WORD
// value length, WORD type, key text, value, children), each on a 32-bit boundary; the root
// "VS_VERSION_INFO" holds a VS_FIXEDFILEINFO, then "StringFileInfo" with one string table
// per translation ("040904b0") and "VarFileInfo" with "Translation".
#pragma once
#include <span>
#include <string>
#include <vector>

#include "winver.h"

namespace zx::version {

struct VersionString {
  std::u16string name;   // "CompanyName"
  std::u16string value;
};

// A string table of a further translation.
struct VersionTable {
  WORD language = 0;
  WORD codePage = 1200;
  std::vector<VersionString> strings;
};

struct VersionInfo {
  ULONGLONG fileVersion = 0;     // four 16-bit parts, the most significant first
  ULONGLONG productVersion = 0;
  DWORD fileType = VFT_APP;
  DWORD fileSubtype = 0;
  WORD language = 0x0409;
  WORD codePage = 1200;
  std::vector<VersionString> strings;
  // Tables of further translations, written after the first, each named in "Translation"
  // in this order.
  std::vector<VersionTable> moreTables;
};

std::vector<BYTE> BuildVersionResource(const VersionInfo& info);
// A PE32+ image without code whose resource section holds the version resource.
std::vector<BYTE> BuildResourceImage(std::span<const BYTE> versionResource);
// The version resource of a PE image (32- or 64-bit); false when there is none or the
// image is damaged. The answer points into image.
bool FindVersionResource(std::span<const BYTE> image, std::span<const BYTE>& resource);

// One block of a version resource, as VerQueryValue walks it.
struct VersionBlock {
  std::u16string key;
  WORD type = 0;          // 1 text, 0 binary
  std::size_t valueOffset = 0;
  std::size_t valueSize = 0;  // bytes
  WORD valueLength = 0;   // as stored: characters for text, bytes for binary
  std::size_t childrenOffset = 0;
  std::size_t end = 0;
};
// Reads the block at offset (within limit); false when it does not fit.
bool ReadBlock(std::span<const BYTE> data, std::size_t offset, std::size_t limit, VersionBlock& block);

}  // namespace zx::version
