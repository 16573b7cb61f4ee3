// The restore point records of the machine root, <root>/restore/points.txt: one line per
// point, "<sequence>\t<state>\t<type>\t<creation FILETIME>\t<description UTF-8>", state
// "begun" or "complete"; control characters of a description are kept as blanks. Written
// whole (temporary file, rename) under a file lock, so processes never lose each other's
// points. Platform-internal; tests read the list here.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "wintypes.h"

namespace zx::restore {

struct RestorePoint {
  std::int64_t sequence = 0;
  bool complete = false;
  DWORD type = 0;
  std::uint64_t created = 0;  // FILETIME value (UTC) on the layer's clock
  std::u16string description;
};

// The points in sequence order; lines that cannot be read are dropped.
std::vector<RestorePoint> ListRestorePoints();

}  // namespace zx::restore
