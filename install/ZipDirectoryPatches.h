// Zip64 records made readable for the zip reader underneath the wrapper, which does not take
// the 64-bit sizes and offsets of an entry's zip64 extra block on this platform, nor finds
// the zip64 end record of an archive that has a program in front of it. The archive's
// directory is walked once at open, and the bytes the reader would misread are replaced,
// as it reads them, by what they stand for: a classic size or offset of 0xFFFFFFFF by the
// 64-bit value of the extra block (when that fits in 32 bits), the zip64 locator's offset
// by where the zip64 end record really lies. The reader also refuses entries of methods it
// does not decode even when asked for their raw bytes; an entry of a method a decoder of ours
// takes is shown to it, in its central record and its local header, as bzip2, which it hands
// over raw, and its own method is kept beside.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

struct ZipBytePatch {
  LONGLONG offset;
  std::string bytes;
};

// Reads `size` bytes at `offset`; false when they cannot all be read.
using ZipReadAt = std::function<bool(LONGLONG offset, void* buffer, DWORD size)>;

struct ZipDirectoryPatches {
  std::vector<ZipBytePatch> bytes;
  std::map<ULONGLONG, unsigned> methods;  // an entry's index to its own method where it shows as bzip2
};

// The patches of the archive (none for an archive without zip64 records or such entries, or
// not readable).
ZipDirectoryPatches FindZipDirectoryPatches(const ZipReadAt& read, LONGLONG fileSize);

// Lays the patches over `count` bytes read at `offset`.
void ApplyZipPatches(const std::vector<ZipBytePatch>& patches, LONGLONG offset, char* bytes, std::size_t count);
