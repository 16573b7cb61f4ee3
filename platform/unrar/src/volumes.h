// The volumes of a RAR set and the packed size of each entry, read from the archive headers
// (libarchive gives neither the volume names nor packed sizes).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zx::unrar {

// The host paths of the set that starts with `first`: "x.partN.rar" goes on with the
// following numbers of the same width, "x.rar" with "x.r00", "x.r01", ...; each while the
// file exists. A single archive is a set of one.
std::vector<std::string> VolumeNames(const std::string& first);

// What the archive headers of a set tell.
struct SetHeaders {
  std::vector<std::uint64_t> packedSizes;  // of each entry, the parts of a split entry added up
  bool incomplete = false;                 // the last volume says another one follows
};

// Walks the headers of every volume; false when they cannot be walked (damaged or encrypted).
bool ReadSetHeaders(const std::vector<std::string>& volumes, SetHeaders& headers);

}  // namespace zx::unrar
