// The directory patches: the end records found, the central directory walked, each 0xFFFFFFFF
// field of a record replaced by its zip64 value, and the method of each entry a decoder of
// ours takes by bzip2's.
#include "ZipDirectoryPatches.h"

#include <algorithm>
#include <cstring>

#include "ZipBzip2Decoder.h"

namespace {

constexpr DWORD kEndSignature = 0x06054b50;
constexpr DWORD kLocatorSignature = 0x07064b50;
constexpr DWORD kEnd64Signature = 0x06064b50;
constexpr DWORD kCentralSignature = 0x02014b50;
constexpr DWORD kMaxU32 = 0xFFFFFFFF;
constexpr unsigned kZip64Block = 0x0001;
constexpr LONGLONG kEndSize = 22, kLocatorSize = 20, kEnd64Size = 56, kCentralSize = 46;
constexpr LONGLONG kMaxCommentScan = 0xFFFF + kEndSize;

ULONGLONG Little(const unsigned char* bytes, int count) {
  ULONGLONG value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

std::string LittleBytes(ULONGLONG value, int count) {
  std::string bytes(static_cast<std::size_t>(count), '\0');
  for (int i = 0; i < count; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
  return bytes;
}

// The offset of the last end record, or -1.
LONGLONG FindEndRecord(const ZipReadAt& read, LONGLONG fileSize) {
  const LONGLONG start = std::max<LONGLONG>(0, fileSize - kMaxCommentScan);
  std::vector<unsigned char> tail(static_cast<std::size_t>(fileSize - start));
  if (tail.size() < kEndSize || !read(start, tail.data(), static_cast<DWORD>(tail.size()))) return -1;
  for (LONGLONG at = static_cast<LONGLONG>(tail.size()) - kEndSize; at >= 0; --at)
    if (Little(&tail[static_cast<std::size_t>(at)], 4) == kEndSignature) return start + at;
  return -1;
}

constexpr int kLocalOffsetField = 42;

// Patches of one central record's 0xFFFFFFFF fields from its zip64 extra block; answers the
// offset of the entry's local header as the archive records it.
ULONGLONG PatchRecord(const unsigned char* record, LONGLONG recordOffset, const unsigned char* extra,
                      std::size_t extraLength, std::vector<ZipBytePatch>& patches) {
  // The zip64 block holds, in this order, each of these fields that is 0xFFFFFFFF.
  const int fieldOffsets[] = {24, 20, kLocalOffsetField};  // uncompressed size, compressed size, local header
  ULONGLONG localOffset = Little(record + kLocalOffsetField, 4);
  std::size_t at = 0;
  while (at + 4 <= extraLength) {
    const unsigned id = static_cast<unsigned>(Little(extra + at, 2));
    const std::size_t size = static_cast<std::size_t>(Little(extra + at + 2, 2));
    const unsigned char* data = extra + at + 4;
    at += 4 + size;
    if (at > extraLength) break;
    if (id != kZip64Block) continue;
    std::size_t used = 0;
    for (int field : fieldOffsets) {
      if (Little(record + field, 4) != kMaxU32) continue;
      if (used + 8 > size) break;
      const ULONGLONG value = Little(data + used, 8);
      used += 8;
      if (field == kLocalOffsetField) localOffset = value;
      if (value < kMaxU32) patches.push_back({recordOffset + field, LittleBytes(value, 4)});
    }
    break;
  }
  return localOffset;
}

// Shows an entry of a method a decoder of ours takes as bzip2 in its central record and its
// local header, and keeps its own method.
void PatchMethod(const unsigned char* record, LONGLONG recordOffset, LONGLONG localHeader, ULONGLONG index,
                 ZipDirectoryPatches& patches) {
  constexpr int kCentralMethod = 10, kLocalMethod = 8;
  const unsigned method = static_cast<unsigned>(Little(record + kCentralMethod, 2));
  if (method == kZipMethodBzip2 || !ZipEntryDecoderTakes(method)) return;
  patches.methods[index] = method;
  patches.bytes.push_back({recordOffset + kCentralMethod, LittleBytes(kZipMethodBzip2, 2)});
  patches.bytes.push_back({localHeader + kLocalMethod, LittleBytes(kZipMethodBzip2, 2)});
}

}  // namespace

ZipDirectoryPatches FindZipDirectoryPatches(const ZipReadAt& read, LONGLONG fileSize) {
  ZipDirectoryPatches found;
  std::vector<ZipBytePatch>& patches = found.bytes;
  const LONGLONG end = FindEndRecord(read, fileSize);
  unsigned char record[kEnd64Size];
  if (end < 0 || !read(end, record, kEndSize)) return found;
  // The classic end record, or the zip64 one when a locator precedes the classic record.
  ULONGLONG entries = Little(record + 10, 2), directorySize = Little(record + 12, 4);
  ULONGLONG directoryOffset = Little(record + 16, 4);
  LONGLONG directoryEnd = end;
  unsigned char locator[kLocatorSize];
  if (end >= kLocatorSize + kEnd64Size && read(end - kLocatorSize, locator, kLocatorSize) &&
      Little(locator, 4) == kLocatorSignature) {
    // The zip64 end record lies where the locator says, or, with a program in front of the
    // archive, right before the locator.
    LONGLONG end64 = static_cast<LONGLONG>(Little(locator + 8, 8));
    if (end64 < 0 || end64 > end || !read(end64, record, kEnd64Size) || Little(record, 4) != kEnd64Signature) {
      end64 = end - kLocatorSize - kEnd64Size;
      if (!read(end64, record, kEnd64Size) || Little(record, 4) != kEnd64Signature) return found;
      patches.push_back({end - kLocatorSize + 8, LittleBytes(static_cast<ULONGLONG>(end64), 8)});
    }
    entries = Little(record + 32, 8);
    directorySize = Little(record + 40, 8);
    directoryOffset = Little(record + 48, 8);
    directoryEnd = end64;
  }
  // Bytes in front of the archive shift every offset it records.
  const LONGLONG shift = directoryEnd - static_cast<LONGLONG>(directoryOffset + directorySize);
  const LONGLONG at = static_cast<LONGLONG>(directoryOffset) + shift;
  if (shift < 0 || at < 0 || directorySize > static_cast<ULONGLONG>(fileSize)) return found;
  std::vector<unsigned char> directory(static_cast<std::size_t>(directorySize));
  if (!directory.empty() && !read(at, directory.data(), static_cast<DWORD>(directory.size()))) return found;
  std::size_t offset = 0;
  for (ULONGLONG i = 0; i < entries && offset + kCentralSize <= directory.size(); ++i) {
    const unsigned char* central = &directory[offset];
    if (Little(central, 4) != kCentralSignature) break;
    const std::size_t nameLength = static_cast<std::size_t>(Little(central + 28, 2));
    const std::size_t extraLength = static_cast<std::size_t>(Little(central + 30, 2));
    const std::size_t commentLength = static_cast<std::size_t>(Little(central + 32, 2));
    const std::size_t extraAt = offset + kCentralSize + nameLength;
    if (extraAt + extraLength > directory.size()) break;
    const LONGLONG recordOffset = at + static_cast<LONGLONG>(offset);
    const ULONGLONG localHeader = PatchRecord(central, recordOffset, &directory[extraAt], extraLength, patches);
    if (localHeader <= static_cast<ULONGLONG>(fileSize))
      PatchMethod(central, recordOffset, static_cast<LONGLONG>(localHeader) + shift, i, found);
    offset = extraAt + extraLength + commentLength;
  }
  return found;
}

void ApplyZipPatches(const std::vector<ZipBytePatch>& patches, LONGLONG offset, char* bytes, std::size_t count) {
  const LONGLONG last = offset + static_cast<LONGLONG>(count);
  for (const ZipBytePatch& patch : patches) {
    const LONGLONG patchEnd = patch.offset + static_cast<LONGLONG>(patch.bytes.size());
    const LONGLONG from = std::max(offset, patch.offset), to = std::min(last, patchEnd);
    if (from >= to) continue;
    std::memcpy(bytes + (from - offset), patch.bytes.data() + (from - patch.offset), static_cast<std::size_t>(to - from));
  }
}
