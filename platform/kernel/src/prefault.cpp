// Fresh memory brought in ahead of its writing, in one call to the system where it allows,
// and huge pages asked for it.
#include "zx/prefault.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace zx {
namespace {

// The whole pages of `page` bytes (a power of two) within [start, start + bytes): their first
// address and the one after them, the same when there is none.
struct WholePages {
  WholePages(void* start, std::size_t bytes, std::uintptr_t page)
      : first((reinterpret_cast<std::uintptr_t>(start) + page - 1) & ~(page - 1)),
        end(std::max(first, (reinterpret_cast<std::uintptr_t>(start) + bytes) & ~(page - 1))) {}
  std::uintptr_t first, end;
};

}  // namespace

void PrefaultForWriting(void* start, std::size_t bytes) {
  static const std::uintptr_t page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto [first, end] = WholePages(start, bytes, page);
  if (end == first) return;
  if (madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE) == 0) return;
  // An older system: each page is written with what it holds.
  for (std::uintptr_t p = first; p < end; p += page) {
    volatile unsigned char* const byte = reinterpret_cast<volatile unsigned char*>(p);
    *byte = *byte;
  }
}

void AdviseHugePages(void* start, std::size_t bytes) {
  const auto [first, end] = WholePages(start, bytes, std::uintptr_t{2} << 20);
  if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

}  // namespace zx
