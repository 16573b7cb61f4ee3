// Version resources: building the VS_VERSIONINFO block and reading its nested blocks.
#include <cstring>

#include "zx/versionresource.h"

namespace zx::version {
namespace {

std::size_t Align4(std::size_t n) { return (n + 3) & ~std::size_t{3}; }

void PutWord(std::vector<BYTE>& out, std::size_t at, WORD value) {
  out[at] = static_cast<BYTE>(value);
  out[at + 1] = static_cast<BYTE>(value >> 8);
}

// Appends a block and answers its start; the caller appends its children, then closes it.
std::size_t OpenBlock(std::vector<BYTE>& out, std::u16string_view key, WORD type,
                      const void* value, std::size_t valueBytes, WORD valueLength) {
  out.resize(Align4(out.size()));
  const std::size_t start = out.size();
  out.resize(start + 6);
  PutWord(out, start + 2, valueLength);
  PutWord(out, start + 4, type);
  for (char16_t c : key) {
    out.push_back(static_cast<BYTE>(c));
    out.push_back(static_cast<BYTE>(c >> 8));
  }
  out.push_back(0);
  out.push_back(0);
  if (valueBytes != 0) {
    out.resize(Align4(out.size()));
    const BYTE* bytes = static_cast<const BYTE*>(value);
    out.insert(out.end(), bytes, bytes + valueBytes);
  }
  return start;
}

void CloseBlock(std::vector<BYTE>& out, std::size_t start) {
  PutWord(out, start, static_cast<WORD>(out.size() - start));
}

WORD GetWord(std::span<const BYTE> data, std::size_t at) {
  return static_cast<WORD>(data[at] | data[at + 1] << 8);
}

std::u16string HexWord(WORD value) {
  std::u16string text;
  for (int shift = 12; shift >= 0; shift -= 4) text += u"0123456789abcdef"[value >> shift & 0xF];
  return text;
}

}  // namespace

std::vector<BYTE> BuildVersionResource(const VersionInfo& info) {
  VS_FIXEDFILEINFO fixed{};
  fixed.dwSignature = VS_FFI_SIGNATURE;
  fixed.dwStrucVersion = VS_FFI_STRUCVERSION;
  fixed.dwFileVersionMS = static_cast<DWORD>(info.fileVersion >> 32);
  fixed.dwFileVersionLS = static_cast<DWORD>(info.fileVersion);
  fixed.dwProductVersionMS = static_cast<DWORD>(info.productVersion >> 32);
  fixed.dwProductVersionLS = static_cast<DWORD>(info.productVersion);
  fixed.dwFileFlagsMask = VS_FFI_FILEFLAGSMASK;
  fixed.dwFileOS = VOS_NT_WINDOWS32;
  fixed.dwFileType = info.fileType;
  fixed.dwFileSubtype = info.fileSubtype;

  std::vector<BYTE> out;
  const std::size_t root = OpenBlock(out, u"VS_VERSION_INFO", 0, &fixed, sizeof fixed, sizeof fixed);
  const std::size_t strings = OpenBlock(out, u"StringFileInfo", 1, nullptr, 0, 0);
  std::vector<VersionTable> tables{{info.language, info.codePage, info.strings}};
  tables.insert(tables.end(), info.moreTables.begin(), info.moreTables.end());
  std::vector<DWORD> translations;
  for (const VersionTable& entries : tables) {
    const std::size_t table = OpenBlock(out, HexWord(entries.language) + HexWord(entries.codePage), 1, nullptr, 0, 0);
    for (const VersionString& entry : entries.strings) {
      const std::size_t chars = entry.value.size() + 1;
      const std::size_t at = OpenBlock(out, entry.name, 1, entry.value.c_str(), chars * sizeof(char16_t),
                                       static_cast<WORD>(chars));
      CloseBlock(out, at);
    }
    CloseBlock(out, table);
    translations.push_back(entries.language | static_cast<DWORD>(entries.codePage) << 16);
  }
  CloseBlock(out, strings);
  const std::size_t vars = OpenBlock(out, u"VarFileInfo", 1, nullptr, 0, 0);
  const std::size_t bytes = translations.size() * sizeof(DWORD);
  CloseBlock(out, OpenBlock(out, u"Translation", 0, translations.data(), bytes, static_cast<WORD>(bytes)));
  CloseBlock(out, vars);
  CloseBlock(out, root);
  return out;
}

bool ReadBlock(std::span<const BYTE> data, std::size_t offset, std::size_t limit, VersionBlock& block) {
  limit = std::min(limit, data.size());
  if (offset + 6 > limit) return false;
  const std::size_t length = GetWord(data, offset);
  if (length < 6 || offset + length > limit) return false;
  block = VersionBlock{};
  block.end = offset + length;
  block.valueLength = GetWord(data, offset + 2);
  block.type = GetWord(data, offset + 4);
  std::size_t at = offset + 6;
  while (true) {
    if (at + 2 > block.end) return false;
    const char16_t c = static_cast<char16_t>(GetWord(data, at));
    at += 2;
    if (c == 0) break;
    block.key += c;
  }
  block.valueOffset = std::min(Align4(at), block.end);
  const std::size_t valueBytes = block.type == 1 ? std::size_t{block.valueLength} * 2 : block.valueLength;
  block.valueSize = std::min(valueBytes, block.end - block.valueOffset);
  block.childrenOffset = std::min(Align4(block.valueOffset + block.valueSize), block.end);
  return true;
}

}  // namespace zx::version
